// The one shared set of path pieces: each split replaces it. The status line names a
// file from the pieces its stream's path left here.
#pragma once

#include "platform/rtl.h"

struct PathPieces {
  char drive[rtl::kMaxDrive];
  char dir[rtl::kMaxDir];
  char fname[rtl::kMaxFname];
  char ext[rtl::kMaxExt];
};

extern PathPieces pathPieces;

void SplitIntoPathPieces(const char* path);
