// Composing the screen from the windows' surfaces.
#include "platform/user/screen.h"

#include <algorithm>

#include "platform/gdi/colours.h"
#include "platform/user/metrics.h"
#include "platform/user/window.h"

namespace vorn::user {

const gdi::Surface* SurfaceOf(HWND topLevel) {
  const Window* window = Find(topLevel);
  return window != nullptr && !IsChild(*window) ? window->surface.get() : nullptr;
}

void ComposeScreen(gdi::Surface* screen) {
  const SIZE size = ScreenSize();
  screen->Resize(size.cx, size.cy, gdi::ToPixel(gdi::SystemColour(gdi::kColourBackground)));
  for (HWND handle : ZOrder()) {
    const Window* window = Find(handle);
    const gdi::Surface& pixels = *window->surface;
    const int left = std::max<int>(0, -window->rect.left);
    const int top = std::max<int>(0, -window->rect.top);
    const int right = std::min<int>(pixels.width, size.cx - window->rect.left);
    const int bottom = std::min<int>(pixels.height, size.cy - window->rect.top);
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) screen->Set(window->rect.left + x, window->rect.top + y, pixels.At(x, y));
    }
  }
}

}  // namespace vorn::user
