// A fixture for tests of the window system: a clean window system per test, a
// window class that records what it receives, and a pump that runs the queue dry.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/testing.h"
#include "platform/win32.h"

namespace vorn::testing {

class WindowSystemTest : public ::testing::Test {
 public:
  // The messages the recording class has seen (WM_USER and up, WM_TIMER, WM_PAINT,
  // keys and WM_COMMAND), as "name wParam".
  static std::vector<std::string>& Seen();

 protected:
  void SetUp() override;
  void TearDown() override;

  // A visible top-level window of the recording class.
  HWND MakeWindow(const char* title = "host");
  // Dispatches what the queue holds now, through the dialog manager for `dialog`.
  void Pump(HWND dialog = nullptr);
  // A key pressed and released, with modifiers ("Alt", "Shift") held around it.
  void Press(UINT key, std::vector<UINT> modifiers = {});
};

}  // namespace vorn::testing
