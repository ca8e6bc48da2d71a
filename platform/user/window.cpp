// Windows: creation and destruction, handles, text, visibility, enabling,
// activation and the keyboard focus.
#include <algorithm>
#include <map>

#include "platform/core/error.h"
#include "platform/display/display.h"
#include "platform/display/trace.h"
#include "platform/user/internal.h"
#include "platform/user/metrics.h"
#include "platform/user/screen.h"

namespace vorn::user {

namespace {

std::map<HWND, std::unique_ptr<Window>> windows;
std::vector<HWND> topLevel;        // creation order
std::vector<HWND> activationOrder;  // least recently active first
HWND activeWindow = nullptr;
HWND focusWindow = nullptr;
HWND desktop = nullptr;
ULONG_PTR nextHandle = 0x10000;

constexpr DWORD kErrorInvalidWindowHandle = 1400;
constexpr DWORD kErrorClassDoesNotExist = 1411;
constexpr DWORD kErrorTlwWithWsChild = 1406;

// Automation traces the status line of a dialog, its control 113, as it changes.
constexpr int kStatusLineId = 113;

// Handles are never reused, so a stale handle stays invalid for good.
HWND NewHandle() {
  nextHandle += 4;
  return reinterpret_cast<HWND>(nextHandle);
}

void Remove(std::vector<HWND>& list, HWND handle) { list.erase(std::remove(list.begin(), list.end(), handle), list.end()); }

Window& Desktop() {
  if (desktop == nullptr) {
    auto window = std::make_unique<Window>();
    desktop = NewHandle();
    window->handle = desktop;
    window->windowClass = FindClass("#32769");
    window->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    const SIZE screen = ScreenSize();
    window->rect = {0, 0, screen.cx, screen.cy};
    windows[desktop] = std::move(window);
  }
  return *windows[desktop];
}

bool CanBeActive(HWND handle) {
  Window* window = Find(handle);
  return window != nullptr && !window->destroying && (window->style & WS_VISIBLE) && !(window->style & WS_DISABLED);
}

void DestroyTree(HWND handle);

}  // namespace

Window* Find(HWND handle) {
  if (handle == nullptr) return nullptr;
  auto it = windows.find(handle);
  return it == windows.end() ? nullptr : it->second.get();
}

bool IsChild(const Window& window) { return (window.style & WS_CHILD) != 0 && window.parent != nullptr; }

Window* Root(Window* window) {
  while (window != nullptr && IsChild(*window)) window = Find(window->parent);
  return window;
}

const std::vector<HWND>& TopLevelWindows() { return topLevel; }

bool IsReallyVisible(const Window& window) {
  for (const Window* w = &window; w != nullptr; w = IsChild(*w) ? Find(w->parent) : nullptr) {
    if (!(w->style & WS_VISIBLE)) return false;
  }
  return true;
}

bool IsReallyEnabled(const Window& window) {
  for (const Window* w = &window; w != nullptr; w = IsChild(*w) ? Find(w->parent) : nullptr) {
    if (w->style & WS_DISABLED) return false;
  }
  return true;
}

void NotifyParent(HWND control, WORD code) {
  Window* window = Find(control);
  if (window == nullptr || !IsChild(*window)) return;
  SendMessageA(window->parent, WM_COMMAND, MAKEWPARAM(window->id, code), reinterpret_cast<LPARAM>(control));
}

void ChangeText(HWND handle, const std::string& text) {
  Window* window = Find(handle);
  if (window == nullptr || window->text == text) return;
  window->text = text;
  if (IsChild(*window)) {
    Invalidate(handle, nullptr, true);
    if (window->id == kStatusLineId && IsTemplateDialog(window->parent)) automation::Trace("status " + automation::Quote(text));
  } else {
    display::Current().WindowChanged(handle);
  }
}

HWND ActiveWindow() { return activeWindow; }

std::vector<HWND> ZOrder() {
  // Windows that were never active lie under those that were, oldest first.
  std::vector<HWND> order;
  for (HWND handle : topLevel) {
    if (std::find(activationOrder.begin(), activationOrder.end(), handle) == activationOrder.end()) order.push_back(handle);
  }
  order.insert(order.end(), activationOrder.begin(), activationOrder.end());
  order.erase(std::remove_if(order.begin(), order.end(),
                             [](HWND h) { Window* w = Find(h); return w == nullptr || !(w->style & WS_VISIBLE); }),
              order.end());
  return order;
}

void Activate(HWND handle) {
  Window* window = Find(handle);
  if (window == nullptr) return;
  window = Root(window);
  handle = window->handle;
  Remove(activationOrder, handle);
  activationOrder.push_back(handle);
  if (activeWindow == handle) return;
  const HWND previous = activeWindow;
  activeWindow = handle;
  if (Find(previous) != nullptr) SendMessageA(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(handle));
  if (activeWindow == handle) SendMessageA(handle, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
}

void ActivateNextAfter(HWND leaving) {
  if (activeWindow != leaving) return;
  Window* window = Find(leaving);
  HWND next = nullptr;
  if (window != nullptr && CanBeActive(window->owner)) {
    next = window->owner;
  } else {
    for (auto it = activationOrder.rbegin(); it != activationOrder.rend(); ++it) {
      if (*it != leaving && CanBeActive(*it)) {
        next = *it;
        break;
      }
    }
  }
  activeWindow = nullptr;
  if (next != nullptr) {
    Activate(next);
  } else if (Find(leaving) != nullptr) {
    // Nothing takes over: the keyboard goes nowhere until a window is activated.
    if (Window* focus = Find(focusWindow); focus != nullptr && Root(focus)->handle == leaving) SetFocus(nullptr);
    SendMessageA(leaving, WM_ACTIVATE, WA_INACTIVE, 0);
  }
}

void SetVisible(HWND handle, bool visible) {
  Window* window = Find(handle);
  if (window == nullptr || ((window->style & WS_VISIBLE) != 0) == visible) return;
  if (visible) {
    window->style |= WS_VISIBLE;
    Invalidate(handle, nullptr, true);
  } else {
    if (IsChild(*window)) {
      // What the window covered must be painted again by its parent.
      RECT covered = window->rect;
      Invalidate(window->parent, &covered, true);
    }
    window->style &= ~WS_VISIBLE;
  }
  if (!IsChild(*window)) {
    display::Current().WindowChanged(handle);
    if (!visible) ActivateNextAfter(handle);
  }
}

namespace {

void DestroyTree(HWND handle) {
  Window* window = Find(handle);
  if (window == nullptr) return;
  SendMessageA(handle, WM_DESTROY, 0, 0);
  window = Find(handle);
  if (window == nullptr) return;
  const std::vector<HWND> children = window->children;
  for (HWND child : children) {
    if (Window* c = Find(child); c != nullptr && !c->destroying) {
      c->destroying = true;
      DestroyTree(child);
    }
  }
  SendMessageA(handle, WM_NCDESTROY, 0, 0);
  window = Find(handle);
  if (window == nullptr) return;
  if (focusWindow == handle) focusWindow = nullptr;
  ForgetQueuedFor(handle);
  if (IsChild(*window)) {
    if (Window* parent = Find(window->parent)) {
      Remove(parent->children, handle);
      if (parent->lastFocus == handle) parent->lastFocus = nullptr;
    }
  } else {
    Remove(topLevel, handle);
    Remove(activationOrder, handle);
    display::Current().WindowDestroyed(handle);
  }
  for (auto& entry : windows) {
    if (entry.second->lastFocus == handle) entry.second->lastFocus = nullptr;
  }
  windows.erase(handle);
}

}  // namespace

}  // namespace vorn::user

using namespace vorn;
using namespace vorn::user;

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  RegisterBuiltInClasses();
  const WindowClass* windowClass = nullptr;
  if (IS_INTRESOURCE(className)) {
    windowClass = FindClass("#" + std::to_string(reinterpret_cast<ULONG_PTR>(className)));
  } else if (className != nullptr) {
    windowClass = FindClass(className);
  }
  if (windowClass == nullptr) {
    SetLastError(kErrorClassDoesNotExist);
    return nullptr;
  }
  const bool child = (style & WS_CHILD) != 0;
  Window* parentWindow = Find(parent);
  if (child && parentWindow == nullptr) {
    SetLastError(kErrorTlwWithWsChild);
    return nullptr;
  }
  if (parent != nullptr && parentWindow == nullptr) {
    SetLastError(kErrorInvalidWindowHandle);
    return nullptr;
  }
  if (!child && !(style & WS_POPUP)) style |= WS_CAPTION | WS_CLIPSIBLINGS;  // overlapped windows
  if (!child) {
    const SIZE screen = ScreenSize();
    if (x == CW_USEDEFAULT) x = y = screen.cx / 8;
    if (width == CW_USEDEFAULT) {
      width = screen.cx * 3 / 4;
      height = screen.cy * 3 / 4;
    }
  }

