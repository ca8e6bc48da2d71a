// Where the window system's pixels and input go: the display backend interface, and
// the choice of the backend by the platform setting VORN_DISPLAY.
#pragma once

#include <memory>
#include <optional>

#include "platform/api/types.h"

namespace vorn::display {

// A display owns the clock of the message queue and delivers input. The window
// system calls Wait when it has nothing to deliver; the display then hands over
// input (through platform/user/input.h), lets its clock reach `deadline` (the next
// timer), or both, and returns.
class Display {
 public:
  virtual ~Display() = default;
  // Milliseconds on the display's clock: GetTickCount, message times and timers.
  virtual DWORD Now() = 0;
  virtual void Wait(std::optional<DWORD> deadline) = 0;
  // A top-level window was shown, hidden, moved, resized, retitled or repainted.
  virtual void WindowChanged(HWND window) { (void)window; }
  virtual void WindowDestroyed(HWND window) { (void)window; }
  // The size of a real screen, which the desktop window then takes; none for a
  // display without one.
  virtual std::optional<SIZE> ScreenSize() { return std::nullopt; }
};

// The display the platform runs on, made on first use: VORN_DISPLAY=headless, x11
// (headless, after saying why, when the X display cannot be used), or auto (the
// default): x11 when DISPLAY is set and the X display opens, else headless.
Display& Current();
// Replaces the display; for tests and for the x11 backend's registration.
void Install(std::unique_ptr<Display> display);

}  // namespace vorn::display
