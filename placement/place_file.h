// File placement: one collected stream becomes the installed file of the current
// manifest entry, through the LZ expansion service.
#pragma once

#include "engine/install_state.h"

StepResult PlaceFile(const char* sourcePath);
// Expands (or, for a plain source, copies) source into destination. On failure the
// run has been rolled back and the error shown.
bool ExpandStream(const char* sourcePath, const char* destinationPath);
// The caption name of a negative LZCopy result.
const char* LzErrorName(LONG result);
