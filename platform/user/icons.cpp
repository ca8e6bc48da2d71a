// Icons and cursors: handles onto the program's icon resources and the system's.
#include "platform/api/user.h"
#include "platform/user/resources.h"

namespace {
// Cursors are only handed out; nothing draws them yet.
HICON__ arrowCursor{};
}  // namespace

using namespace vorn::user;

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
  const IconResource* icon = nullptr;
  if (instance == nullptr) {
    if (IS_INTRESOURCE(name)) icon = SystemIcon(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
  } else {
    icon = FindIcon(name);
  }
  return reinterpret_cast<HICON>(const_cast<IconResource*>(icon));
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (instance == nullptr && name == IDC_ARROW) return &arrowCursor;
  return nullptr;
}

// Icons from resources are shared: there is nothing to free.
BOOL WINAPI DestroyIcon(HICON icon) { return IconFromHandle(icon) != nullptr; }
