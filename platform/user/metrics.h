// The geometry of windows: frames and caption bars, client areas, dialog units,
// and the screen.
#pragma once

#include "platform/api/types.h"
#include "platform/user/window.h"

namespace vorn::user {

// Dialog base units of the one dialog font, 8-point "MS Sans Serif".
inline constexpr int kDialogBaseX = 6;
inline constexpr int kDialogBaseY = 13;

// The height of one item of a list box (also of an owner-drawn one): a line of the
// dialog font.
inline constexpr int kListItemHeight = kDialogBaseY;

// Our own non-client area, the classic one: the same on every display.
inline constexpr int kCaptionHeight = 18;
inline constexpr int kDialogFrame = 3;
inline constexpr int kSizingFrame = 4;
inline constexpr int kBorder = 1;

// Dialog units to pixels, rounded as MulDiv rounds.
int DialogXToPixels(int units);
int DialogYToPixels(int units);

// How far the client area lies inside the window rectangle on each side.
RECT NonClientInsets(DWORD style, DWORD exStyle, bool child);
// The window rectangle that gives a client rectangle.
RECT WindowRectForClient(const RECT& client, DWORD style, DWORD exStyle, bool child);

// The client size as a rectangle at (0, 0).
RECT ClientRect(const Window& window);
// Where the window's client point (0, 0) lies on the screen.
POINT ClientOriginOnScreen(const Window& window);
// The window rectangle in screen coordinates.
RECT ScreenRect(const Window& window);
// Where the client point (0, 0) lies on the surface of the window's top-level window.
POINT ClientOriginOnSurface(const Window& window);
// The part of the surface the window's client area shows: clipped by every ancestor's
// client area, empty when the window or an ancestor is hidden.
RECT VisibleClientOnSurface(const Window& window);

// The screen size: VORN_SCREEN=WxH, 800 x 600 by default.
SIZE ScreenSize();

RECT Intersect(const RECT& a, const RECT& b);
RECT Union(const RECT& a, const RECT& b);
bool IsEmpty(const RECT& r);
RECT Offset(const RECT& r, int dx, int dy);

}  // namespace vorn::user
