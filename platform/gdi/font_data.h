// The layout of the embedded glyph tables, which tools/font/pcf_to_cpp.py writes.
#pragma once

#include <cstdint>

namespace vorn::gdi {

constexpr int kGlyphRows = 13;
constexpr int kFirstGlyphChar = 32;
constexpr int kLastGlyphChar = 255;
// One glyph per character from 32 to 255, then the default glyph.
constexpr int kGlyphCount = kLastGlyphChar - kFirstGlyphChar + 2;

struct Glyph {
  std::uint8_t width;  // advance in pixels, at most 8
  std::uint8_t rows[kGlyphRows];  // top to bottom, bit 7 is the leftmost pixel
};

struct FontData {
  const char* name;
  int height;
  int ascent;
  Glyph glyphs[kGlyphCount];
};

namespace fonts {
extern const FontData kFixed6x13;
extern const FontData kFixed6x13Bold;
}  // namespace fonts

}  // namespace vorn::gdi
