// Icons and cursors: LoadIconA over the program's icon resources and the system's
// icons, both decoded by GDI.
#include <map>

#include "platform/api/user.h"
#include "platform/gdi/icon.h"
#include "platform/user/resources.h"

namespace {
// Cursors are only handed out; nothing draws them.
HICON__ arrowCursor{};
}  // namespace

using namespace vorn;

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
  if (instance == nullptr) return gdi::LoadSystemIcon(name);
  const user::IconResource* resource = user::FindIcon(name);
  if (resource == nullptr) return nullptr;
  // Loading an icon again gives the same shared handle, as it does on Windows.
  static std::map<const user::IconResource*, HICON> loaded;
  HICON& icon = loaded[resource];
  if (icon == nullptr) icon = gdi::CreateIconFromResource(resource->bytes, resource->size, true);
  return icon;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (instance == nullptr && name == IDC_ARROW) return &arrowCursor;
  return nullptr;
}
