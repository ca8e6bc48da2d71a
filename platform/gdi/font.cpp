// Glyph lookup and metrics of the embedded fonts.
#include "platform/gdi/font.h"

namespace vorn::gdi {

const FontData& Font(FontStyle style) {
  return style == FontStyle::Bold ? fonts::kFixed6x13Bold : fonts::kFixed6x13;
}

const Glyph& GlyphOf(const FontData& font, unsigned char c) {
  if (c < kFirstGlyphChar) return font.glyphs[kGlyphCount - 1];
  return font.glyphs[c - kFirstGlyphChar];
}

int TextWidth(const FontData& font, const char* text, int count) {
  int width = 0;
  for (int i = 0; i < count; ++i) width += GlyphOf(font, static_cast<unsigned char>(text[i])).width;
  return width;
}

SIZE DialogBaseUnits(const FontData& font) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  const int width = TextWidth(font, kAlphabet, 52);
  return SIZE{(width / 26 + 1) / 2, font.height};
}

}  // namespace vorn::gdi
