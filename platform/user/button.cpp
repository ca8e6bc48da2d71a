// The BUTTON class: push and default push buttons, check boxes, radio buttons and
// group boxes, clicked by mouse, space bar or BM_CLICK.
#include "platform/user/internal.h"
#include "platform/user/look.h"

namespace vorn::user {

namespace {

UINT Kind(const Window& window) { return window.style & BS_TYPEMASK; }

bool IsPushButton(UINT kind) { return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON; }

void UncheckOthersInGroup(Window& button) {
  Window* parent = Find(button.parent);
  if (parent == nullptr) return;
  // A group runs from a control with WS_GROUP up to the next one.
  const std::vector<HWND>& siblings = parent->children;
  std::size_t self = 0;
  for (std::size_t i = 0; i < siblings.size(); ++i) {
    if (siblings[i] == button.handle) self = i;
  }
  std::size_t first = self;
  while (first > 0 && !(Find(siblings[first])->style & WS_GROUP)) --first;
  for (std::size_t i = first; i < siblings.size(); ++i) {
    Window* other = Find(siblings[i]);
    if (i > first && (other->style & WS_GROUP)) break;
    if (other != &button && Kind(*other) == BS_AUTORADIOBUTTON) SendMessageA(other->handle, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

void Clicked(HWND handle) {
  Window* window = Find(handle);
  if (window == nullptr) return;
  switch (Kind(*window)) {
    case BS_AUTOCHECKBOX:
      SendMessageA(handle, BM_SETCHECK, window->control.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
      break;
    case BS_AUTO3STATE:
      SendMessageA(handle, BM_SETCHECK, (window->control.check + 1) % 3, 0);
      break;
    case BS_AUTORADIOBUTTON:
      SendMessageA(handle, BM_SETCHECK, BST_CHECKED, 0);
      UncheckOthersInGroup(*window);
      break;
    default:
      break;
  }
  NotifyParent(handle, BN_CLICKED);
}

void SetPushed(Window& window, bool pushed) {
  if (window.control.pushed == pushed) return;
  window.control.pushed = pushed;
  Invalidate(window.handle, nullptr, false);
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = Find(handle);
  if (window == nullptr) return 0;
  const UINT kind = Kind(*window);
  switch (message) {
    case WM_GETDLGCODE:
      if (kind == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      if (kind == BS_PUSHBUTTON) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      if (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON) return DLGC_BUTTON | DLGC_RADIOBUTTON;
      return DLGC_BUTTON;
    case BM_GETCHECK:
      return window->control.check;
    case BM_SETCHECK:
      if (IsPushButton(kind) || kind == BS_GROUPBOX) return 0;
      if (window->control.check != static_cast<int>(wParam)) {
        window->control.check = static_cast<int>(wParam) & 3;
        Invalidate(handle, nullptr, false);
      }
      return 0;
    case BM_GETSTATE:
      return window->control.check | (window->control.pushed ? BST_PUSHED : 0) |
             (GetFocus() == handle ? BST_FOCUS : 0);
    case BM_SETSTATE:
      SetPushed(*window, wParam != 0);
      return 0;
    case BM_SETSTYLE:
      window->style = (window->style & ~0xFFFFu) | (static_cast<DWORD>(wParam) & 0xFFFFu);
      if (lParam) Invalidate(handle, nullptr, true);
      return 0;
    case BM_CLICK:
      // As documented: the button gets a press and a release of the mouse button.
      if (!IsReallyEnabled(*window) || kind == BS_GROUPBOX) return 0;
      SendMessageA(handle, WM_LBUTTONDOWN, 0, 0);
      SendMessageA(handle, WM_LBUTTONUP, 0, 0);
      return 0;
    case WM_LBUTTONDOWN:
      if (kind == BS_GROUPBOX) return 0;
      SetFocus(handle);
      if ((window = Find(handle)) != nullptr) SetPushed(*window, true);
      return 0;
    case WM_LBUTTONUP:
      if (kind == BS_GROUPBOX || !window->control.pushed) return 0;
      SetPushed(*window, false);
      Clicked(handle);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && kind != BS_GROUPBOX) SetPushed(*window, true);
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE && window->control.pushed) {
        SetPushed(*window, false);
        Clicked(handle);
      }
      return 0;
    case WM_KILLFOCUS:
      SetPushed(*window, false);
      Invalidate(handle, nullptr, false);
      return 0;
    case WM_SETFOCUS:
      Invalidate(handle, nullptr, false);
      return 0;
    case WM_PAINT:
      PaintButton(handle);
      return 0;
    default:
      return DefWindowProcA(handle, message, wParam, lParam);
  }
}

LRESULT CALLBACK StaticProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case STM_SETICON: {
      Window* window = Find(handle);
      if (window == nullptr) return 0;
      HICON previous = window->control.icon;
      window->control.icon = reinterpret_cast<HICON>(wParam);
      Invalidate(handle, nullptr, true);
      return reinterpret_cast<LRESULT>(previous);
    }
    case STM_GETICON: {
      Window* window = Find(handle);
      return window != nullptr ? reinterpret_cast<LRESULT>(window->control.icon) : 0;
    }
    case WM_PAINT:
      PaintStatic(handle);
      return 0;
    default:
      return DefWindowProcA(handle, message, wParam, lParam);
  }
}

}  // namespace vorn::user
