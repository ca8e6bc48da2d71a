// Input from the display into the message queue: keys for the focus window,
// mouse buttons for a window under the pointer.
#pragma once

#include "platform/api/types.h"

namespace vorn::user {

// A key went down or up. The target (the focus window, else the active window) is
// chosen when the message is taken from the queue, as keyboard input is. With Alt
// held the messages are WM_SYSKEYDOWN and WM_SYSKEYUP.
void QueueKey(UINT virtualKey, bool down);
// A mouse message (WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK) for a window, at
// a point in its client coordinates.
void QueueMouse(HWND window, UINT message, POINT client);
// A mouse message at a point of the screen, for the window under it: the topmost
// visible window there, the deepest visible child (group boxes let clicks through).
// Clicks on a disabled window, or outside every client area, go nowhere.
void QueueMouseAt(UINT message, POINT screen);
bool InputPending();

}  // namespace vorn::user
