// The embedded bitmap fonts: the glyphs of text output and the metrics the dialog
// manager derives its base units from.
#pragma once

#include "platform/api/types.h"
#include "platform/gdi/font_data.h"

namespace vorn::gdi {

enum class FontStyle { Regular, Bold };

const FontData& Font(FontStyle style);

// The glyph of a character of the ANSI code page; control characters get the
// default glyph.
const Glyph& GlyphOf(const FontData& font, unsigned char c);

// The width of `count` characters in pixels.
int TextWidth(const FontData& font, const char* text, int count);

// The dialog base units of a font: the average width of "A".."Z" and "a".."z",
// rounded as the dialog manager rounds it, and the cell height.
SIZE DialogBaseUnits(const FontData& font);

// The handle of a font as a stock object: the regular style is the device
// context's default font and also what SYSTEM_FONT and DEFAULT_GUI_FONT give; the
// bold style is for captions and default buttons. DeleteObject leaves them alone.
HFONT FontHandle(FontStyle style);
// The font behind a font handle (stock or from FontHandle), or null.
const FontData* FontOf(HGDIOBJ handle);

}  // namespace vorn::gdi
