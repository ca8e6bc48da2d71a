// The install state and the small operations on it that the whole run shares:
// reset, manifest paths, the destination, the image, and the rollback.
#include "engine/install_state.h"

#include <cstring>

#include "engine/messages.h"
#include "placement/overwrite_guard.h"
#include "placement/settings_takeover.h"
#include "platform/rtl.h"
#include "shell/installer_app.h"
#include "ui/progress.h"

InstallState installState;

namespace {

// Read through volatile pointers, so that the compiler cannot join the two texts
// into the signature as one constant of the program.
const char* volatile signatureHead = "S";
const char* volatile signatureTail = "ZDD";

}  // namespace

void ResetInstallState() {
  InstallState& s = installState;
  s.imageStream = nullptr;
  s.tempStream = nullptr;
  s.tempPath[0] = '\0';
  s.fileIndex = 0;
  s.progressPixels = 0;
  s.imageSize = 0;
  s.createdDestination = false;
  s.abortRequested = false;
  s.iniDecision = 0;
  s.backupDir[0] = '\0';
  s.checksum = 0;
  s.weight = 1;
  s.matchPos = 0;
  s.sliceCount = 0;
  std::strcpy(s.signature, signatureHead);
  std::strcat(s.signature, signatureTail);
  std::memset(s.wroteEntry, 0, sizeof s.wroteEntry);
  ForgetSettingsTakeover();
}

void ManifestPath(char* out, int index) {
  std::strcpy(out, installState.destinationDir);
  std::strcat(out, "\\");
  if (index >= 0 && index < kManifestEntries) {
    std::strcat(out, InstallManifest[index]);
  } else {
    out[0] = '\0';
  }
}

StepResult PrepareDestination() {
  if (rtl::exists(installState.destinationDir)) return Done;
  if (rtl::make_dir(installState.destinationDir) != 0) {
    ShowInstallError(
        "There seems to be a problem creating the directory you specified.\n\n"
        "Please try using a different directory name!",
        "Vorn Installation Error [1]");
    return BackToSetup;
  }
  installState.createdDestination = true;
  return Done;
}

StepResult OpenInstallImage() {
  char imagePath[900];
  if (GetModuleFileNameA(installerApp.instance, imagePath, 899) == 0) imagePath[0] = '\0';
  installState.imageStream = rtl::open_stream(imagePath, "rb");
  if (installState.imageStream == nullptr) {
    ShowInstallError(
        "There seems to be a problem reading the installation file.\n\n"
        "Please try running the installation program again!",
        "Vorn Installation Error [9]");
    return Fatal;
  }
  SetDlgItemTextA(installerApp.dialogWindow, kStatusLine, "Scanning files...");
  PaintProgress(nullptr, installState.imageStream);
  return Done;
}

std::int32_t MeasureImage(FILE* stream) {
  const long position = std::ftell(stream);
  std::fseek(stream, 0, SEEK_END);
  const long size = std::ftell(stream);
  std::fseek(stream, position, SEEK_SET);
  return static_cast<std::int32_t>(size);
}

void DeleteWithRetry(const char* path) {
  if (rtl::remove_file(path) != 0) rtl::remove_file(path);
}

void RollbackInstall() {
  InstallState& s = installState;
  if (s.tempStream != nullptr) {
    std::fclose(s.tempStream);
    s.tempStream = nullptr;
  }
  if (s.imageStream != nullptr) {
    std::fclose(s.imageStream);
    s.imageStream = nullptr;
  }
  DeleteWithRetry(s.tempPath);

  char path[kManifestPathBuffer];
  // The entry being placed when the run failed may have a partial file: the run
  // opened it for writing, so it is the run's to remove.
  if (s.fileIndex < kManifestEntries && s.wroteEntry[s.fileIndex]) {
    ManifestPath(path, s.fileIndex);
    DeleteWithRetry(path);
    s.wroteEntry[s.fileIndex] = false;
  }
  while (s.fileIndex > 0) {
    s.fileIndex -= 1;
    if (!s.wroteEntry[s.fileIndex]) continue;  // a file the run left in place is not its to delete
    ManifestPath(path, s.fileIndex);
    DeleteWithRetry(path);
    s.wroteEntry[s.fileIndex] = false;
  }
  // The Windows directory's settings file is deleted only once a run succeeds, so
  // after a failure it is still there and the copy above was the run's own.
  ForgetSettingsTakeover();
  RestoreSetAside();

  if (s.createdDestination) {
    rtl::remove_dir(s.destinationDir);
    s.createdDestination = false;
  }
}
