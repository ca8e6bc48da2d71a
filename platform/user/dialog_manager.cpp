// The dialog manager's keyboard interface: Tab and Shift+Tab over the tab stops,
// Enter for the default button, Esc for Cancel, and "&" mnemonics.
#include <cctype>

#include "platform/user/internal.h"

namespace vorn::user {

namespace {

bool CanTakeFocus(const Window& control) { return IsReallyVisible(control) && IsReallyEnabled(control); }

LRESULT DialogCode(HWND control, const MSG* msg) {
  return SendMessageA(control, WM_GETDLGCODE, msg != nullptr ? msg->wParam : 0, reinterpret_cast<LPARAM>(msg));
}

// The dialog's own child that contains a window (the window itself for a control).
HWND ControlOf(HWND dialog, HWND window) {
  for (Window* w = Find(window); w != nullptr && IsChild(*w); w = Find(w->parent)) {
    if (w->parent == dialog) return w->handle;
  }
  return nullptr;
}

void FocusControl(HWND control) {
  SetFocus(control);
  if (DialogCode(control, nullptr) & DLGC_HASSETSEL) SendMessageA(control, EM_SETSEL, 0, -1);
}

// The character after a single "&" in a text, lower-cased; 0 when there is none.
char Mnemonic(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
  }
  return 0;
}

// Carries out a mnemonic: buttons are pressed (check boxes also take the focus),
// labels hand the focus to the next control that can take it.
bool RunMnemonic(HWND dialog, char key) {
  Window* window = Find(dialog);
  const std::vector<HWND> controls = window->children;
  if (controls.empty()) return false;
  const HWND focus = ControlOf(dialog, GetFocus());
  std::size_t start = 0;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i] == focus) start = i + 1;
  }
  for (std::size_t n = 0; n < controls.size(); ++n) {
    const std::size_t index = (start + n) % controls.size();
    Window* control = Find(controls[index]);
    if (control == nullptr || !CanTakeFocus(*control)) continue;
    const LRESULT code = DialogCode(control->handle, nullptr);
    if ((code & DLGC_STATIC) && (control->style & SS_NOPREFIX)) continue;
    if (Mnemonic(control->text) != key) continue;
    const bool groupBox = (code & DLGC_BUTTON) && (control->style & BS_TYPEMASK) == BS_GROUPBOX;
    if ((code & DLGC_STATIC) || groupBox) {
      for (std::size_t k = 1; k < controls.size(); ++k) {
        Window* next = Find(controls[(index + k) % controls.size()]);
        if (next == nullptr || !CanTakeFocus(*next)) continue;
        const LRESULT nextCode = DialogCode(next->handle, nullptr);
        if (nextCode & DLGC_STATIC) continue;
        if ((nextCode & DLGC_BUTTON) && (next->style & BS_TYPEMASK) == BS_GROUPBOX) continue;
        FocusControl(next->handle);
        return true;
      }
      return true;
    }
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(control->id, BN_CLICKED), reinterpret_cast<LPARAM>(control->handle));
    } else if (code & DLGC_BUTTON) {
      SetFocus(control->handle);
      SendMessageA(control->handle, BM_CLICK, 0, 0);
    } else {
      FocusControl(control->handle);
    }
    return true;
  }
  return false;
}

void PressDefault(HWND dialog) {
  const HWND focus = ControlOf(dialog, GetFocus());
  int id = IDOK;
  if (focus != nullptr && (DialogCode(focus, nullptr) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
    id = GetDlgCtrlID(focus);
  } else if (const LRESULT def = SendMessageA(dialog, DM_GETDEFID, 0, 0); HIWORD(def) == DC_HASDEFID) {
    id = LOWORD(def);
  }
  HWND button = GetDlgItem(dialog, id);
  if (button != nullptr && !IsWindowEnabled(button)) return;
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void PressCancel(HWND dialog) {
  HWND button = GetDlgItem(dialog, IDCANCEL);
  if (button != nullptr && !IsWindowEnabled(button)) return;
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

}  // namespace

}  // namespace vorn::user

using namespace vorn::user;

HWND WINAPI GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  Window* window = Find(dialog);
  if (window == nullptr) return nullptr;
  const std::vector<HWND>& controls = window->children;
  const int count = static_cast<int>(controls.size());
  int current = previous ? 0 : -1;
  for (int i = 0; i < count; ++i) {
    if (controls[i] == control) current = i;
  }
  for (int n = 1; n <= count; ++n) {
    const int index = ((current + (previous ? -n : n)) % count + count) % count;
    Window* candidate = Find(controls[index]);
    if (candidate != nullptr && (candidate->style & WS_TABSTOP) && CanTakeFocus(*candidate)) return candidate->handle;
  }
  return nullptr;
}

BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG msg) {
  if (msg == nullptr || Find(dialog) == nullptr) return FALSE;
  if (msg->hwnd != dialog && ControlOf(dialog, msg->hwnd) == nullptr) return FALSE;
  const LRESULT code = msg->hwnd != dialog ? DialogCode(msg->hwnd, msg) : 0;
  switch (msg->message) {
    case WM_KEYDOWN:
      if (code & DLGC_WANTALLKEYS) break;
      if (msg->wParam == VK_TAB && !(code & DLGC_WANTTAB)) {
        const bool back = GetKeyState(VK_SHIFT) < 0;
        if (HWND next = GetNextDlgTabItem(dialog, ControlOf(dialog, GetFocus()), back ? TRUE : FALSE)) {
          FocusControl(next);
        }
        return TRUE;
      }
      if (msg->wParam == VK_RETURN) {
        PressDefault(dialog);
        return TRUE;
      }
      if (msg->wParam == VK_ESCAPE) {
        PressCancel(dialog);
        return TRUE;
      }
      break;
    case WM_CHAR:
      // A plain letter is a mnemonic too where the focus does not take characters.
      if (!(code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) && std::isalnum(static_cast<int>(msg->wParam)) &&
          RunMnemonic(dialog, static_cast<char>(std::tolower(static_cast<int>(msg->wParam))))) {
        return TRUE;
      }
      if (msg->wParam == '\t' || msg->wParam == '\r' || msg->wParam == 0x1B) return TRUE;
      break;
    case WM_SYSCHAR:
      if (RunMnemonic(dialog, static_cast<char>(std::tolower(static_cast<int>(msg->wParam))))) return TRUE;
      break;
    default:
      break;
  }
  TranslateMessage(msg);
  DispatchMessageA(msg);
  return TRUE;
}
