// The frames and caption bars of top-level windows, drawn by us into the window's
// surface: a raised 3D frame, a dark blue caption with a white bold title while
// the window is active (grey while not), and a close button at its right.
#include "platform/api/gdi.h"
#include "platform/api/user.h"
#include "platform/display/display.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/draw3d.h"
#include "platform/gdi/font.h"
#include "platform/user/internal.h"
#include "platform/user/look.h"
#include "platform/user/look_draw.h"
#include "platform/user/metrics.h"

namespace vorn::user {

namespace {

using namespace look;

constexpr int kCloseWidth = 16;
constexpr int kCloseHeight = 14;
constexpr int kCloseMargin = 2;  // from the caption's right and top edges
constexpr int kTitleLeft = 3;

struct FrameLayout {
  RECT window{};   // at (0, 0)
  RECT client{};
  int frame = 0;   // width of the frame lines and face around the caption and client
  bool caption = false;
  RECT bar{};      // the coloured caption bar, without the face line below it
  bool close = false;
  RECT closeButton{};
};

FrameLayout LayoutOf(const Window& window) {
  FrameLayout layout;
  layout.window = {0, 0, window.rect.right - window.rect.left, window.rect.bottom - window.rect.top};
  const RECT in = NonClientInsets(window.style, window.exStyle, false);
  layout.client = {in.left, in.top, layout.window.right - in.right, layout.window.bottom - in.bottom};
  layout.frame = in.left;
  layout.caption = (window.style & WS_CAPTION) == WS_CAPTION;
  if (layout.caption) {
    layout.bar = {in.left, in.left, layout.window.right - in.right, in.left + kCaptionHeight - 1};
    layout.close = (window.style & WS_SYSMENU) != 0;
    const LONG right = layout.bar.right - kCloseMargin;
    const LONG top = layout.bar.top + kCloseMargin;
    layout.closeButton = {right - kCloseWidth, top, right, top + kCloseHeight};
  }
  return layout;
}

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

void DrawFrame(HDC dc, const FrameLayout& layout) {
  if (layout.frame == kBorder) {
    const RECT outline{0, 0, layout.window.right, layout.window.bottom};
    FrameRect(dc, &outline, gdi::SystemColourBrush(gdi::kColourWindowFrame));
    return;
  }
  if (layout.frame < 2) return;
  // The raised edge, then face out to the client area and the caption bar.
  const RECT inside = gdi::DrawEdge3D(dc, layout.window, gdi::kEdgeRaised);
  const RECT& c = layout.client;
  gdi::FillFace(dc, RECT{inside.left, inside.top, inside.right, c.top});
  gdi::FillFace(dc, RECT{inside.left, c.bottom, inside.right, inside.bottom});
  gdi::FillFace(dc, RECT{inside.left, c.top, c.left, c.bottom});
  gdi::FillFace(dc, RECT{c.right, c.top, inside.right, c.bottom});
}

void DrawCaption(HDC dc, const FrameLayout& layout, const std::string& title, bool active) {
  gdi::FillSolidRect(dc, layout.bar, Colour(active ? gdi::kColourActiveCaption : gdi::kColourInactiveCaption));
  RECT room = layout.bar;
  if (layout.close) {
    room.right = layout.closeButton.left - kCloseMargin;
    gdi::FillFace(dc, layout.closeButton);
    const RECT inside = DrawButtonEdge(dc, layout.closeButton);
    static const std::vector<std::string> kCross = {"##    ##", " ##  ## ", "  ####  ", "   ##   ",
                                                     "  ####  ", " ##  ## ", "##    ##"};
    const int x = inside.left + (inside.right - inside.left - 8) / 2;
    const int y = inside.top + (inside.bottom - inside.top - 7) / 2;
    DrawGlyph(dc, x, y, kCross, Colour(gdi::kColourButtonText));
  }
  const HGDIOBJ previous = SelectObject(dc, gdi::FontHandle(gdi::FontStyle::Bold));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Colour(active ? gdi::kColourCaptionText : gdi::kColourInactiveCaptionText));
  const int y = layout.bar.top + (layout.bar.bottom - layout.bar.top - LineHeight()) / 2;
  ExtTextOutA(dc, layout.bar.left + kTitleLeft, y, ETO_CLIPPED, &room, title.data(), static_cast<UINT>(title.size()),
              nullptr);
  SelectObject(dc, previous);
}

}  // namespace

void PaintNonClient(HWND handle) {
  Window* window = Find(handle);
  if (window == nullptr || IsChild(*window) || window->surface == nullptr) return;
  gdi::Surface& surface = *window->surface;
  const FrameLayout layout = LayoutOf(*window);
  const HDC dc = gdi::CreateSurfaceDC(&surface, POINT{0, 0}, RECT{0, 0, surface.width, surface.height});
  DrawFrame(dc, layout);
  if (layout.caption) DrawCaption(dc, layout, window->text, ActiveWindow() == handle);
  gdi::DeleteSurfaceDC(dc);
  display::Current().WindowChanged(handle);
}

FramePart HitTestFrame(HWND handle, POINT screen) {
  const Window* window = Find(handle);
  if (window == nullptr || IsChild(*window)) return FramePart::Nowhere;
  const POINT p{screen.x - window->rect.left, screen.y - window->rect.top};
  const FrameLayout layout = LayoutOf(*window);
  if (!Contains(layout.window, p)) return FramePart::Nowhere;
  if (Contains(layout.client, p)) return FramePart::Client;
  if (layout.close && Contains(layout.closeButton, p)) return FramePart::CloseButton;
  if (layout.caption && Contains(layout.bar, p)) return FramePart::Caption;
  return FramePart::Border;
}

}  // namespace vorn::user
