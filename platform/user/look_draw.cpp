// Shared drawing pieces of the classic look.
#include "platform/user/look_draw.h"

#include "platform/api/gdi.h"
#include "platform/api/user.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/draw3d.h"
#include "platform/gdi/font.h"
#include "platform/user/metrics.h"

namespace vorn::user::look {

namespace {

const gdi::FontData& DialogFont() { return gdi::Font(gdi::FontStyle::Regular); }

}  // namespace

int LineHeight() { return DialogFont().height; }

int TextWidth(const std::string& text) {
  return gdi::TextWidth(DialogFont(), text.data(), static_cast<int>(text.size()));
}

Label ParseLabel(const std::string& text, bool prefixes) {
  Label label;
  if (!prefixes) {
    label.shown = text;
    return label;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != '&' && label.underline < 0) label.underline = static_cast<int>(label.shown.size());
    }
    label.shown += text[i];
  }
  return label;
}

void DrawLabel(HDC dc, int x, int y, const Label& label, COLORREF colour, const RECT& clip) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  ExtTextOutA(dc, x, y, ETO_CLIPPED, &clip, label.shown.data(), static_cast<UINT>(label.shown.size()), nullptr);
  if (label.underline < 0 || label.underline >= static_cast<int>(label.shown.size())) return;
  const int left = x + TextWidth(label.shown.substr(0, label.underline));
  const int width = TextWidth(label.shown.substr(label.underline, 1));
  const int underline = y + DialogFont().ascent + 1;
  gdi::FillSolidRect(dc, Intersect(RECT{left, underline, left + width, underline + 1}, clip), colour);
}

void DrawLabelEnabledOrNot(HDC dc, int x, int y, const Label& label, bool enabled, const RECT& clip) {
  if (enabled) {
    DrawLabel(dc, x, y, label, Colour(gdi::kColourButtonText), clip);
    return;
  }
  DrawLabel(dc, x + 1, y + 1, label, Colour(gdi::kColourButtonHighlight), clip);
  DrawLabel(dc, x, y, label, Colour(gdi::kColourButtonShadow), clip);
}

void DrawFocusRect(HDC dc, const RECT& rect) {
  gdi::DeviceContext* context = gdi::FindDeviceContext(dc);
  if (context == nullptr || IsEmpty(rect)) return;
  const gdi::Box drawable = gdi::DrawableBox(*context);
  // Inverted dots, as the dotted pattern is laid over what is there, so that the
  // rectangle shows on a highlighted item too.
  auto dot = [context, &drawable](LONG x, LONG y) {
    const std::int64_t sx = std::int64_t{x} + context->origin.x;
    const std::int64_t sy = std::int64_t{y} + context->origin.y;
    if (sx < drawable.left || sx >= drawable.right || sy < drawable.top || sy >= drawable.bottom) return;
    std::uint32_t& pixel = context->surface->pixels[static_cast<std::size_t>(sy * context->surface->width + sx)];
    pixel ^= 0xFFFFFF;
  };
  // The dots keep one phase all round, as if the outline were cut from a
  // checkerboard anchored at the rectangle's corner.
  for (LONG x = rect.left; x < rect.right; ++x) {
    if ((x - rect.left) % 2 == 0) dot(x, rect.top);
    if (rect.bottom - 1 > rect.top && (x - rect.left + rect.bottom - 1 - rect.top) % 2 == 0) dot(x, rect.bottom - 1);
  }
  for (LONG y = rect.top + 1; y < rect.bottom - 1; ++y) {
    if ((y - rect.top) % 2 == 0) dot(rect.left, y);
    if (rect.right - 1 > rect.left && (y - rect.top + rect.right - 1 - rect.left) % 2 == 0) dot(rect.right - 1, y);
  }
}

namespace {

// One rectangle of lines, the lower colour owning the two far corners.
RECT Lines(HDC dc, const RECT& r, COLORREF upper, COLORREF lower) {
  if (IsEmpty(r)) return r;
  gdi::FillSolidRect(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, upper);
  gdi::FillSolidRect(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, upper);
  gdi::FillSolidRect(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, lower);
  gdi::FillSolidRect(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, lower);
  return RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
}

}  // namespace

