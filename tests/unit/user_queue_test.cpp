// The message queue: the order in which GetMessage takes messages, timers, handles
// of destroyed windows, and nested modal loops that keep dispatching.
#include <optional>

#include "platform/display/automation.h"
#include "platform/display/display.h"
#include "platform/display/headless.h"
#include "platform/user/input.h"
#include "tests/unit/user_fixture.h"

namespace vorn::testing {
namespace {

// A display whose clock the test sets; it must never be asked to wait for input.
class ClockDisplay : public display::Display {
 public:
  DWORD now = 1000;
  DWORD Now() override { return now; }
  void Wait(std::optional<DWORD> deadline) override {
    if (deadline) {
      now = *deadline;
      return;
    }
    ADD_FAILURE() << "the queue waited for input";
    PostQuitMessage(99);
  }
};

class QueueTest : public WindowSystemTest {
 protected:
  void SetUp() override {
    WindowSystemTest::SetUp();
    auto display = std::make_unique<ClockDisplay>();
    clock_ = display.get();
    display::Install(std::move(display));
  }
  void TearDown() override {
    WindowSystemTest::TearDown();
    display::Install(std::make_unique<display::HeadlessDisplay>());
  }
  bool TimerDue(HWND window) {
    MSG msg;
    return PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE) != FALSE;
  }
  ClockDisplay* clock_ = nullptr;
};

TEST_F(QueueTest, TakesPostedThenInputThenPaintThenTimers) {
  HWND window = MakeWindow();
  Pump();
  Seen().clear();
  SetTimer(window, 7, 10, nullptr);
  clock_->now += 10;
  InvalidateRect(window, nullptr, FALSE);
  user::QueueKey('A', true);
  PostMessageA(window, WM_USER + 1, 0, 0);
  MSG msg;
  for (int i = 0; i < 4 && GetMessageA(&msg, nullptr, 0, 0); ++i) DispatchMessageA(&msg);
  EXPECT_EQ(Seen(), (std::vector<std::string>{"user+1 0", "keydown 65", "paint 0", "timer 7"}));
}

TEST_F(QueueTest, PaintComesOnceUntilInvalidatedAgain) {
  HWND window = MakeWindow();
  Pump();
  Seen().clear();
  InvalidateRect(window, nullptr, TRUE);
  InvalidateRect(window, nullptr, TRUE);
  Pump();
  EXPECT_EQ(Seen(), (std::vector<std::string>{"paint 0"}));
}

TEST_F(QueueTest, ArmingAnArmedTimerRestartsIt) {
  HWND window = MakeWindow();
  SetTimer(window, 1, 50, nullptr);
  clock_->now += 30;
  SetTimer(window, 1, 50, nullptr);
  clock_->now += 49;
  EXPECT_FALSE(TimerDue(window));
  clock_->now += 1;
  EXPECT_TRUE(TimerDue(window));
  EXPECT_FALSE(TimerDue(window)) << "one expiry per period";
  clock_->now += 50;
  EXPECT_TRUE(TimerDue(window));
  KillTimer(window, 1);
  clock_->now += 500;
  EXPECT_FALSE(TimerDue(window));
}

TEST_F(QueueTest, GetMessageWaitsForTheNextTimerOnTheVirtualClock) {
  HWND window = MakeWindow();
  Pump();
  const DWORD start = GetTickCount();
  SetTimer(window, 1, 50, nullptr);
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(GetTickCount() - start, 50u);
  EXPECT_EQ(msg.time, start + 50);
}

TEST_F(QueueTest, QuitComesAfterPostedMessages) {
  HWND window = MakeWindow();
  Pump();
  PostQuitMessage(5);
  PostMessageA(window, WM_USER + 3, 0, 0);
  MSG msg;
  EXPECT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 3));
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(QueueTest, HandlesOfDestroyedWindowsStayInvalid) {
  HWND window = MakeWindow();
  PostMessageA(window, WM_USER + 2, 0, 0);
  SetTimer(window, 1, 10, nullptr);
  ASSERT_TRUE(DestroyWindow(window));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(DestroyWindow(window));
  EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessageA(window, WM_USER, 0, 0));
  EXPECT_EQ(SetTimer(window, 1, 10, nullptr), 0u);
  clock_->now += 100;
  Seen().clear();
  Pump();
  EXPECT_TRUE(Seen().empty()) << "messages to a destroyed window are dropped";
  HWND next = MakeWindow();
  EXPECT_NE(next, window) << "handles are not reused";
}

// Nested loops run under the headless display and its script.
class NestedLoopTest : public WindowSystemTest {};

BOOL hostEnabledDuringBox = TRUE;
HWND boxOwner = nullptr;
void CALLBACK NoteOwnerState(HWND, UINT, UINT_PTR, DWORD) { hostEnabledDuringBox = IsWindowEnabled(boxOwner); }

TEST_F(NestedLoopTest, MessageBoxLoopDispatchesTimersAndPostedMessagesToOtherWindows) {
  HWND host = MakeWindow("host");
  HWND other = MakeWindow("other");
  SetTimer(other, 3, 50, nullptr);
  PostMessageA(other, WM_USER + 5, 0, 0);
  boxOwner = host;
  SetTimer(nullptr, 0, 30, NoteOwnerState);
  automation::SetScriptText("wait 120\nanswer ok\n");
  EXPECT_EQ(MessageBoxA(host, "Text", "Caption", MB_OK), IDOK);
  int timers = 0;
  bool posted = false;
  for (const std::string& s : Seen()) {
    timers += s == "timer 3";
    posted = posted || s == "user+5 0";
  }
  EXPECT_EQ(timers, 2) << "expiries at 50 and 100 ms";
  EXPECT_TRUE(posted);
  EXPECT_FALSE(hostEnabledDuringBox) << "the owner is disabled while the box is open";
  EXPECT_TRUE(IsWindowEnabled(host));
  EXPECT_EQ(GetActiveWindow(), host);
}

}  // namespace
}  // namespace vorn::testing
