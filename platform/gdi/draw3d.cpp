// Classic three-dimensional edges.
#include "platform/gdi/draw3d.h"

#include "platform/gdi/colours.h"
#include "platform/gdi/dc.h"

namespace vorn::gdi {
namespace {

// One rectangle of lines: `upper` along the top and left, `lower` along the
// bottom and right, the latter including both far corners.
RECT DrawLine(HDC dc, const RECT& r, COLORREF upper, COLORREF lower) {
  if (r.right - r.left <= 0 || r.bottom - r.top <= 0) return r;
  FillSolidRect(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, upper);
  FillSolidRect(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, upper);
  FillSolidRect(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, lower);
  FillSolidRect(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, lower);
  return RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
}

}  // namespace

RECT DrawEdge3D(HDC dc, const RECT& rect, unsigned lines) {
  const COLORREF highlight = SystemColour(kColourButtonHighlight);
  const COLORREF light = SystemColour(kColourLight3D);
  const COLORREF shadow = SystemColour(kColourButtonShadow);
  const COLORREF darkShadow = SystemColour(kColourDarkShadow3D);
  RECT inside = rect;
  if (lines & kRaisedOuter) {
    inside = DrawLine(dc, inside, light, darkShadow);
  } else if (lines & kSunkenOuter) {
    inside = DrawLine(dc, inside, shadow, highlight);
  }
  if (lines & kRaisedInner) {
    inside = DrawLine(dc, inside, highlight, shadow);
  } else if (lines & kSunkenInner) {
    inside = DrawLine(dc, inside, darkShadow, light);
  }
  return inside;
}

void FillFace(HDC dc, const RECT& rect) { FillSolidRect(dc, rect, SystemColour(kColourButtonFace)); }

}  // namespace vorn::gdi
