// A pixel surface: what a top-level window paints into and what the displays show.
#pragma once

#include <cstdint>
#include <vector>

namespace vorn::gdi {

// Pixels are 0x00RRGGBB, rows top to bottom.
struct Surface {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  void Resize(int newWidth, int newHeight, std::uint32_t fill) {
    width = newWidth;
    height = newHeight;
    pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
  }
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  void Set(int x, int y, std::uint32_t colour) { pixels[static_cast<std::size_t>(y) * width + x] = colour; }
};

}  // namespace vorn::gdi
