// The x11 display: one undecorated X window for each visible top-level window,
// showing the window's surface (frame and caption bar included, as we draw them),
// pointer and keys from X as the window system's input, and the real clock.
#pragma once

#include <memory>

#include "platform/display/display.h"

namespace vorn::display {

// A display on the X server that DISPLAY names; null, after saying why on stderr
// when `quiet` is false, when DISPLAY is not set or the server cannot be used.
std::unique_ptr<Display> OpenX11Display(bool quiet);

}  // namespace vorn::display
