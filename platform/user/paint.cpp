// Update regions and device contexts: which windows need WM_PAINT, and the device
// contexts over a top-level window's surface that painting uses.
#include <map>

#include "platform/display/display.h"
#include "platform/gdi/dc.h"
#include "platform/user/internal.h"
#include "platform/user/metrics.h"

namespace vorn::user {

namespace {

// The window each device context handed out by GetDC or BeginPaint belongs to.
std::map<HDC, HWND>& OpenContexts() {
  static std::map<HDC, HWND> contexts;
  return contexts;
}

HDC ContextFor(HWND handle, const RECT* clipInClient) {
  Window* window = Find(handle);
  Window* root = Root(window);
  const POINT origin = ClientOriginOnSurface(*window);
  RECT clip = VisibleClientOnSurface(*window);
  if (clipInClient != nullptr) clip = Intersect(clip, Offset(*clipInClient, origin.x, origin.y));
  HDC dc = gdi::CreateSurfaceDC(root->surface.get(), origin, clip);
  OpenContexts()[dc] = handle;
  return dc;
}

void ReleaseContext(HDC dc) {
  auto& contexts = OpenContexts();
  auto it = contexts.find(dc);
  if (it == contexts.end()) return;
  const HWND window = it->second;
  contexts.erase(it);
  gdi::DeleteSurfaceDC(dc);
  if (Window* w = Find(window)) display::Current().WindowChanged(Root(w)->handle);
}

void PaintTree(HWND handle) {
  Window* window = Find(handle);
  if (window == nullptr) return;
  if (window->invalid && IsReallyVisible(*window)) SendMessageA(handle, WM_PAINT, 0, 0);
  window = Find(handle);
  if (window == nullptr) return;
  const std::vector<HWND> children = window->children;
  for (HWND child : children) PaintTree(child);
}

bool Admits(HWND filter, Window* window) {
  if (filter == nullptr) return true;
  for (Window* w = window; w != nullptr; w = IsChild(*w) ? Find(w->parent) : nullptr) {
    if (w->handle == filter) return true;
  }
  return false;
}

HWND FirstToPaint(HWND handle, HWND filter) {
  Window* window = Find(handle);
  if (window == nullptr || !(window->style & WS_VISIBLE)) return nullptr;
  if (window->invalid && Admits(filter, window)) return handle;
  for (HWND child : window->children) {
    if (HWND found = FirstToPaint(child, filter)) return found;
  }
  return nullptr;
}

}  // namespace

void Invalidate(HWND handle, const RECT* rect, bool erase) {
  Window* window = Find(handle);
  if (window == nullptr) return;
  const RECT client = ClientRect(*window);
  const RECT area = rect != nullptr ? Intersect(*rect, client) : client;
  if (IsEmpty(area)) return;  // an empty update region asks for no WM_PAINT
  window->update = window->invalid ? Union(window->update, area) : area;
  window->invalid = true;
  window->erasePending = window->erasePending || erase;
  // Without WS_CLIPCHILDREN a parent's repaint shows through its children, so they
  // are repainted over it.
  if (!(window->style & WS_CLIPCHILDREN)) {
    for (HWND childHandle : window->children) {
      Window* child = Find(childHandle);
      if (child == nullptr || !(child->style & WS_VISIBLE)) continue;
      const RECT overlap = Intersect(area, child->rect);
      if (IsEmpty(overlap)) continue;
      const POINT o{child->rect.left, child->rect.top};
      const RECT in = NonClientInsets(child->style, child->exStyle, true);
      RECT local = Offset(overlap, -o.x - in.left, -o.y - in.top);
      Invalidate(childHandle, &local, erase);
    }
  }
}

HWND NextWindowToPaint(HWND filter) {
  for (HWND top : TopLevelWindows()) {
    if (HWND found = FirstToPaint(top, filter)) return found;
  }
  return nullptr;
}

}  // namespace vorn::user

using namespace vorn;
using namespace vorn::user;

BOOL WINAPI InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
  if (handle == nullptr) {
    for (HWND top : TopLevelWindows()) Invalidate(top, nullptr, erase);
    return TRUE;
  }
  if (Find(handle) == nullptr) return FALSE;
  Invalidate(handle, rect, erase);
  return TRUE;
}

BOOL WINAPI UpdateWindow(HWND handle) {
  if (Find(handle) == nullptr) return FALSE;
  PaintTree(handle);
  return TRUE;
}

HDC WINAPI BeginPaint(HWND handle, LPPAINTSTRUCT paint) {
  Window* window = Find(handle);
  if (window == nullptr || paint == nullptr) return nullptr;
  const RECT update = window->invalid ? window->update : RECT{0, 0, 0, 0};
  const bool erase = window->erasePending;
  window->invalid = false;
  window->erasePending = false;
  window->update = {0, 0, 0, 0};
  *paint = PAINTSTRUCT{};
  paint->rcPaint = update;
  paint->hdc = ContextFor(handle, &update);
  paint->fErase = erase;
  if (erase) paint->fErase = SendMessageA(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) == 0;
  return paint->hdc;
}

BOOL WINAPI EndPaint(HWND handle, const PAINTSTRUCT* paint) {
  (void)handle;
  if (paint == nullptr) return FALSE;
  ReleaseContext(paint->hdc);
  return TRUE;
}

HDC WINAPI GetDC(HWND handle) {
  if (handle == nullptr) handle = GetDesktopWindow();
  if (Find(handle) == nullptr) return nullptr;
  return ContextFor(handle, nullptr);
}

int WINAPI ReleaseDC(HWND handle, HDC dc) {
  (void)handle;
  if (OpenContexts().count(dc) == 0) return 0;
  ReleaseContext(dc);
  return 1;
}
