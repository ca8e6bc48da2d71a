// Pixel comparison of surfaces, and the golden-image check built on it.
#pragma once

#include <string>

#include "platform/gdi/surface.h"

namespace vorn::gdi {

struct SurfaceDiff {
  bool sameSize = false;
  long differing = 0;  // pixels that differ, counted over the common area
  // The expected image faded to a light grey with differing pixels in pure red;
  // when the sizes differ it covers both, the part only one has in magenta.
  Surface image;
};
SurfaceDiff DiffSurfaces(const Surface& expected, const Surface& actual);

struct GoldenResult {
  bool matches = false;
  std::string message;  // empty when the images match
};
// Compares `actual` with the golden PNG at `goldenPath`. When they differ, or the
// golden image cannot be read, writes `outputStem`.actual.png and, if there was a
// golden image, `outputStem`.diff.png, and says so in the message.
GoldenResult CompareWithGolden(const Surface& actual, const std::string& goldenPath, const std::string& outputStem);

}  // namespace vorn::gdi
