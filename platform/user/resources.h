// The program's resources as the window system keeps them: dialog templates and
// icons, registered by the source that the resource converter (tools/rc) generates
// from an .rc file.
//
// How resources reach a program: the build converts resources/installer.rc into
// one C++ source whose static registrar calls RegisterResources. That source is
// compiled into an OBJECT library (vorn_resources), never into a static one, so the
// linker cannot drop the registrar; the installer and any test that needs the
// program's templates link vorn_resources. A test program may convert an .rc of
// its own the same way (vorn_add_resources in tools/rc/CMakeLists.txt).
#pragma once

#include <cstddef>
#include <string>

#include "platform/api/types.h"

namespace vorn::user {

// A resource name: a text, or an integer id when `text` is null.
struct ResourceName {
  const char* text;
  int id;
};

struct DialogItemTemplate {
  const char* className;  // "Button", "Static", "Edit", "ListBox", "ComboBox", ...
  int id;
  DWORD style;
  DWORD exStyle;
  int x, y, cx, cy;  // dialog units
  const char* text;
};

struct DialogTemplate {
  ResourceName name;
  DWORD style;
  DWORD exStyle;
  int x, y, cx, cy;  // dialog units
  const char* caption;
  int pointSize;     // 0 when the template has no FONT
  const char* font;
  const DialogItemTemplate* items;
  std::size_t itemCount;
};

// An icon resource: the bytes of an .ico file. LoadIconA hands it to GDI, which
// decodes it into a shared icon handle.
struct IconResource {
  ResourceName name;
  const unsigned char* bytes;
  std::size_t size;
};

struct ResourceSet {
  const DialogTemplate* dialogs;
  std::size_t dialogCount;
  const IconResource* icons;
  std::size_t iconCount;
};

// Adds a set of resources to the program's; returns true so that a registrar can
// be a static bool. Later sets do not replace names already registered.
bool RegisterResources(const ResourceSet& set);

// Looks a template or icon up by a resource name as the API passes it: a text
// (case-insensitive, "#123" meaning id 123) or MAKEINTRESOURCE.
const DialogTemplate* FindDialogTemplate(LPCSTR name);
const IconResource* FindIcon(LPCSTR name);
// The name under which automation reports a template: its text, or its id in decimal.
std::string ResourceNameText(const ResourceName& name);

}  // namespace vorn::user
