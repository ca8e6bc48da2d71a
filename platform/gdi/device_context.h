// The state behind an HDC and the clipped pixel operations every drawing call
// goes through.
#pragma once

#include <cstdint>

#include "platform/api/gdi.h"
#include "platform/api/types.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/surface.h"

namespace vorn::gdi {

// A rectangle in surface pixels, right and bottom exclusive; wide enough that
// no logical coordinate plus origin overflows.
struct Box {
  std::int64_t left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return left >= right || top >= bottom; }
};
Box Intersect(const Box& a, const Box& b);

struct DeviceContext {
  Surface* surface = nullptr;
  POINT origin = {0, 0};
  RECT clip = {0, 0, 0, 0};
  COLORREF textColour = 0x000000;
  COLORREF backgroundColour = 0xFFFFFF;
  int backgroundMode = OPAQUE;
  GdiObject* brush = nullptr;
  GdiObject* pen = nullptr;
  GdiObject* font = nullptr;
};

// The live device context behind a handle, or null.
DeviceContext* FindDeviceContext(HDC dc);

// A logical rectangle in surface pixels.
Box ToSurface(const DeviceContext& dc, const RECT& logical);
// The part of the surface the device context may touch.
Box DrawableBox(const DeviceContext& dc);
// Fills the part of `box` (surface pixels) inside the drawable box.
void FillBox(DeviceContext& dc, const Box& box, std::uint32_t pixel);

}  // namespace vorn::gdi
