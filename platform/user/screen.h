// The screen as the displays show it: the desktop with the top-level windows'
// surfaces over it, in z-order.
#pragma once

#include <vector>

#include "platform/api/types.h"
#include "platform/gdi/surface.h"

namespace vorn::user {

// The visible top-level windows, bottom first: the active window is the last.
std::vector<HWND> ZOrder();
// The pixels of a top-level window (its whole window rectangle), or null.
const gdi::Surface* SurfaceOf(HWND topLevel);
// Paints the desktop and every visible top-level window onto a screen-sized surface.
void ComposeScreen(gdi::Surface* screen);

}  // namespace vorn::user
