// Device contexts over surfaces: creation, selection of objects, colours, and the
// rectangle fills of USER painting.
#include "platform/gdi/dc.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <utility>

#include "platform/api/gdi.h"
#include "platform/api/user.h"
#include "platform/gdi/colours.h"
#include "platform/gdi/device_context.h"

namespace vorn::gdi {
namespace {

std::unordered_map<const void*, std::unique_ptr<DeviceContext>>& Live() {
  static std::unordered_map<const void*, std::unique_ptr<DeviceContext>> contexts;
  return contexts;
}

void Select(GdiObject*& slot, GdiObject* object) {
  if (slot != nullptr) --slot->selections;
  slot = object;
  if (slot != nullptr) ++slot->selections;
}

}  // namespace

Box Intersect(const Box& a, const Box& b) {
  return Box{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
             std::min(a.bottom, b.bottom)};
}

DeviceContext* FindDeviceContext(HDC dc) {
  auto found = Live().find(dc);
  return found == Live().end() ? nullptr : found->second.get();
}

Box ToSurface(const DeviceContext& dc, const RECT& logical) {
  return Box{std::int64_t{logical.left} + dc.origin.x, std::int64_t{logical.top} + dc.origin.y,
             std::int64_t{logical.right} + dc.origin.x, std::int64_t{logical.bottom} + dc.origin.y};
}

Box DrawableBox(const DeviceContext& dc) {
  if (dc.surface == nullptr) return Box{};
  const Box whole{0, 0, dc.surface->width, dc.surface->height};
  return Intersect(whole, Box{dc.clip.left, dc.clip.top, dc.clip.right, dc.clip.bottom});
}

void FillBox(DeviceContext& dc, const Box& box, std::uint32_t pixel) {
  const Box area = Intersect(box, DrawableBox(dc));
  if (area.Empty()) return;
  for (std::int64_t y = area.top; y < area.bottom; ++y) {
    std::uint32_t* row = dc.surface->pixels.data() + y * dc.surface->width;
    std::fill(row + area.left, row + area.right, pixel);
  }
}

HDC CreateSurfaceDC(Surface* surface, POINT origin, RECT clip) {
  auto context = std::make_unique<DeviceContext>();
  context->surface = surface;
  context->origin = origin;
  context->clip = clip;
  Select(context->brush, DefaultBrush());
  Select(context->pen, DefaultPen());
  Select(context->font, DefaultFont());
  HDC handle = reinterpret_cast<HDC>(context.get());
  Live().emplace(handle, std::move(context));
  return handle;
}

void DeleteSurfaceDC(HDC dc) {
  DeviceContext* context = FindDeviceContext(dc);
  if (context == nullptr) return;
  Select(context->brush, nullptr);
  Select(context->pen, nullptr);
  Select(context->font, nullptr);
  Live().erase(dc);
}

bool FillSolidRect(HDC dc, const RECT& rect, COLORREF colour) {
  DeviceContext* context = FindDeviceContext(dc);
  if (context == nullptr) return false;
  FillBox(*context, ToSurface(*context, rect), ToPixel(colour));
  return true;
}

}  // namespace vorn::gdi

using namespace vorn::gdi;

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ handle) {
  DeviceContext* context = FindDeviceContext(dc);
  GdiObject* object = FindObject(handle);
  if (context == nullptr || object == nullptr) return nullptr;
  GdiObject** slot = object->kind == ObjectKind::Brush ? &context->brush
                     : object->kind == ObjectKind::Pen ? &context->pen
                                                       : &context->font;
  GdiObject* previous = *slot;
  Select(*slot, object);
  return HandleOf(previous);
}

COLORREF WINAPI SetTextColor(HDC dc, COLORREF colour) {
  DeviceContext* context = FindDeviceContext(dc);
  if (context == nullptr) return CLR_INVALID;
  return std::exchange(context->textColour, colour);
}

COLORREF WINAPI GetTextColor(HDC dc) {
  DeviceContext* context = FindDeviceContext(dc);
  return context == nullptr ? CLR_INVALID : context->textColour;
}

COLORREF WINAPI SetBkColor(HDC dc, COLORREF colour) {
  DeviceContext* context = FindDeviceContext(dc);
  if (context == nullptr) return CLR_INVALID;
  return std::exchange(context->backgroundColour, colour);
}

COLORREF WINAPI GetBkColor(HDC dc) {
  DeviceContext* context = FindDeviceContext(dc);
  return context == nullptr ? CLR_INVALID : context->backgroundColour;
}

int WINAPI SetBkMode(HDC dc, int mode) {
  DeviceContext* context = FindDeviceContext(dc);
  if (context == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return std::exchange(context->backgroundMode, mode);
}

int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  DeviceContext* context = FindDeviceContext(dc);
  const BrushPaint paint = ResolveBrush(brush);
  if (context == nullptr || rect == nullptr || !paint.valid) return 0;
  if (paint.paints) FillBox(*context, ToSurface(*context, *rect), paint.pixel);
  return 1;
}

int WINAPI FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
  DeviceContext* context = FindDeviceContext(dc);
  const BrushPaint paint = ResolveBrush(brush);
  if (context == nullptr || rect == nullptr || !paint.valid) return 0;
  const Box box = ToSurface(*context, *rect);
  if (box.Empty() || !paint.paints) return 1;
  FillBox(*context, Box{box.left, box.top, box.right, box.top + 1}, paint.pixel);
  FillBox(*context, Box{box.left, box.bottom - 1, box.right, box.bottom}, paint.pixel);
  FillBox(*context, Box{box.left, box.top, box.left + 1, box.bottom}, paint.pixel);
  FillBox(*context, Box{box.right - 1, box.top, box.right, box.bottom}, paint.pixel);
  return 1;
}
