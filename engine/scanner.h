// The payload scanner: walks the installer image in slices, cuts out each stream at
// its signature and hands it to placement, and verifies the sum at the end.
#pragma once

#include "engine/install_state.h"

// Bytes consumed per slice: the slice ends once more than this many were counted.
constexpr int kSliceLimit = 7000;

// Consumes the next slice of the image.
StepResult ScanSlice();
