// Dialogs: creation from templates, the modal loop, EndDialog, the default dialog
// procedure, and the calls that address controls by id.
#include <strings.h>

#include <cstring>

#include "platform/api/gdi.h"
#include "platform/core/error.h"
#include "platform/gdi/colours.h"
#include "platform/display/trace.h"
#include "platform/user/internal.h"
#include "platform/user/metrics.h"

namespace vorn::user {

namespace {

constexpr DWORD kErrorResourceNotFound = 1812;  // ERROR_RESOURCE_NAME_NOT_FOUND
constexpr DWORD kErrorInvalidWindowHandle = 1400;

DialogState* StateOf(HWND dialog) {
  Window* window = Find(dialog);
  return window != nullptr ? window->dialog.get() : nullptr;
}

// Dialog procedures answer these with their own return value; for every other
// message the return value only says whether they handled it.
bool ReturnsOwnValue(UINT message) {
  return message == WM_INITDIALOG || (message >= 0x0132 && message <= 0x0138) /* WM_CTLCOLOR* */ ||
         message == 0x0039 /* WM_COMPAREITEM */ || message == 0x002E /* WM_VKEYTOITEM */ ||
         message == 0x002F /* WM_CHARTOITEM */ || message == 0x0037 /* WM_QUERYDRAGICON */;
}

HWND FirstTabStop(HWND dialog) { return GetNextDlgTabItem(dialog, nullptr, FALSE); }

// Where the focus goes when a dialog becomes active: back where it was, else the
// first tab stop.
void RestoreFocus(HWND dialog) {
  Window* window = Find(dialog);
  if (window == nullptr) return;
  HWND target = window->lastFocus;
  Window* last = Find(target);
  if (last == nullptr || !IsReallyVisible(*last) || !IsReallyEnabled(*last)) target = FirstTabStop(dialog);
  if (target != nullptr) SetFocus(target);
}

}  // namespace

HWND CreateDialogWindow(const std::string& caption, DWORD style, DWORD exStyle, RECT client, HWND owner,
                        DLGPROC proc, LPARAM param) {
  if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
  style &= ~WS_VISIBLE;
  const RECT frame = WindowRectForClient(client, style, exStyle, (style & WS_CHILD) != 0);
  const HWND dialog = CreateWindowExA(exStyle, kDialogClass, caption.c_str(), style, frame.left, frame.top,
                                      frame.right - frame.left, frame.bottom - frame.top, owner, nullptr, nullptr, nullptr);
  Window* window = Find(dialog);
  if (window == nullptr) return nullptr;
  window->dialog = std::make_unique<DialogState>();
  window->dialog->proc = proc;
  window->dialog->param = param;
  return dialog;
}

HWND CreateDialogFromTemplate(const DialogTemplate& dialogTemplate, HWND owner, DLGPROC proc, LPARAM param) {
  // Without DS_ABSALIGN the position counts from the owner's client area.
  POINT base{0, 0};
  if (Window* ownerWindow = Find(owner); ownerWindow != nullptr && !(dialogTemplate.style & DS_ABSALIGN)) {
    base = ClientOriginOnScreen(*ownerWindow);
  }
  RECT client{DialogXToPixels(dialogTemplate.x), DialogYToPixels(dialogTemplate.y), 0, 0};
  client.right = client.left + DialogXToPixels(dialogTemplate.cx);
  client.bottom = client.top + DialogYToPixels(dialogTemplate.cy);
  client = Offset(client, base.x, base.y);
  if (dialogTemplate.style & DS_CENTER) {
    const SIZE screen = ScreenSize();
    client = Offset(client, (screen.cx - (client.right - client.left)) / 2 - client.left,
                    (screen.cy - (client.bottom - client.top)) / 2 - client.top);
  }
  const HWND dialog = CreateDialogWindow(dialogTemplate.caption != nullptr ? dialogTemplate.caption : "",
                                         dialogTemplate.style, dialogTemplate.exStyle, client, owner, nullptr, param);
  if (dialog == nullptr) return nullptr;
  DialogState* state = StateOf(dialog);
  state->templateName = ResourceNameText(dialogTemplate.name);
  state->fromTemplate = true;

  for (std::size_t i = 0; i < dialogTemplate.itemCount; ++i) {
    const DialogItemTemplate& item = dialogTemplate.items[i];
    const int x = DialogXToPixels(item.x);
    const int y = DialogYToPixels(item.y);
    const int cx = DialogXToPixels(item.cx);
    const int cy = DialogYToPixels(item.cy);
    const HWND control =
        CreateWindowExA(item.exStyle, item.className, item.text != nullptr ? item.text : "", item.style | WS_CHILD, x,
                        y, cx, cy, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), nullptr, nullptr);
    if (control == nullptr) {
      DestroyWindow(dialog);
      return nullptr;
    }
    if (state->defaultId == 0 && strcasecmp(item.className, "Button") == 0 &&
        (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      state->defaultId = item.id;
    }
  }

  // The procedure comes in only now, so that WM_INITDIALOG is the first message it sees.
  state->proc = proc;
  const HWND first = FirstTabStop(dialog);
  const LRESULT focusFirst = SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
  if (Find(dialog) == nullptr) return nullptr;
  if (focusFirst != 0 && Find(first) != nullptr) SetFocus(first);
  return dialog;
}

INT_PTR RunModal(HWND dialog, HWND owner) {
  Window* ownerWindow = Root(Find(owner));
  const HWND ownerRoot = ownerWindow != nullptr ? ownerWindow->handle : nullptr;
  const bool disabledOwner = ownerRoot != nullptr && IsWindowEnabled(ownerRoot);
  if (disabledOwner) EnableWindow(ownerRoot, FALSE);

  INT_PTR result = 0;
  if (DialogState* state = StateOf(dialog); state != nullptr && !state->ended) ShowWindow(dialog, SW_SHOWNORMAL);
  for (;;) {
    DialogState* state = StateOf(dialog);
    if (state == nullptr) break;
    if (state->ended) {
      result = state->result;
      break;
    }
    MSG msg;
    if (!GetMessageA(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop must see it too
      break;
    }
    if (!IsDialogMessageA(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  if (disabledOwner && Find(ownerRoot) != nullptr && !IsWindowEnabled(ownerRoot)) EnableWindow(ownerRoot, TRUE);
  if (Find(dialog) != nullptr) DestroyWindow(dialog);
  if (Find(ownerRoot) != nullptr && ActiveWindow() == nullptr) Activate(ownerRoot);
  return result;
}

bool IsTemplateDialog(HWND handle) {
  Window* root = Root(Find(handle));
  return root != nullptr && root->dialog != nullptr && root->dialog->fromTemplate;
}

LRESULT CALLBACK DialogProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogState* state = StateOf(handle);
  if (state != nullptr && state->proc != nullptr) {
    const INT_PTR handled = state->proc(handle, message, wParam, lParam);
    if (handled != 0) return ReturnsOwnValue(message) ? handled : 0;
    state = StateOf(handle);
  }
  if (state == nullptr) return DefWindowProcA(handle, message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG:
      return 0;
    case WM_CLOSE: {
      // Closing a dialog is its Cancel, unless Cancel is disabled.
      HWND cancel = GetDlgItem(handle, IDCANCEL);
      if (cancel == nullptr || IsWindowEnabled(cancel)) {
        PostMessageA(handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      }
      return 0;
    }
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(handle, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, gdi::SystemColourBrush(gdi::kColourButtonFace));
      return 1;
    }
    case DM_GETDEFID:
      return state->defaultId != 0 ? MAKELONG(state->defaultId, DC_HASDEFID) : 0;
    case DM_SETDEFID:
      state->defaultId = static_cast<int>(wParam);
      return TRUE;
    case WM_NEXTDLGCTL: {
      HWND target = lParam != 0 ? reinterpret_cast<HWND>(wParam)
                                : GetNextDlgTabItem(handle, GetFocus(), wParam != 0 ? TRUE : FALSE);
      if (target != nullptr) SetFocus(target);
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != 0) RestoreFocus(handle);
      return 0;
    case WM_SETFOCUS:
      RestoreFocus(handle);
      return 0;
    default:
      return DefWindowProcA(handle, message, wParam, lParam);
  }
}

}  // namespace vorn::user

using namespace vorn;
using namespace vorn::user;

HWND WINAPI CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
  (void)instance;  // one module: the program's resources
  const DialogTemplate* dialogTemplate = FindDialogTemplate(templateName);
  if (dialogTemplate == nullptr) {
    SetLastError(kErrorResourceNotFound);
    return nullptr;
  }
  const HWND dialog = CreateDialogFromTemplate(*dialogTemplate, owner, proc, param);
  if (dialog != nullptr && (dialogTemplate->style & WS_VISIBLE)) ShowWindow(dialog, SW_SHOWNORMAL);
  return Find(dialog) != nullptr ? dialog : nullptr;
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
  (void)instance;
  const DialogTemplate* dialogTemplate = FindDialogTemplate(templateName);
  const std::string name = dialogTemplate != nullptr ? ResourceNameText(dialogTemplate->name)
                           : IS_INTRESOURCE(templateName)
                               ? std::to_string(reinterpret_cast<ULONG_PTR>(templateName))
                               : std::string(templateName != nullptr ? templateName : "");
  automation::Trace("dialog " + name + " begin");
  HWND dialog = nullptr;
  if (dialogTemplate == nullptr) {
    SetLastError(kErrorResourceNotFound);
  } else if (owner != nullptr && Find(owner) == nullptr) {
    SetLastError(kErrorInvalidWindowHandle);
  } else {
    dialog = CreateDialogFromTemplate(*dialogTemplate, owner, proc, param);
  }
  if (dialog == nullptr) {
    automation::Trace("dialog " + name + " end -1");
    return -1;
  }
  const INT_PTR result = RunModal(dialog, owner);
  automation::Trace("dialog " + name + " end " + std::to_string(result));
  return result;
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
  DialogState* state = StateOf(dialog);
  if (state == nullptr) return FALSE;
  state->ended = true;
  state->result = result;
  // The owner comes back before the dialog goes, so that it takes the activation.
  if (Window* window = Find(dialog); window->owner != nullptr && !IsWindowEnabled(window->owner)) {
    EnableWindow(window->owner, TRUE);
  }
  SetVisible(dialog, false);
  return TRUE;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
  Window* window = Find(dialog);
  if (window == nullptr) return nullptr;
  for (HWND child : window->children) {
    if (static_cast<WORD>(Find(child)->id) == static_cast<WORD>(id)) return child;
  }
  return nullptr;
}

BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  HWND control = GetDlgItem(dialog, id);
  return control != nullptr ? SetWindowTextA(control, text) : FALSE;
}

UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR text, int max) {
  HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) {
    if (text != nullptr && max > 0) text[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(GetWindowTextA(control, text, max));
}

LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND control = GetDlgItem(dialog, id);
  return control != nullptr ? SendMessageA(control, message, wParam, lParam) : 0;
}

BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) return FALSE;
  SendMessageA(control, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control != nullptr ? static_cast<UINT>(SendMessageA(control, BM_GETCHECK, 0, 0)) : 0;
}
