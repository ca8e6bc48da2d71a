// A surface with a device context over it, and its pixels as rows of letters so
// pixel tests read as pictures.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/surface.h"
#include "platform/win32.h"

namespace vorn::testing {

// The letters of pictures; '.' is the canvas's own background.
constexpr std::uint32_t kCanvasBackground = 0x123456;
inline const std::map<std::uint32_t, char>& Legend() {
  static const std::map<std::uint32_t, char> legend = {
      {kCanvasBackground, '.'}, {0x000000, 'K'}, {0xFFFFFF, 'W'}, {0xC0C0C0, 'l'}, {0x808080, 'g'},
      {0xFF0000, 'R'},          {0x0064C8, 'B'}, {0x00FF00, 'G'},
  };
  return legend;
}

struct Canvas {
  gdi::Surface surface;
  HDC dc;

  Canvas(int width, int height) : Canvas(width, height, POINT{0, 0}, RECT{0, 0, width, height}) {}
  Canvas(int width, int height, POINT origin, RECT clip) {
    surface.Resize(width, height, kCanvasBackground);
    dc = gdi::CreateSurfaceDC(&surface, origin, clip);
  }
  ~Canvas() { gdi::DeleteSurfaceDC(dc); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // Rows of letters from the legend; '?' for a pixel it does not know.
  std::vector<std::string> Picture() const {
    std::vector<std::string> rows;
    for (int y = 0; y < surface.height; ++y) {
      std::string row;
      for (int x = 0; x < surface.width; ++x) {
        auto found = Legend().find(surface.At(x, y));
        row += found == Legend().end() ? '?' : found->second;
      }
      rows.push_back(row);
    }
    return rows;
  }
};

}  // namespace vorn::testing
