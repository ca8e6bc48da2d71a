// The existing-file policy. The main settings file has one more rule: a "vorn.ini"
// in the Windows directory is moved into the destination before the decision, and
// the destination's own earlier one is parked as "vorn.$$$", ending up as
// "vorn2.ini" in the backup directory.
#include "placement/existing_file_policy.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "engine/messages.h"
#include "engine/path_pieces.h"
#include "placement/place_file.h"
#include "placement/settings_takeover.h"
#include "platform/rtl.h"

namespace {

// Paths formed here are destination paths and backup targets; every one must fit a
// path buffer, else the operation that needs it fails as if the file system had
// refused it.
constexpr int kPathBuffer = kManifestPathBuffer;

const char* const kBackupProblem =
    "There seems to be a problem backing up your original files.\n\n"
    "Please try installing to a different directory!";

// Joins the pieces into a path buffer; false when they do not fit.
bool Compose(char* out, std::initializer_list<const char*> pieces) {
  std::size_t length = 0;
  for (const char* piece : pieces) length += std::strlen(piece);
  if (length >= static_cast<std::size_t>(kPathBuffer)) return false;
  out[0] = '\0';
  for (const char* piece : pieces) std::strcat(out, piece);
  return true;
}

// Step 1: takes over a "vorn.ini" of the Windows directory, parking the
// destination's own first. Returns false when the copy failed (rolled back and shown).
bool TakeOverWindowsSettings(const char* destination, char* parkedPath) {
  char windowsDir[kTextBuffer];
  const UINT length = GetWindowsDirectoryA(windowsDir, kTextBuffer);
  if (length == 0 || length >= static_cast<UINT>(kTextBuffer)) return true;
  char windowsSettings[kPathBuffer];
  if (!Compose(windowsSettings, {windowsDir, "\\vorn.ini"})) return true;
  if (!rtl::exists(windowsSettings) || SettingsTakenOver(windowsSettings)) return true;

  if (rtl::exists(destination)) {
    SplitIntoPathPieces(destination);
    Compose(parkedPath, {pathPieces.drive, pathPieces.dir, "vorn.$$$"});
    rtl::remove_file(parkedPath);
    rtl::rename_file(destination, parkedPath);
  }
  if (!rtl::exists(destination)) {
    if (!ExpandStream(windowsSettings, destination)) return false;
    TakeOverSettings(windowsSettings);
  }
  return true;
}

// Step 6: the backup directory, made the first time a file is to be moved there.
bool EnsureBackupDirectory() {
  char* backupDir = installState.backupDir;
  if (backupDir[0] != '\0') return true;
  const int n = std::snprintf(backupDir, kTextBuffer, "%s\\backup", installState.destinationDir);
  const bool fits = n >= 0 && n + 1 < kTextBuffer;  // room for the trailing backslash
  if (!fits || (!rtl::exists(backupDir) && rtl::make_dir(backupDir) != 0)) {
    ShowInstallError(
        "There seems to be a problem creating the backup directory.\n\n"
        "Please try installing to a different directory!",
        "Vorn Installation Error [6]");
    return false;
  }
  std::strcat(backupDir, "\\");
  return true;
}

// Step 7.1 to 7.3: moves one file into the backup directory under its own name,
// replacing an older backup of that name.
bool MoveIntoBackup(const char* path) {
  SplitIntoPathPieces(path);
  char name[kPathBuffer];
  char target[kPathBuffer];
  const bool fits = Compose(name, {pathPieces.fname, pathPieces.ext}) && Compose(target, {installState.backupDir, name});
  if (fits) {
    rtl::clear_attributes(target);
    DeleteWithRetry(target);
  }
  if (!fits || rtl::rename_file(path, target) != 0) {
    ShowInstallError(kBackupProblem, "Vorn Installation Error [7]");
    return false;
  }
  return true;
}

// Step 8: the parked file, now "vorn.$$$" in the backup directory, becomes "vorn2.ini".
bool RenameParkedBackup() {
  SplitIntoPathPieces(installState.backupDir);
  char finalName[kPathBuffer];
  char parkedBackup[kPathBuffer];
  Compose(finalName, {pathPieces.drive, pathPieces.dir, "vorn2.ini"});
  DeleteWithRetry(finalName);
  Compose(parkedBackup, {pathPieces.drive, pathPieces.dir, "vorn.$$$"});
  if (rtl::rename_file(parkedBackup, finalName) != 0) {
    ShowInstallError(kBackupProblem, "Vorn Installation Error [8]");
    return false;
  }
  return true;
}

}  // namespace

StepResult ResolveExistingFile(const char* destinationPath) {
  InstallState& s = installState;
  char work[kPathBuffer];
  std::strcpy(work, destinationPath);
  StepResult result = Done;
  char parkedPath[kPathBuffer] = "";

  if (std::strstr(destinationPath, "vorn.ini") != nullptr && !TakeOverWindowsSettings(destinationPath, parkedPath)) {
    return BackToSetup;
  }
  if (!rtl::exists(destinationPath)) return result;
  rtl::clear_attributes(destinationPath);

  bool backUp = s.makeBackups != 0;
  if (s.iniDecision != 2 && std::strstr(destinationPath, ".ini") != nullptr) {
    if (s.iniDecision == 1) return Continue;
    const int answer = AskInstallQuestion(
        "The Vorn installation comes with prefab INI files but if I install them you will lose your current Vorn "
        "settings.\n\nWould you like to KEEP your current Vorn settings?",
        kWarningCaption);
    if (answer == IDYES) {
      s.iniDecision = 1;
      if (parkedPath[0] == '\0') return Continue;
      // The kept file stays; only the parked one goes to the backup directory,
      // whatever the backup option says.
      std::strcpy(work, parkedPath);
      result = Continue;
      backUp = true;
    } else {
      s.iniDecision = 2;
    }
  }
  if (!backUp) return result;
  if (!EnsureBackupDirectory()) return BackToSetup;

  for (;;) {
    if (!MoveIntoBackup(work)) return BackToSetup;
    if (parkedPath[0] == '\0') return result;
    if (lstrcmpiA(work, parkedPath) == 0) break;
    std::strcpy(work, parkedPath);
  }
  return RenameParkedBackup() ? result : BackToSetup;
}
