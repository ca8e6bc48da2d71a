// The message queue of the one thread: posted messages, input, quit, paint and
// timers, taken in that order; sent messages go straight to the window procedure.
#include <algorithm>
#include <array>
#include <deque>

#include "platform/display/display.h"
#include "platform/user/input.h"
#include "platform/user/internal.h"
#include "platform/user/metrics.h"
#include "platform/user/screen.h"

namespace vorn::user {

namespace {

struct Timer {
  HWND window;
  UINT_PTR id;
  UINT elapse;
  TIMERPROC proc;
  DWORD due;
};

struct InputEvent {
  MSG msg;          // hwnd is null for keys until the message is taken
  UINT virtualKey;  // keys only
  bool down;
};

constexpr UINT kTimerMinimum = 10;  // USER_TIMER_MINIMUM
constexpr DWORD kErrorInvalidWindowHandle = 1400;

std::deque<MSG> posted;
std::deque<InputEvent> input;
std::vector<Timer> timers;
bool quitPosted = false;
int quitCode = 0;
DWORD lastMessageTime = 0;
UINT_PTR nextThreadTimer = 0x7FF0;
std::array<bool, 256> keyDown{};

// Due times on a clock that wraps: a before b.
bool Before(DWORD a, DWORD b) { return static_cast<std::int32_t>(a - b) < 0; }

bool WindowMatches(HWND target, HWND filter) {
  if (filter == nullptr) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return target == nullptr;
  for (Window* w = Find(target); w != nullptr; w = IsChild(*w) ? Find(w->parent) : nullptr) {
    if (w->handle == filter) return true;
  }
  return false;
}

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

bool RangeMatches(UINT message, UINT min, UINT max) {
  return (min == 0 && max == 0) || (message >= min && message <= max);
}

HWND KeyTarget() {
  if (HWND focus = GetFocus()) return focus;
  return ActiveWindow();
}

bool AltDown() { return keyDown[VK_MENU]; }

MSG KeyMessage(const InputEvent& event) {
  MSG msg = event.msg;
  msg.hwnd = KeyTarget();
  const bool alt = AltDown() || (event.virtualKey == VK_MENU && event.down);
  // Alt with no focus anywhere, or F10, is also a system key; we need only Alt.
  if (alt) {
    msg.message = event.down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
  } else {
    msg.message = event.down ? WM_KEYDOWN : WM_KEYUP;
  }
  msg.wParam = event.virtualKey;
  LPARAM flags = 1;  // repeat count
  if (alt) flags |= 1 << 29;
  if (!event.down) flags |= static_cast<LPARAM>(3u << 30);
  msg.lParam = flags;
  return msg;
}

bool TakePosted(MSG* out, HWND filter, UINT min, UINT max, bool remove) {
  for (auto it = posted.begin(); it != posted.end();) {
    if (it->hwnd != nullptr && Find(it->hwnd) == nullptr) {
      it = posted.erase(it);  // messages to destroyed windows are dropped
      continue;
    }
    if (WindowMatches(it->hwnd, filter) && RangeMatches(it->message, min, max)) {
      *out = *it;
      if (remove) posted.erase(it);
      return true;
    }
    ++it;
  }
  return false;
}

bool TakeInput(MSG* out, HWND filter, UINT min, UINT max, bool remove) {
  for (auto it = input.begin(); it != input.end();) {
    MSG msg = it->msg.message == WM_NULL ? KeyMessage(*it) : it->msg;
    if (msg.hwnd == nullptr || Find(msg.hwnd) == nullptr) {
      if (it->msg.message == WM_NULL) keyDown[it->virtualKey & 0xFF] = it->down;
      it = input.erase(it);
      continue;
    }
    if (WindowMatches(msg.hwnd, filter) && RangeMatches(msg.message, min, max)) {
      *out = msg;
      if (remove) {
        if (it->msg.message == WM_NULL) keyDown[it->virtualKey & 0xFF] = it->down;
        input.erase(it);
      }
      return true;
    }
    ++it;
  }
  return false;
}

bool TakeTimer(MSG* out, HWND filter, UINT min, UINT max, bool remove) {
  if (!RangeMatches(WM_TIMER, min, max)) return false;
  const DWORD now = Now();
  Timer* due = nullptr;
  for (Timer& timer : timers) {
    if (Before(now, timer.due) || !WindowMatches(timer.window, filter)) continue;
    if (due == nullptr || Before(timer.due, due->due)) due = &timer;
  }
  if (due == nullptr) return false;
  *out = MSG{due->window, WM_TIMER, due->id, reinterpret_cast<LPARAM>(due->proc), 0, {0, 0}};
  if (remove) due->due = now + due->elapse;
  return true;
}

bool Take(MSG* out, HWND filter, UINT min, UINT max, bool remove) {
  bool found = TakePosted(out, filter, min, max, remove) || TakeInput(out, filter, min, max, remove);
  if (!found && quitPosted) {
    *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(quitCode), 0, 0, {0, 0}};
    if (remove) quitPosted = false;
    found = true;
  }
  if (!found && RangeMatches(WM_PAINT, min, max)) {
    if (HWND window = NextWindowToPaint(filter)) {
      *out = MSG{window, WM_PAINT, 0, 0, 0, {0, 0}};
      found = true;
    }
  }
  if (!found) found = TakeTimer(out, filter, min, max, remove);
  if (found) {
    out->time = Now();
    if (remove) lastMessageTime = out->time;
  }
  return found;
}

std::optional<DWORD> NextTimerDue() {
  std::optional<DWORD> next;
  for (const Timer& timer : timers) {
    if (!next || Before(timer.due, *next)) next = timer.due;
  }
  return next;
}

}  // namespace

