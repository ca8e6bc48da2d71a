// Device contexts over surfaces: the window system creates one for each paint, the
// GDI calls draw through it.
#pragma once

#include "platform/api/types.h"
#include "platform/gdi/surface.h"

namespace vorn::gdi {

// A device context painting into the surface; `origin` is where the window's client
// point (0, 0) lies on the surface, `clip` the part of the surface it may touch.
// A null surface gives a device context that draws nothing.
HDC CreateSurfaceDC(Surface* surface, POINT origin, RECT clip);
void DeleteSurfaceDC(HDC dc);

// Fills a logical rectangle (right and bottom exclusive) with a colour, as FillRect
// with a solid brush of it would, for painters that need many colours; false for
// an unknown device context.
bool FillSolidRect(HDC dc, const RECT& rect, COLORREF colour);

}  // namespace vorn::gdi
