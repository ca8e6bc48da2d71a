// The EDIT class, single-line: text, selection and caret, typing, and the
// EN_UPDATE/EN_CHANGE notifications that every change of the text sends.
#include <algorithm>

#include "platform/user/internal.h"
#include "platform/user/look.h"

namespace vorn::user {

namespace {

void Changed(HWND handle) {
  NotifyParent(handle, EN_UPDATE);
  NotifyParent(handle, EN_CHANGE);
}

void Select(Window& window, long start, long end) {
  const long length = static_cast<long>(window.text.size());
  if (start == -1) {
    start = end = static_cast<long>(window.control.editSelEnd);  // deselect, keep the caret
  } else {
    if (end == -1 || end > length) end = length;
    start = std::clamp(start, 0L, length);
    end = std::clamp(end, 0L, length);
  }
  window.control.editSelStart = static_cast<DWORD>(std::min(start, end));
  window.control.editSelEnd = static_cast<DWORD>(std::max(start, end));
  Invalidate(window.handle, nullptr, false);
}

void ReplaceSelection(HWND handle, const std::string& with) {
  Window* window = Find(handle);
  ControlState& c = window->control;
  std::string text = window->text;
  text.replace(c.editSelStart, c.editSelEnd - c.editSelStart, with);
  if (text.size() > c.textLimit) return;
  const DWORD caret = c.editSelStart + static_cast<DWORD>(with.size());
  ChangeText(handle, text);
  if ((window = Find(handle)) == nullptr) return;
  window->control.editSelStart = window->control.editSelEnd = caret;
  Changed(handle);
}

}  // namespace

LRESULT CALLBACK EditProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = Find(handle);
  if (window == nullptr) return 0;
  ControlState& c = window->control;
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_SETTEXT:
      ChangeText(handle, lParam != 0 ? reinterpret_cast<const char*>(lParam) : "");
      if ((window = Find(handle)) == nullptr) return TRUE;
      window->control.editSelStart = window->control.editSelEnd = 0;
      Changed(handle);
      return TRUE;
    case EM_SETSEL:
      Select(*window, static_cast<long>(static_cast<int>(wParam)), static_cast<long>(static_cast<int>(lParam)));
      return 0;
    case EM_GETSEL:
      if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = c.editSelStart;
      if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = c.editSelEnd;
      return MAKELONG(c.editSelStart, c.editSelEnd);
    case EM_REPLACESEL:
      ReplaceSelection(handle, lParam != 0 ? reinterpret_cast<const char*>(lParam) : "");
      return 0;
    case EM_LIMITTEXT:
      c.textLimit = wParam != 0 ? static_cast<DWORD>(wParam) : 0x7FFFFFFE;
      return 0;
    case EM_SCROLLCARET:
      return TRUE;
    case WM_CHAR:
      if (window->style & ES_READONLY) return 0;
      if (wParam == VK_BACK) {
        if (c.editSelStart == c.editSelEnd && c.editSelStart > 0) c.editSelStart -= 1;
        ReplaceSelection(handle, "");
      } else if (wParam >= 0x20 && wParam != 0x7F) {
        ReplaceSelection(handle, std::string(1, static_cast<char>(wParam)));
      }
      return 0;
    case WM_KEYDOWN: {
      const DWORD length = static_cast<DWORD>(window->text.size());
      DWORD caret = c.editSelEnd;
      switch (wParam) {
        case VK_LEFT: caret = caret > 0 ? caret - 1 : 0; break;
        case VK_RIGHT: caret = std::min(caret + 1, length); break;
        case VK_HOME: caret = 0; break;
        case VK_END: caret = length; break;
        case VK_DELETE:
          if (!(window->style & ES_READONLY)) {
            if (c.editSelStart == c.editSelEnd && c.editSelEnd < length) c.editSelEnd += 1;
            ReplaceSelection(handle, "");
          }
          return 0;
        default: return 0;
      }
      c.editSelStart = c.editSelEnd = caret;
      Invalidate(handle, nullptr, false);
      return 0;
    }
    case WM_LBUTTONDOWN:
      SetFocus(handle);
      return 0;
    case WM_SETFOCUS:
      Invalidate(handle, nullptr, false);
      NotifyParent(handle, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      Invalidate(handle, nullptr, false);
      NotifyParent(handle, EN_KILLFOCUS);
      return 0;
    case WM_PAINT:
      PaintEdit(handle);
      return 0;
    default:
      return DefWindowProcA(handle, message, wParam, lParam);
  }
}

}  // namespace vorn::user
