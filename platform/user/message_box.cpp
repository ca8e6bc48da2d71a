// MessageBoxA: a modal dialog the platform builds from the box's flags (icon, text,
// buttons sized from their labels), run like any modal dialog; or, under a test
// responder, a record answered at once.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/display/trace.h"
#include "platform/user/internal.h"
#include "platform/user/metrics.h"
#include "platform/user/testing.h"
#include "platform/user/text_layout.h"

namespace vorn::automation {

namespace {
MessageBoxResponder responder;
std::vector<MessageBoxRecord> boxLog;
}  // namespace

void SetMessageBoxResponder(MessageBoxResponder r) { responder = std::move(r); }
const std::vector<MessageBoxRecord>& MessageBoxLog() { return boxLog; }
void ClearMessageBoxLog() { boxLog.clear(); }

std::string AnswerName(int answer) {
  switch (answer) {
    case IDOK: return "ok";
    case IDCANCEL: return "cancel";
    case IDABORT: return "abort";
    case IDRETRY: return "retry";
    case IDIGNORE: return "ignore";
    case IDYES: return "yes";
    case IDNO: return "no";
    default: return std::to_string(answer);
  }
}

}  // namespace vorn::automation

namespace vorn::user {

namespace {

constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kButtonHeight = 23;
constexpr int kButtonMinWidth = 75;
constexpr int kButtonGap = 6;
constexpr int kTextRoomMax = 420;
constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 20;

struct Button {
  int id;
  const char* label;
};

std::vector<Button> ButtonsOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
    default: return {{IDOK, "OK"}};
  }
}

LPCSTR IconOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
  }
}

// The text width the dialog font gives, without the "&" of a mnemonic.
int TextWidth(HDC dc, const std::string& text) {
  std::string shown;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
  return size.cx;
}

INT_PTR CALLBACK MessageBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  (void)lParam;
  switch (message) {
    case WM_INITDIALOG: {
      const LRESULT def = SendMessageA(box, DM_GETDEFID, 0, 0);
      if (HWND button = GetDlgItem(box, LOWORD(def))) SetFocus(button);
      return FALSE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (GetDlgItem(box, id) != nullptr && id != kTextId && id != kIconId) {
        EndDialog(box, id);
      } else if (id == IDCANCEL) {
        // Without a Cancel button only a box with nothing but OK can be closed.
        HWND ok = GetDlgItem(box, IDOK);
        Window* window = Find(box);
        int buttons = 0;
        for (HWND child : window->children) buttons += Find(child)->windowClass->name == "Button";
        if (ok != nullptr && buttons == 1) EndDialog(box, IDOK);
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

HWND BuildBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  HDC dc = GetDC(nullptr);
  const int lineHeight = [dc] {
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, "Ay", 2, &size);
    return std::max<int>(size.cy, 1);
  }();
  const LPCSTR iconName = IconOf(type);
  const int textLeft = kMargin + (iconName != nullptr ? kIconSize + kMargin : 0);
  const std::vector<std::string> lines = WrapText(text, kTextRoomMax, [dc](const std::string& s) { return TextWidth(dc, s); });
  int textWidth = 0;
  for (const std::string& line : lines) textWidth = std::max(textWidth, TextWidth(dc, line));
  const int textHeight = static_cast<int>(lines.size()) * lineHeight;
  const int contentHeight = std::max(textHeight, iconName != nullptr ? kIconSize : 0);

  const std::vector<Button> buttons = ButtonsOf(type);
  std::vector<int> widths;
  int rowWidth = 0;
  for (const Button& b : buttons) {
    widths.push_back(std::max(kButtonMinWidth, TextWidth(dc, b.label) + 2 * kMargin));
    rowWidth += widths.back();
  }
  rowWidth += kButtonGap * static_cast<int>(buttons.size() - 1);
  const int captionWidth = TextWidth(dc, caption) + 2 * kMargin;
  ReleaseDC(nullptr, dc);

  const int clientWidth = std::max({textLeft + textWidth + kMargin, rowWidth + 2 * kMargin, captionWidth});
  const int buttonsTop = kMargin + contentHeight + kMargin;
  const int clientHeight = buttonsTop + kButtonHeight + kMargin;
  const SIZE screen = ScreenSize();
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  RECT frame = WindowRectForClient({0, 0, clientWidth, clientHeight}, style, WS_EX_DLGMODALFRAME, false);
  const int x = (screen.cx - (frame.right - frame.left)) / 2 - frame.left;
  const int y = (screen.cy - (frame.bottom - frame.top)) / 2 - frame.top;
  const HWND box = CreateDialogWindow(caption, style, 0, {x, y, x + clientWidth, y + clientHeight}, owner,
                                      nullptr, 0);
  if (box == nullptr) return nullptr;
  Find(box)->dialog->messageBox = true;

  if (iconName != nullptr) {
    HWND icon = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE | SS_ICON, kMargin, kMargin, kIconSize,
                                kIconSize, box, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIconId)), nullptr, nullptr);
    SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, iconName)), 0);
  }
  const int textTop = kMargin + (contentHeight - textHeight) / 2;
  CreateWindowExA(0, "Static", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, textLeft, textTop,
                  textWidth, textHeight, box, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextId)), nullptr, nullptr);
  const std::size_t defaultIndex = std::min<std::size_t>((type & MB_DEFMASK) >> 8, buttons.size() - 1);
  int left = (clientWidth - rowWidth) / 2;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    DWORD buttonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    if (i == 0) buttonStyle |= WS_GROUP;
    CreateWindowExA(0, "Button", buttons[i].label, buttonStyle, left, buttonsTop, widths[i], kButtonHeight, box,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(buttons[i].id)), nullptr, nullptr);
    left += widths[i] + kButtonGap;
  }
  Find(box)->dialog->defaultId = buttons[defaultIndex].id;
  Find(box)->dialog->proc = MessageBoxProc;
  SendMessageA(box, WM_INITDIALOG, 0, 0);
  return Find(box) != nullptr ? box : nullptr;
}

std::string OwnerKind(HWND owner) {
  Window* root = Root(Find(owner));
  if (root == nullptr) return "none";
  return root->dialog != nullptr && root->dialog->fromTemplate ? "dialog" : "host";
}

}  // namespace

}  // namespace vorn::user

using namespace vorn;
using namespace vorn::user;

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  if (owner != nullptr && Find(owner) == nullptr) owner = nullptr;
  automation::MessageBoxRecord record{owner, OwnerKind(owner), caption != nullptr ? caption : "Error",
                                      text != nullptr ? text : "", type, 0};
  if (automation::responder) {
    record.answer = automation::responder(record);
  } else {
    HWND box = BuildBox(owner, record.text, record.caption, type);
    record.answer = box != nullptr ? static_cast<int>(RunModal(box, owner)) : 0;
  }
  automation::boxLog.push_back(record);
  char flags[16];
  std::snprintf(flags, sizeof flags, "0x%08X", type);
  automation::Trace("msgbox owner=" + record.ownerKind + " caption=" + automation::Quote(record.caption) +
                    " text=" + automation::Quote(record.text) + " flags=" + flags +
                    " answer=" + automation::AnswerName(record.answer));
  return record.answer;
}
