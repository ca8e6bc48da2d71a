// Window classes, the built-in ones among them, and the default window procedure.
#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <deque>

#include "platform/api/gdi.h"
#include "platform/core/error.h"
#include "platform/user/internal.h"
#include "platform/user/metrics.h"

namespace vorn::user {

namespace {

constexpr ATOM kFirstAtom = 0xC000;
constexpr DWORD kErrorClassAlreadyExists = 1410;
constexpr DWORD kErrorClassDoesNotExist = 1411;

// A deque keeps the records in place, so windows may point at their class.
std::deque<WindowClass>& Classes() {
  static std::deque<WindowClass> classes;
  return classes;
}

WindowClass* Lookup(const std::string& name) {
  auto& classes = Classes();
  if (!name.empty() && name[0] == '#' && name != kDialogClass && name != "#32769") {
    const long atom = std::strtol(name.c_str() + 1, nullptr, 10);
    const long index = atom - kFirstAtom;
    if (index < 0 || index >= static_cast<long>(classes.size()) || classes[index].name.empty()) return nullptr;
    return &classes[index];
  }
  for (WindowClass& c : classes) {
    if (!c.name.empty() && strcasecmp(c.name.c_str(), name.c_str()) == 0) return &c;
  }
  return nullptr;
}

void AddBuiltIn(const char* name, WNDPROC proc) {
  WindowClass c;
  c.name = name;
  c.proc = proc;
  c.builtIn = true;
  Classes().push_back(c);
}

}  // namespace

void RegisterBuiltInClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  AddBuiltIn("Button", ButtonProc);
  AddBuiltIn("Static", StaticProc);
  AddBuiltIn("Edit", EditProc);
  AddBuiltIn("ListBox", ListBoxProc);
  AddBuiltIn("ComboBox", ComboBoxProc);
  AddBuiltIn(kDialogClass, DialogProc);
  AddBuiltIn("#32769", DefWindowProcA);  // the desktop
}

const WindowClass* FindClass(const std::string& name) {
  RegisterBuiltInClasses();
  return Lookup(name);
}

}  // namespace vorn::user

using namespace vorn::user;

ATOM WINAPI RegisterClassA(const WNDCLASSA* wndClass) {
  RegisterBuiltInClasses();
  if (wndClass == nullptr || wndClass->lpszClassName == nullptr || wndClass->lpfnWndProc == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (WindowClass* existing = Lookup(wndClass->lpszClassName); existing != nullptr && !existing->builtIn) {
    SetLastError(kErrorClassAlreadyExists);
    return 0;
  }
  WindowClass c;
  c.name = wndClass->lpszClassName;
  c.style = wndClass->style;
  c.proc = wndClass->lpfnWndProc;
  c.instance = wndClass->hInstance;
  c.icon = wndClass->hIcon;
  c.cursor = wndClass->hCursor;
  c.background = wndClass->hbrBackground;
  // An application class of a built-in name takes precedence by coming first.
  auto& classes = Classes();
  for (std::size_t i = 0; i < classes.size(); ++i) {
    if (classes[i].name.empty()) {
      classes[i] = c;
      return static_cast<ATOM>(kFirstAtom + i);
    }
  }
  classes.push_back(c);
  return static_cast<ATOM>(kFirstAtom + classes.size() - 1);
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE instance) {
  (void)instance;
  RegisterBuiltInClasses();
  WindowClass* c = nullptr;
  if (IS_INTRESOURCE(className)) {
    c = Lookup("#" + std::to_string(reinterpret_cast<ULONG_PTR>(className)));
  } else if (className != nullptr) {
    c = Lookup(className);
  }
  if (c == nullptr || c->builtIn) {
    SetLastError(kErrorClassDoesNotExist);
    return FALSE;
  }
  for (HWND handle : TopLevelWindows()) {
    if (Find(handle)->windowClass == c) return FALSE;  // a window of the class still exists
  }
  // The slot stays, so that the atoms of other classes keep their meaning.
  c->name.clear();
  return TRUE;
}

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return proc != nullptr ? proc(window, message, wParam, lParam) : 0;
}

LRESULT WINAPI DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = Find(handle);
  if (window == nullptr) return 0;
  switch (message) {
    case WM_NCCREATE:
      return TRUE;
    case WM_SETTEXT:
      ChangeText(handle, lParam != 0 ? reinterpret_cast<const char*>(lParam) : "");
      return TRUE;
    case WM_GETTEXT: {
      char* buffer = reinterpret_cast<char*>(lParam);
      if (buffer == nullptr || wParam == 0) return 0;
      const std::size_t count = std::min<std::size_t>(window->text.size(), wParam - 1);
      std::memcpy(buffer, window->text.data(), count);
      buffer[count] = '\0';
      return static_cast<LRESULT>(count);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(window->text.size());
    case WM_ACTIVATE:
      if (LOWORD(wParam) != 0 && !IsChild(*window)) SetFocus(handle);
      return 0;
    case WM_CLOSE:
      DestroyWindow(handle);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(handle, WM_CLOSE, 0, 0);
      return 0;
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4) {
        Window* root = Root(window);
        PostMessageA(root->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(handle, &paint);
      EndPaint(handle, &paint);
      return 0;
    }
    case WM_ERASEBKGND: {
      HBRUSH brush = window->windowClass != nullptr ? window->windowClass->background : nullptr;
      if (brush == nullptr) return 0;
      RECT client = ClientRect(*window);
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
      return 1;
    }
    default:
      return 0;
  }
}
