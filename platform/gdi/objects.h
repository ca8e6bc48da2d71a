// GDI objects behind HBRUSH, HPEN and HFONT handles: the stock objects and the
// brushes programs create.
#pragma once

#include <cstdint>

#include "platform/api/types.h"
#include "platform/gdi/font_data.h"

namespace vorn::gdi {

enum class ObjectKind { Brush, Pen, Font };

struct GdiObject {
  ObjectKind kind;
  bool stock;
  bool hollow;  // NULL_BRUSH and NULL_PEN paint nothing
  COLORREF colour;
  const FontData* font;
  int selections = 0;  // device contexts it is selected into
};

// The live object behind a handle, or null for anything else.
GdiObject* FindObject(HGDIOBJ handle);
inline HGDIOBJ HandleOf(GdiObject* object) { return object; }

// What a brush argument of FillRect or FrameRect paints: a brush handle, or a
// system colour index plus one.
struct BrushPaint {
  bool valid = false;
  bool paints = false;  // false for the hollow brush
  std::uint32_t pixel = 0;
};
BrushPaint ResolveBrush(HBRUSH brush);

// The objects a fresh device context starts with.
GdiObject* DefaultBrush();
GdiObject* DefaultPen();
GdiObject* DefaultFont();

}  // namespace vorn::gdi
