// Until the window system lands: just enough USER and GDI for engine tests.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/user/testing.h"
#include "platform/win32.h"

namespace vorn::automation {
namespace {
MessageBoxResponder responder;
std::vector<MessageBoxRecord> boxLog;
}  // namespace
void SetMessageBoxResponder(MessageBoxResponder r) { responder = std::move(r); }
const std::vector<MessageBoxRecord>& MessageBoxLog() { return boxLog; }
void ClearMessageBoxLog() { boxLog.clear(); }
}  // namespace vorn::automation

using namespace vorn::automation;

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  MessageBoxRecord record{owner, owner ? "dialog" : "none", caption ? caption : "", text ? text : "", type, IDOK};
  record.answer = responder ? responder(record) : IDOK;
  boxLog.push_back(record);
  return record.answer;
}
BOOL WINAPI SetDlgItemTextA(HWND, int, LPCSTR) { return FALSE; }
HWND WINAPI GetDlgItem(HWND, int) { return nullptr; }
BOOL WINAPI GetWindowRect(HWND, LPRECT) { return FALSE; }
BOOL WINAPI ScreenToClient(HWND, LPPOINT) { return FALSE; }
HDC WINAPI GetDC(HWND) { return nullptr; }
int WINAPI ReleaseDC(HWND, HDC) { return 0; }
int wsprintfA(LPSTR buffer, LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer, 1024, format, args);
  va_end(args);
  return n;
}