RECT DrawButtonEdge(HDC dc, const RECT& rect) {
  const RECT inner = Lines(dc, rect, Colour(gdi::kColourButtonHighlight), Colour(gdi::kColourDarkShadow3D));
  return Lines(dc, inner, Colour(gdi::kColourLight3D), Colour(gdi::kColourButtonShadow));
}

RECT DrawPushedEdge(HDC dc, const RECT& rect) {
  const COLORREF black = Colour(gdi::kColourWindowFrame);
  const COLORREF grey = Colour(gdi::kColourButtonShadow);
  return Lines(dc, Lines(dc, rect, black, black), grey, grey);
}

void DrawPicture(HDC dc, int x, int y, const std::vector<std::string>& rows, const std::map<char, COLORREF>& palette) {
  for (std::size_t row = 0; row < rows.size(); ++row) {
    for (std::size_t column = 0; column < rows[row].size(); ++column) {
      const auto colour = palette.find(rows[row][column]);
      if (colour == palette.end()) continue;
      const LONG px = x + static_cast<LONG>(column);
      const LONG py = y + static_cast<LONG>(row);
      gdi::FillSolidRect(dc, RECT{px, py, px + 1, py + 1}, colour->second);
    }
  }
}

void DrawGlyph(HDC dc, int x, int y, const std::vector<std::string>& rows, COLORREF colour) {
  DrawPicture(dc, x, y, rows, {{'#', colour}});
}

void DrawArrow(HDC dc, const RECT& rect, bool down, bool enabled) {
  static const std::vector<std::string> kDown = {"#######", " ##### ", "  ###  ", "   #   "};
  static const std::vector<std::string> kUp = {"   #   ", "  ###  ", " ##### ", "#######"};
  const int x = rect.left + (rect.right - rect.left - 7) / 2;
  const int y = rect.top + (rect.bottom - rect.top - 4) / 2;
  const std::vector<std::string>& rows = down ? kDown : kUp;
  if (enabled) {
    DrawGlyph(dc, x, y, rows, Colour(gdi::kColourButtonText));
    return;
  }
  DrawGlyph(dc, x + 1, y + 1, rows, Colour(gdi::kColourButtonHighlight));
  DrawGlyph(dc, x, y, rows, Colour(gdi::kColourButtonShadow));
}

ControlPaint::ControlPaint(HWND control) : handle_(control), window_(Find(control)) {
  BeginPaint(control, &paint_);
  client_ = ClientRect(*window_);
}

ControlPaint::~ControlPaint() { EndPaint(handle_, &paint_); }

bool ControlPaint::focused() const { return GetFocus() == handle_; }

bool DrawChildBorder(const Window& control, bool sunken) {
  if (!(control.style & WS_BORDER) || !IsReallyVisible(control)) return false;
  Window* parent = Find(control.parent);
  Window* root = Root(parent);
  if (parent == nullptr || root == nullptr || root->surface == nullptr) return false;
  const POINT base = ClientOriginOnSurface(*parent);
  const RECT onSurface = Offset(control.rect, base.x, base.y);
  const HDC dc = gdi::CreateSurfaceDC(root->surface.get(), POINT{onSurface.left, onSurface.top},
                                      Intersect(onSurface, VisibleClientOnSurface(*parent)));
  const RECT whole{0, 0, control.rect.right - control.rect.left, control.rect.bottom - control.rect.top};
  if (sunken) {
    Lines(dc, whole, Colour(gdi::kColourButtonShadow), Colour(gdi::kColourButtonHighlight));
  } else {
    const COLORREF black = Colour(gdi::kColourWindowFrame);
    Lines(dc, whole, black, black);
  }
  gdi::DeleteSurfaceDC(dc);
  return true;
}

}  // namespace vorn::user::look