DWORD Now() { return display::Current().Now(); }

void ForgetQueuedFor(HWND window) {
  posted.erase(std::remove_if(posted.begin(), posted.end(), [window](const MSG& m) { return m.hwnd == window; }),
               posted.end());
  input.erase(std::remove_if(input.begin(), input.end(), [window](const InputEvent& e) { return e.msg.hwnd == window && e.msg.message != WM_NULL; }),
              input.end());
  timers.erase(std::remove_if(timers.begin(), timers.end(), [window](const Timer& t) { return t.window == window; }),
               timers.end());
}

void ClearQueue() {
  posted.clear();
  input.clear();
  timers.clear();
  quitPosted = false;
  keyDown.fill(false);
}

void QueueKey(UINT virtualKey, bool down) {
  input.push_back(InputEvent{MSG{nullptr, WM_NULL, 0, 0, 0, {0, 0}}, virtualKey, down});
}

void QueueMouse(HWND window, UINT message, POINT client) {
  input.push_back(InputEvent{MSG{window, message, 0, MAKELPARAM(client.x, client.y), 0, {0, 0}}, 0, false});
}

void QueueMouseAt(UINT message, POINT screen) {
  const std::vector<HWND> order = ZOrder();
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    Window* window = Find(*it);
    if (!Contains(window->rect, screen)) continue;
    // Down through the children that contain the point, the last created on top.
    for (bool deeper = true; deeper;) {
      deeper = false;
      const POINT origin = ClientOriginOnScreen(*window);
      const POINT local{screen.x - origin.x, screen.y - origin.y};
      for (auto c = window->children.rbegin(); c != window->children.rend(); ++c) {
        Window* child = Find(*c);
        const bool groupBox = child->windowClass->name == "Button" && (child->style & BS_TYPEMASK) == BS_GROUPBOX;
        if ((child->style & WS_VISIBLE) && !groupBox && Contains(child->rect, local)) {
          window = child;
          deeper = true;
          break;
        }
      }
    }
    if (!IsReallyEnabled(*window)) return;
    const POINT origin = ClientOriginOnScreen(*window);
    const POINT client{screen.x - origin.x, screen.y - origin.y};
    if (!Contains(ClientRect(*window), client)) return;
    QueueMouse(window->handle, message, client);
    return;
  }
}

bool InputPending() { return !input.empty(); }

}  // namespace vorn::user

using namespace vorn;
using namespace vorn::user;

BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
  for (;;) {
    if (Take(msg, window, filterMin, filterMax, true)) return msg->message != WM_QUIT;
    display::Current().Wait(NextTimerDue());
  }
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
  return Take(msg, window, filterMin, filterMax, (remove & PM_REMOVE) != 0);
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != nullptr && Find(window) == nullptr) {
    SetLastError(kErrorInvalidWindowHandle);
    return FALSE;
  }
  posted.push_back(MSG{window, message, wParam, lParam, 0, {0, 0}});
  return TRUE;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* target = Find(window);
  if (target == nullptr) {
    SetLastError(kErrorInvalidWindowHandle);
    return 0;
  }
  return CallWindowProcA(target->proc, window, message, wParam, lParam);
}

void WINAPI PostQuitMessage(int exitCode) {
  quitPosted = true;
  quitCode = exitCode;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
  if (msg == nullptr || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  const UINT key = static_cast<UINT>(msg->wParam);
  char c = 0;
  if (key >= 'A' && key <= 'Z') {
    c = static_cast<char>(keyDown[VK_SHIFT] ? key : key - 'A' + 'a');
  } else if ((key >= '0' && key <= '9') || key == VK_SPACE) {
    c = static_cast<char>(key);
  } else if (key == VK_RETURN) {
    c = '\r';
  } else if (key == VK_TAB) {
    c = '\t';
  } else if (key == VK_ESCAPE) {
    c = 0x1B;
  } else if (key == VK_BACK) {
    c = 0x08;
  }
  if (c == 0) return FALSE;
  // The character comes next, before anything else that was posted.
  const UINT message = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  posted.push_front(MSG{msg->hwnd, message, static_cast<WPARAM>(static_cast<unsigned char>(c)), msg->lParam, 0, {0, 0}});
  return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
  if (msg == nullptr) return 0;
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, Now());
    return 0;
  }
  if (msg->hwnd == nullptr) return 0;
  return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (window != nullptr && Find(window) == nullptr) {
    SetLastError(kErrorInvalidWindowHandle);
    return 0;
  }
  if (window == nullptr) id = ++nextThreadTimer;
  elapse = std::max(elapse, kTimerMinimum);
  // Arming a timer that is armed restarts it.
  timers.erase(std::remove_if(timers.begin(), timers.end(),
                              [&](const Timer& t) { return t.window == window && t.id == id; }),
               timers.end());
  timers.push_back(Timer{window, id, elapse, proc, Now() + elapse});
  return id != 0 ? id : 1;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
  const auto before = timers.size();
  timers.erase(std::remove_if(timers.begin(), timers.end(),
                              [&](const Timer& t) { return t.window == window && t.id == id; }),
               timers.end());
  return timers.size() != before;
}

LONG WINAPI GetMessageTime(void) { return static_cast<LONG>(lastMessageTime); }

DWORD WINAPI GetTickCount(void) { return Now(); }

short WINAPI GetKeyState(int virtualKey) {
  return keyDown[static_cast<unsigned>(virtualKey) & 0xFF] ? static_cast<short>(0x8000) : 0;
}
