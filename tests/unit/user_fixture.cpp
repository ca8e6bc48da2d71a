// The window system fixture.
#include "tests/unit/user_fixture.h"

#include "platform/display/automation.h"
#include "platform/user/input.h"

namespace vorn::testing {

namespace {

const char* kClass = "vorn test window";

std::string Name(UINT message) {
  switch (message) {
    case WM_PAINT: return "paint";
    case WM_TIMER: return "timer";
    case WM_KEYDOWN: return "keydown";
    case WM_KEYUP: return "keyup";
    case WM_CHAR: return "char";
    case WM_COMMAND: return "command";
    default: return message >= WM_USER ? "user+" + std::to_string(message - WM_USER) : "";
  }
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const std::string name = Name(message);
  if (!name.empty()) WindowSystemTest::Seen().push_back(name + " " + std::to_string(wParam));
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

std::vector<std::string>& WindowSystemTest::Seen() {
  static std::vector<std::string> seen;
  return seen;
}

void WindowSystemTest::SetUp() {
  automation::ResetWindowSystemForTesting();
  automation::SetScriptText("");
  Seen().clear();
  static bool registered = false;
  if (!registered) {
    WNDCLASSA c{};
    c.lpfnWndProc = RecordingProc;
    c.lpszClassName = kClass;
    ASSERT_NE(RegisterClassA(&c), 0);
    registered = true;
  }
}

void WindowSystemTest::TearDown() { automation::ResetWindowSystemForTesting(); }

HWND WindowSystemTest::MakeWindow(const char* title) {
  HWND window = CreateWindowExA(0, kClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr, nullptr,
                                nullptr, nullptr);
  EXPECT_NE(window, nullptr);
  return window;
}

void WindowSystemTest::Pump(HWND dialog) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    if (dialog != nullptr && IsDialogMessageA(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void WindowSystemTest::Press(UINT key, std::vector<UINT> modifiers) {
  for (UINT m : modifiers) user::QueueKey(m, true);
  user::QueueKey(key, true);
  user::QueueKey(key, false);
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) user::QueueKey(*it, false);
}

}  // namespace vorn::testing
