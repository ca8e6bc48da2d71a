// TEMPORARY, until the GDI service lands in platform/gdi/: device contexts that
// draw nothing and text measured as the dialog font's average cell (6 x 13), just
// enough for the window system to link and lay out message boxes. Delete this file
// when platform/gdi/ provides these calls.
#include <map>

#include "platform/api/gdi.h"
#include "platform/api/user.h"
#include "platform/gdi/dc.h"

namespace {

struct Context {
  COLORREF text = 0;
  COLORREF back = 0xFFFFFF;
  int mode = OPAQUE;
};

std::map<HDC, Context>& Contexts() {
  static std::map<HDC, Context> contexts;
  return contexts;
}

std::uintptr_t nextContext = 0x1000;
HBRUSH__ stockBrushes[6];
HBRUSH__ solidBrush;

}  // namespace

namespace vorn::gdi {

HDC CreateSurfaceDC(Surface* surface, POINT origin, RECT clip) {
  (void)surface;
  (void)origin;
  (void)clip;
  HDC dc = reinterpret_cast<HDC>(nextContext += 16);
  Contexts()[dc] = Context{};
  return dc;
}

void DeleteSurfaceDC(HDC dc) { Contexts().erase(dc); }

}  // namespace vorn::gdi

HGDIOBJ WINAPI GetStockObject(int object) {
  return object >= 0 && object < 6 ? &stockBrushes[object] : nullptr;
}
HBRUSH WINAPI CreateSolidBrush(COLORREF) { return &solidBrush; }
BOOL WINAPI DeleteObject(HGDIOBJ) { return TRUE; }
HGDIOBJ WINAPI SelectObject(HDC, HGDIOBJ) { return nullptr; }
COLORREF WINAPI SetTextColor(HDC dc, COLORREF colour) {
  auto it = Contexts().find(dc);
  if (it == Contexts().end()) return CLR_INVALID;
  const COLORREF old = it->second.text;
  it->second.text = colour;
  return old;
}
COLORREF WINAPI GetTextColor(HDC dc) {
  auto it = Contexts().find(dc);
  return it == Contexts().end() ? CLR_INVALID : it->second.text;
}
COLORREF WINAPI SetBkColor(HDC dc, COLORREF colour) {
  auto it = Contexts().find(dc);
  if (it == Contexts().end()) return CLR_INVALID;
  const COLORREF old = it->second.back;
  it->second.back = colour;
  return old;
}
COLORREF WINAPI GetBkColor(HDC dc) {
  auto it = Contexts().find(dc);
  return it == Contexts().end() ? CLR_INVALID : it->second.back;
}
int WINAPI SetBkMode(HDC dc, int mode) {
  auto it = Contexts().find(dc);
  if (it == Contexts().end()) return 0;
  const int old = it->second.mode;
  it->second.mode = mode;
  return old;
}
BOOL WINAPI ExtTextOutA(HDC, int, int, UINT, const RECT*, LPCSTR, UINT, const INT*) { return TRUE; }
BOOL WINAPI TextOutA(HDC, int, int, LPCSTR, int) { return TRUE; }
BOOL WINAPI GetTextExtentPoint32A(HDC, LPCSTR, int count, LPSIZE size) {
  if (size == nullptr) return FALSE;
  size->cx = 6 * count;
  size->cy = 13;
  return TRUE;
}
int WINAPI FrameRect(HDC, const RECT*, HBRUSH) { return 1; }
int WINAPI FillRect(HDC, const RECT*, HBRUSH) { return 1; }
BOOL WINAPI DrawIcon(HDC, int, int, HICON) { return TRUE; }
