// Window geometry: non-client frames, client areas, coordinate conversion, moving
// and sizing, dialog units.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/display/display.h"
#include "platform/user/internal.h"
#include "platform/user/metrics.h"

namespace vorn::user {

namespace {

// MulDiv: a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

int DialogXToPixels(int units) { return MulDiv(units, kDialogBaseX, 4); }
int DialogYToPixels(int units) { return MulDiv(units, kDialogBaseY, 8); }

RECT NonClientInsets(DWORD style, DWORD exStyle, bool child) {
  int frame = 0;
  if (style & WS_THICKFRAME) {
    frame = kSizingFrame;
  } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
    frame = kDialogFrame;
  } else if (style & WS_BORDER) {
    frame = kBorder;
  }
  const bool caption = !child && (style & WS_CAPTION) == WS_CAPTION;
  return {frame, frame + (caption ? kCaptionHeight : 0), frame, frame};
}

RECT WindowRectForClient(const RECT& client, DWORD style, DWORD exStyle, bool child) {
  const RECT in = NonClientInsets(style, exStyle, child);
  return {client.left - in.left, client.top - in.top, client.right + in.right, client.bottom + in.bottom};
}

RECT ClientRect(const Window& window) {
  const RECT in = NonClientInsets(window.style, window.exStyle, IsChild(window));
  const LONG width = (window.rect.right - window.rect.left) - in.left - in.right;
  const LONG height = (window.rect.bottom - window.rect.top) - in.top - in.bottom;
  return {0, 0, std::max<LONG>(width, 0), std::max<LONG>(height, 0)};
}

POINT ClientOriginOnScreen(const Window& window) {
  const RECT in = NonClientInsets(window.style, window.exStyle, IsChild(window));
  POINT origin{window.rect.left + in.left, window.rect.top + in.top};
  if (IsChild(window)) {
    const POINT parent = ClientOriginOnScreen(*Find(window.parent));
    origin.x += parent.x;
    origin.y += parent.y;
  }
  return origin;
}

RECT ScreenRect(const Window& window) {
  if (!IsChild(window)) return window.rect;
  const POINT parent = ClientOriginOnScreen(*Find(window.parent));
  return Offset(window.rect, parent.x, parent.y);
}

POINT ClientOriginOnSurface(const Window& window) {
  const POINT onScreen = ClientOriginOnScreen(window);
  const Window* root = Root(const_cast<Window*>(&window));
  return {onScreen.x - root->rect.left, onScreen.y - root->rect.top};
}

RECT VisibleClientOnSurface(const Window& window) {
  if (!IsReallyVisible(window)) return {0, 0, 0, 0};
  const POINT origin = ClientOriginOnSurface(window);
  RECT visible = Offset(ClientRect(window), origin.x, origin.y);
  for (const Window* w = &window; IsChild(*w);) {
    w = Find(w->parent);
    const POINT o = ClientOriginOnSurface(*w);
    visible = Intersect(visible, Offset(ClientRect(*w), o.x, o.y));
  }
  const Window* root = Root(const_cast<Window*>(&window));
  return Intersect(visible, {0, 0, root->rect.right - root->rect.left, root->rect.bottom - root->rect.top});
}

SIZE ScreenSize() {
  static const SIZE size = [] {
    if (const std::optional<SIZE> real = display::Current().ScreenSize()) return *real;
    SIZE s{800, 600};
    if (const char* setting = std::getenv("VORN_SCREEN")) {
      int w = 0;
      int h = 0;
      if (std::sscanf(setting, "%dx%d", &w, &h) == 2 && w > 0 && h > 0) s = {w, h};
    }
    return s;
  }();
  return size;
}

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (IsEmpty(r)) return {0, 0, 0, 0};
  return r;
}

RECT Union(const RECT& a, const RECT& b) {
  if (IsEmpty(a)) return b;
  if (IsEmpty(b)) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Offset(const RECT& r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

}  // namespace vorn::user

using namespace vorn;
using namespace vorn::user;

BOOL WINAPI GetWindowRect(HWND handle, LPRECT rect) {
  Window* window = Find(handle);
  if (window == nullptr || rect == nullptr) return FALSE;
  *rect = ScreenRect(*window);
  return TRUE;
}

BOOL WINAPI GetClientRect(HWND handle, LPRECT rect) {
  Window* window = Find(handle);
  if (window == nullptr || rect == nullptr) return FALSE;
  *rect = ClientRect(*window);
  return TRUE;
}

BOOL WINAPI ScreenToClient(HWND handle, LPPOINT point) {
  Window* window = Find(handle);
  if (window == nullptr || point == nullptr) return FALSE;
  const POINT origin = ClientOriginOnScreen(*window);
  point->x -= origin.x;
  point->y -= origin.y;
  return TRUE;
}

BOOL WINAPI ClientToScreen(HWND handle, LPPOINT point) {
  Window* window = Find(handle);
  if (window == nullptr || point == nullptr) return FALSE;
  const POINT origin = ClientOriginOnScreen(*window);
  point->x += origin.x;
  point->y += origin.y;
  return TRUE;
}

BOOL WINAPI SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  (void)insertAfter;  // one z-order: creation order, the active window on top
  Window* window = Find(handle);
  if (window == nullptr || handle == GetDesktopWindow()) return FALSE;
  const RECT before = window->rect;
  RECT after = before;
  if (!(flags & SWP_NOMOVE)) after = Offset(after, x - before.left, y - before.top);
  if (!(flags & SWP_NOSIZE)) {
    after.right = after.left + std::max(cx, 0);
    after.bottom = after.top + std::max(cy, 0);
  }
  const bool moved = after.left != before.left || after.top != before.top;
  const bool sized = (after.right - after.left) != (before.right - before.left) ||
                     (after.bottom - after.top) != (before.bottom - before.top);
  if (moved || sized) {
    if (IsChild(*window) && (window->style & WS_VISIBLE)) Invalidate(window->parent, &before, true);
    window->rect = after;
    if (!IsChild(*window)) {
      if (sized) window->surface->Resize(after.right - after.left, after.bottom - after.top, 0xC0C0C0);
      display::Current().WindowChanged(handle);
    }
    if (sized || IsChild(*window)) Invalidate(handle, nullptr, true);
    const RECT in = NonClientInsets(window->style, window->exStyle, IsChild(*window));
    if (moved) SendMessageA(handle, WM_MOVE, 0, MAKELPARAM(after.left + in.left, after.top + in.top));
    if (sized && (window = Find(handle)) != nullptr) {
      const RECT client = ClientRect(*window);
      SendMessageA(handle, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    }
  }
  if (flags & SWP_SHOWWINDOW) {
    SetVisible(handle, true);
    if (!(flags & SWP_NOACTIVATE) && Find(handle) != nullptr && !IsChild(*Find(handle))) Activate(handle);
  }
  if (flags & SWP_HIDEWINDOW) SetVisible(handle, false);
  return TRUE;
}

BOOL WINAPI MoveWindow(HWND handle, int x, int y, int width, int height, BOOL repaint) {
  (void)repaint;
  return SetWindowPos(handle, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL WINAPI MapDialogRect(HWND dialog, LPRECT rect) {
  if (Find(dialog) == nullptr || rect == nullptr) return FALSE;
  *rect = {DialogXToPixels(rect->left), DialogYToPixels(rect->top), DialogXToPixels(rect->right),
           DialogYToPixels(rect->bottom)};
  return TRUE;
}

// One font serves every dialog, so its base units are the system's too.
LONG WINAPI GetDialogBaseUnits(void) { return MAKELONG(kDialogBaseX, kDialogBaseY); }
