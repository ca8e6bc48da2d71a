// Placing a collected stream: the status line, the existing-file policy, then the
// expansion into the entry's destination.
#include "placement/place_file.h"

#include <cstring>

#include "engine/messages.h"
#include "engine/path_pieces.h"
#include "placement/existing_file_policy.h"
#include "placement/overwrite_guard.h"
#include "shell/installer_app.h"
#include "ui/progress.h"

namespace {

const char* const kCopyProblem =
    "There seems to be a problem copying files to their destination.\n\n"
    "Please try running the installation program again!";

}  // namespace

const char* LzErrorName(LONG result) {
  switch (result) {
    case LZERROR_BADINHANDLE: return "LZERROR_BADINHANDLE";
    case LZERROR_BADOUTHANDLE: return "LZERROR_BADOUTHANDLE";
    case LZERROR_READ: return "LZERROR_READ";
    case LZERROR_WRITE: return "LZERROR_WRITE";
    case LZERROR_GLOBALLOC: return "LZERROR_GLOBALLOC";
    case LZERROR_GLOBLOCK: return "LZERROR_GLOBLOCK";
    case LZERROR_BADVALUE: return "LZERROR_BADVALUE";
    case LZERROR_UNKNOWNALG: return "LZERROR_UNKNOWNALG";
    default: return "UNKNOWN ERROR";
  }
}

bool ExpandStream(const char* sourcePath, const char* destinationPath) {
  OFSTRUCT sourceRecord;
  OFSTRUCT destinationRecord;
  sourceRecord.cBytes = 136;
  const INT source = LZOpenFileA(const_cast<LPSTR>(sourcePath), &sourceRecord, OF_READ);
  if (source == -1) {
    RollbackInstall();
    ShowInstallError(
        "There seems to be a problem reading the installation file.\n\n"
        "Please try running the installation program again!",
        "Vorn Installation Error [3]");
    return false;
  }
  destinationRecord.cBytes = 136;
  const INT destination = LZOpenFileA(const_cast<LPSTR>(destinationPath), &destinationRecord, OF_CREATE);
  if (destination == -1) {
    LZClose(source);
    RollbackInstall();
    ShowInstallError(kCopyProblem, "Vorn Installation Error [4]");
    return false;
  }
  // From here the destination holds what this run writes, complete or not.
  if (installState.fileIndex < kManifestEntries) installState.wroteEntry[installState.fileIndex] = true;

  const LONG result = LZCopy(source, destination);
  LZClose(source);
  LZClose(destination);
  if (result >= 0) return true;

  RollbackInstall();
  char caption[kTextBuffer];
  wsprintfA(caption, "Vorn Installation Error [5] [%s]", LzErrorName(result));
  ShowInstallError(kCopyProblem, caption);
  return false;
}

StepResult PlaceFile(const char* sourcePath) {
  char status[kTextBuffer];
  wsprintfA(status, "Validating file: %s%s", pathPieces.fname, pathPieces.ext);
  SetDlgItemTextA(installerApp.dialogWindow, kStatusLine, status);

  char destination[kManifestPathBuffer];
  ManifestPath(destination, installState.fileIndex);
  const StepResult policy = ResolveExistingFile(destination);
  if (policy == Continue) {
    installState.fileIndex += 1;
    return Done;
  }
  if (policy != Done) return policy;
  SetAsideBeforeOverwrite(installState.fileIndex, destination);
  if (!ExpandStream(sourcePath, destination)) return Fatal;
  installState.fileIndex += 1;
  return Done;
}
