// Surface comparison for golden tests.
#include "platform/gdi/surface_diff.h"

#include <algorithm>

#include "platform/gdi/png.h"

namespace vorn::gdi {
namespace {

constexpr std::uint32_t kDifferent = 0xFF0000;
constexpr std::uint32_t kOutside = 0xFF00FF;

// A quarter of the pixel's brightness over a light grey, so red stands out.
std::uint32_t Faded(std::uint32_t pixel) {
  std::uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) out |= (0xC0 + ((pixel >> shift) & 0xFF) / 4) << shift;
  return out;
}

}  // namespace

SurfaceDiff DiffSurfaces(const Surface& expected, const Surface& actual) {
  SurfaceDiff diff;
  diff.sameSize = expected.width == actual.width && expected.height == actual.height;
  const int width = std::max(expected.width, actual.width);
  const int height = std::max(expected.height, actual.height);
  // Pixels that only one image has are marked magenta.
  diff.image.Resize(width, height, kOutside);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool inExpected = x < expected.width && y < expected.height;
      const bool inActual = x < actual.width && y < actual.height;
      if (!inExpected || !inActual) continue;
      const std::uint32_t want = expected.At(x, y);
      if (want == actual.At(x, y)) {
        diff.image.Set(x, y, Faded(want));
      } else {
        diff.image.Set(x, y, kDifferent);
        ++diff.differing;
      }
    }
  }
  return diff;
}

GoldenResult CompareWithGolden(const Surface& actual, const std::string& goldenPath, const std::string& outputStem) {
  GoldenResult result;
  Surface golden;
  const std::string actualPath = outputStem + ".actual.png";
  if (ReadPng(goldenPath, &golden) != Error::None) {
    WritePng(actual, actualPath);
    result.message = "cannot read golden image " + goldenPath + "; actual image written to " + actualPath;
    return result;
  }
  const SurfaceDiff diff = DiffSurfaces(golden, actual);
  if (diff.sameSize && diff.differing == 0) {
    result.matches = true;
    return result;
  }
  const std::string diffPath = outputStem + ".diff.png";
  WritePng(actual, actualPath);
  WritePng(diff.image, diffPath);
  const std::string what =
      diff.sameSize ? std::to_string(diff.differing) + " of " + std::to_string(long{actual.width} * actual.height) +
                          " pixels differ"
                    : "size " + std::to_string(actual.width) + "x" + std::to_string(actual.height) +
                          " instead of " + std::to_string(golden.width) + "x" + std::to_string(golden.height);
  result.message = goldenPath + ": " + what + "; wrote " + actualPath + " and " + diffPath;
  return result;
}

}  // namespace vorn::gdi
