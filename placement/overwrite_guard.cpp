// Setting overwritten files aside until the run is over.
#include "placement/overwrite_guard.h"

#include <cstring>

#include "engine/install_state.h"
#include "platform/rtl.h"

namespace {

constexpr const char* kAsideSuffix = ".vorn-undo";

// Per manifest entry, the destination whose original now lies aside (empty: none).
char setAside[kManifestEntries][kManifestPathBuffer];

void AsidePath(char* out, const char* destination) {
  // A destination is a manifest path, so the suffix always fits.
  std::strcpy(out, destination);
  std::strcat(out, kAsideSuffix);
}

}  // namespace

void SetAsideBeforeOverwrite(int entry, const char* destinationPath) {
  if (entry < 0 || entry >= kManifestEntries || installState.wroteEntry[entry]) return;
  if (!rtl::exists(destinationPath) || rtl::is_directory(destinationPath)) return;
  char aside[kManifestPathBuffer + 16];
  AsidePath(aside, destinationPath);
  // A leftover of a run that could not clean up is in the way.
  rtl::clear_attributes(aside);
  DeleteWithRetry(aside);
  if (rtl::rename_file(destinationPath, aside) == 0) std::strcpy(setAside[entry], destinationPath);
}

void RestoreSetAside() {
  for (char* destination : setAside) {
    if (destination[0] == '\0') continue;
    char aside[kManifestPathBuffer + 16];
    AsidePath(aside, destination);
    DeleteWithRetry(destination);
    if (rtl::rename_file(aside, destination) != 0) rtl::rename_file(aside, destination);
    destination[0] = '\0';
  }
}

void DiscardSetAside() {
  for (char* destination : setAside) {
    if (destination[0] == '\0') continue;
    char aside[kManifestPathBuffer + 16];
    AsidePath(aside, destination);
    DeleteWithRetry(aside);
    destination[0] = '\0';
  }
}