  auto record = std::make_unique<Window>();
  const HWND handle = NewHandle();
  record->handle = handle;
  record->windowClass = windowClass;
  record->proc = windowClass->proc;
  record->style = style & ~WS_VISIBLE;
  record->exStyle = exStyle;
  record->instance = instance;
  record->text = windowName != nullptr ? windowName : "";
  record->rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
  if (child) {
    record->parent = parent;
    record->id = static_cast<int>(reinterpret_cast<INT_PTR>(menu));
  } else {
    Window* ownerWindow = Root(parentWindow);
    record->owner = ownerWindow != nullptr && ownerWindow->handle != GetDesktopWindow() ? ownerWindow->handle : nullptr;
    record->surface = std::make_unique<gdi::Surface>();
    record->surface->Resize(std::max(width, 0), std::max(height, 0), 0xC0C0C0);
  }
  Window* window = record.get();
  windows[handle] = std::move(record);
  if (child) {
    parentWindow->children.push_back(handle);
  } else {
    topLevel.push_back(handle);
  }

  CREATESTRUCTA create{param, instance, menu, parent, height, width, y, x, static_cast<LONG>(style), windowName,
                       className, exStyle};
  if (!SendMessageA(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)) ||
      SendMessageA(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  window = Find(handle);
  if (window == nullptr) return nullptr;
  if (style & WS_VISIBLE) {
    if (child) {
      SetVisible(handle, true);
    } else {
      ShowWindow(handle, SW_SHOW);
    }
  }
  return Find(handle) != nullptr ? handle : nullptr;
}

BOOL WINAPI DestroyWindow(HWND handle) {
  Window* window = Find(handle);
  if (window == nullptr || handle == GetDesktopWindow()) {
    SetLastError(kErrorInvalidWindowHandle);
    return FALSE;
  }
  if (window->destroying) return TRUE;
  window->destroying = true;
  if (!IsChild(*window)) {
    // Owned windows go first, as they cannot outlive their owner.
    const std::vector<HWND> all = topLevel;
    for (HWND other : all) {
      if (Window* o = Find(other); o != nullptr && o->owner == handle) DestroyWindow(other);
    }
  }
  if (Find(handle) == nullptr) return TRUE;
  SetVisible(handle, false);
  if (focusWindow != nullptr) {
    for (Window* w = Find(focusWindow); w != nullptr; w = IsChild(*w) ? Find(w->parent) : nullptr) {
      if (w->handle == handle) {
        focusWindow = nullptr;
        break;
      }
    }
  }
  if (activeWindow == handle) ActivateNextAfter(handle);
  if (activeWindow == handle) activeWindow = nullptr;
  DestroyTree(handle);
  return TRUE;
}

BOOL WINAPI IsWindow(HWND handle) { return Find(handle) != nullptr; }

BOOL WINAPI IsWindowVisible(HWND handle) {
  Window* window = Find(handle);
  return window != nullptr && IsReallyVisible(*window);
}

BOOL WINAPI IsWindowEnabled(HWND handle) {
  Window* window = Find(handle);
  return window != nullptr && !(window->style & WS_DISABLED);
}

BOOL WINAPI ShowWindow(HWND handle, int command) {
  Window* window = Find(handle);
  if (window == nullptr) return FALSE;
  const bool wasVisible = (window->style & WS_VISIBLE) != 0;
  const bool show = command != SW_HIDE;
  if (wasVisible != show) {
    SendMessageA(handle, WM_SHOWWINDOW, show, 0);
    SetVisible(handle, show);
  }
  window = Find(handle);
  if (window != nullptr && show && !IsChild(*window) && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
      !(window->style & WS_DISABLED)) {
    Activate(handle);
  }
  return wasVisible;
}

BOOL WINAPI EnableWindow(HWND handle, BOOL enable) {
  Window* window = Find(handle);
  if (window == nullptr) return FALSE;
  const bool wasDisabled = (window->style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled;
  if (enable) {
    window->style &= ~WS_DISABLED;
  } else {
    window->style |= WS_DISABLED;
    if (focusWindow != nullptr) {
      for (Window* w = Find(focusWindow); w != nullptr; w = IsChild(*w) ? Find(w->parent) : nullptr) {
        if (w->handle == handle) {
          SetFocus(nullptr);
          break;
        }
      }
    }
  }
  SendMessageA(handle, WM_ENABLE, enable, 0);
  if (Find(handle) != nullptr) Invalidate(handle, nullptr, true);
  return wasDisabled;
}

HWND WINAPI GetParent(HWND handle) {
  Window* window = Find(handle);
  if (window == nullptr) return nullptr;
  if (IsChild(*window)) return window->parent;
  return (window->style & WS_POPUP) ? window->owner : nullptr;
}

HWND WINAPI GetDesktopWindow(void) { return Desktop().handle; }

HWND WINAPI GetFocus(void) { return Find(focusWindow) != nullptr ? focusWindow : nullptr; }

HWND WINAPI GetActiveWindow(void) { return Find(activeWindow) != nullptr ? activeWindow : nullptr; }

HWND WINAPI SetFocus(HWND handle) {
  const HWND original = GetFocus();
  Window* window = Find(handle);
  if (handle != nullptr && window == nullptr) {
    SetLastError(kErrorInvalidWindowHandle);
    return nullptr;
  }
  if (handle == original) return original;
  if (window != nullptr) {
    // Focus on a window of another top-level window activates that one first,
    // which may itself move the focus.
    Window* root = Root(window);
    if (root->handle != activeWindow) Activate(root->handle);
    if (Find(handle) == nullptr) return original;
  }
  const HWND current = GetFocus();
  if (current == handle) return original;
  focusWindow = handle;
  if (current != nullptr) SendMessageA(current, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
  if (focusWindow == handle && handle != nullptr) {
    Window* w = Find(handle);
    if (Window* root = Root(w); root != nullptr && root != w) root->lastFocus = handle;
    SendMessageA(handle, WM_SETFOCUS, reinterpret_cast<WPARAM>(current), 0);
  }
  return original;
}

BOOL WINAPI SetWindowTextA(HWND handle, LPCSTR text) {
  if (Find(handle) == nullptr) return FALSE;
  return static_cast<BOOL>(SendMessageA(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int WINAPI GetWindowTextA(HWND handle, LPSTR text, int max) {
  if (text != nullptr && max > 0) text[0] = '\0';
  if (Find(handle) == nullptr) return 0;
  return static_cast<int>(SendMessageA(handle, WM_GETTEXT, static_cast<WPARAM>(max), reinterpret_cast<LPARAM>(text)));
}

int WINAPI GetWindowTextLengthA(HWND handle) {
  if (Find(handle) == nullptr) return 0;
  return static_cast<int>(SendMessageA(handle, WM_GETTEXTLENGTH, 0, 0));
}

int WINAPI GetDlgCtrlID(HWND handle) {
  Window* window = Find(handle);
  return window != nullptr && IsChild(*window) ? window->id : 0;
}
