// Text output in the embedded bitmap fonts: ExtTextOutA with its clipping and
// opaque rectangle, TextOutA, and text extents.
#include <vector>

#include "platform/api/gdi.h"
#include "platform/gdi/colours.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/font.h"

namespace vorn::gdi {
namespace {

// The documented limit of one call.
constexpr UINT kMaxTextCount = 8192;

const FontData& SelectedFont(const DeviceContext& dc) {
  return dc.font != nullptr && dc.font->font != nullptr ? *dc.font->font : Font(FontStyle::Regular);
}

void DrawGlyph(DeviceContext& dc, const Glyph& glyph, std::int64_t left, std::int64_t top, const Box& clip,
               std::uint32_t ink) {
  for (int row = 0; row < kGlyphRows; ++row) {
    const std::int64_t y = top + row;
    if (y < clip.top || y >= clip.bottom) continue;
    std::uint32_t* line = dc.surface->pixels.data() + y * dc.surface->width;
    for (int column = 0; column < glyph.width; ++column) {
      const std::int64_t x = left + column;
      if ((glyph.rows[row] & (0x80 >> column)) != 0 && x >= clip.left && x < clip.right) line[x] = ink;
    }
  }
}

}  // namespace
}  // namespace vorn::gdi

using namespace vorn::gdi;

BOOL WINAPI ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                        const INT* dx) {
  DeviceContext* context = FindDeviceContext(dc);
  if (context == nullptr || count > kMaxTextCount || (count > 0 && text == nullptr)) return FALSE;

  Box clip = DrawableBox(*context);
  if (rect != nullptr && (options & ETO_CLIPPED) != 0) clip = Intersect(clip, ToSurface(*context, *rect));
  if (rect != nullptr && (options & ETO_OPAQUE) != 0) {
    FillBox(*context, ToSurface(*context, *rect), ToPixel(context->backgroundColour));
  }

  const FontData& font = SelectedFont(*context);
  std::vector<std::int64_t> lefts(count);
  std::int64_t pen = std::int64_t{x} + context->origin.x;
  for (UINT i = 0; i < count; ++i) {
    lefts[i] = pen;
    pen += dx != nullptr ? dx[i] : GlyphOf(font, static_cast<unsigned char>(text[i])).width;
  }
  const std::int64_t top = std::int64_t{y} + context->origin.y;
  if (context->backgroundMode == OPAQUE && count > 0) {
    const Box cells{std::int64_t{x} + context->origin.x, top, pen, top + font.height};
    FillBox(*context, Intersect(cells, clip), ToPixel(context->backgroundColour));
  }
  const std::uint32_t ink = ToPixel(context->textColour);
  for (UINT i = 0; i < count; ++i) {
    DrawGlyph(*context, GlyphOf(font, static_cast<unsigned char>(text[i])), lefts[i], top, clip, ink);
  }
  return TRUE;
}

BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int count) {
  if (count < 0) return FALSE;
  return ExtTextOutA(dc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size) {
  DeviceContext* context = FindDeviceContext(dc);
  if (context == nullptr || size == nullptr || count < 0 || (count > 0 && text == nullptr)) return FALSE;
  const FontData& font = SelectedFont(*context);
  size->cx = TextWidth(font, text, count);
  size->cy = font.height;
  return TRUE;
}
