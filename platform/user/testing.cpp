// The window system's reset between tests.
#include "platform/user/testing.h"

#include "platform/user/internal.h"

namespace vorn::automation {

void ResetWindowSystemForTesting() {
  SetFocus(nullptr);
  const std::vector<HWND> windows = user::TopLevelWindows();
  for (HWND window : windows) DestroyWindow(window);
  user::ClearQueue();
  SetMessageBoxResponder(nullptr);
  ClearMessageBoxLog();
}

}  // namespace vorn::automation
