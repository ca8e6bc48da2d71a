// The byte loop of the payload scanner. The signature is matched byte by byte; a
// mismatch restarts matching at the next byte, and matched bytes stay pending until
// the match breaks (written), completes (dropped: the next chunk starts with the
// whole signature) or the image ends (written).
#include "engine/scanner.h"

#include <cstring>

#include "engine/messages.h"
#include "engine/payload.h"
#include "placement/overwrite_guard.h"
#include "placement/place_file.h"
#include "placement/settings_takeover.h"
#include "platform/rtl.h"
#include "ui/progress.h"

namespace {

const char* const kExtractionProblem =
    "There seems to be a problem extracting files from the installation file.\n\n"
    "Please try running the installation program again!";
const char* const kExtractionCaption = "Vorn Installation Error [11]";

void CloseImage() {
  if (installState.imageStream != nullptr) {
    std::fclose(installState.imageStream);
    installState.imageStream = nullptr;
  }
}

void WritePendingSignature() {
  std::fwrite(installState.signature, 1, static_cast<std::size_t>(installState.matchPos), installState.tempStream);
}

// A write to the temporary file that failed (a full disk, say) would show up in
// placement as a corrupt stream; it is reported here for what it is instead.
StepResult ReportExtractionProblem() {
  RollbackInstall();
  ShowInstallError(kExtractionProblem, kExtractionCaption);
  return Fatal;
}

// Closes the collected stream and places it; the temporary file is deleted
// whatever placement answers.
StepResult PlaceCollectedStream() {
  const bool written = std::ferror(installState.tempStream) == 0;
  const bool closed = std::fclose(installState.tempStream) == 0;
  installState.tempStream = nullptr;
  if (!written || !closed) return ReportExtractionProblem();
  const StepResult placed = PlaceFile(installState.tempPath);
  DeleteWithRetry(installState.tempPath);
  return placed;
}

// The temporary directory and "vorn.tmp"; "c:\vorn.tmp" when the system names no
// directory, or one too long for the name to fit.
void ChooseTempPath() {
  char* tempPath = installState.tempPath;
  const DWORD length = GetTempPathA(kTextBuffer, tempPath);
  const char* const name = "vorn.tmp";
  if (length == 0 || length >= static_cast<DWORD>(kTextBuffer) ||
      std::strlen(tempPath) + std::strlen(name) >= static_cast<std::size_t>(kTextBuffer)) {
    std::strcpy(tempPath, "c:\\vorn.tmp");
  } else {
    std::strcat(tempPath, name);
  }
}

StepResult AtStreamBoundary() {
  if (installState.tempStream != nullptr) {
    const StepResult placed = PlaceCollectedStream();
    if (placed != Done) {
      CloseImage();
      return placed;
    }
  }
  ShowFileStatus();
  ChooseTempPath();
  installState.tempStream = rtl::create_exclusive(installState.tempPath);
  if (installState.tempStream == nullptr) {
    ShowInstallError(kExtractionProblem, kExtractionCaption);
    CloseImage();
    return Fatal;
  }
  std::fwrite(installState.signature, 1, 4, installState.tempStream);
  installState.matchPos = 0;
  return Continue;
}

StepResult AtEndOfImage() {
  PaintProgress(nullptr, installState.imageStream);
  CloseImage();
  if (installState.tempStream != nullptr) {
    WritePendingSignature();
    const StepResult placed = PlaceCollectedStream();
    if (placed != Done) return placed;
  }
  if (installState.checksum == EXPECTED_CHECKSUM) {
    CompleteSettingsTakeover();
    DiscardSetAside();
    return Done;
  }
  RollbackInstall();
  ShowInstallError(
      "The installation file seems to be corrupt!\n\n"
      "Please try running the installation program again or download a new version!",
      "Vorn Installation Error [13]");
  return Fatal;
}

}  // namespace

StepResult ScanSlice() {
  InstallState& s = installState;
  for (;;) {
    const int c = std::fgetc(s.imageStream);
    if (c == EOF) {
      // A read error is not the end of the image: nothing read after it can be trusted.
      if (std::ferror(s.imageStream)) return ReportExtractionProblem();
      return AtEndOfImage();
    }
    const unsigned char byte = static_cast<unsigned char>(c);
    if (s.tempStream != nullptr) AddToChecksum(&s.checksum, &s.weight, byte);

    if (byte == static_cast<unsigned char>(s.signature[s.matchPos])) {
      s.matchPos += 1;
      if (s.matchPos == 4) {
        const StepResult boundary = AtStreamBoundary();
        if (boundary != Continue) return boundary;
      }
    } else {
      if (s.tempStream != nullptr) {
        WritePendingSignature();
        std::fputc(byte, s.tempStream);
      }
      s.matchPos = 0;
    }

    s.sliceCount += 1;
    if (s.sliceCount > kSliceLimit) {
      PaintProgress(nullptr, s.imageStream);
      s.sliceCount = 0;
      return Continue;
    }
  }
}
