// Stock objects, solid brushes, and the handle checks of the object calls.
#include "platform/gdi/objects.h"

#include <memory>
#include <unordered_map>

#include "platform/api/gdi.h"
#include "platform/gdi/colours.h"
#include "platform/gdi/font.h"

namespace vorn::gdi {
namespace {

constexpr int kStockCount = DEFAULT_GUI_FONT + 1;

GdiObject MakeStock(ObjectKind kind, bool hollow, COLORREF colour, const FontData* font = nullptr) {
  return GdiObject{kind, true, hollow, colour, font};
}

struct StockTable {
  GdiObject objects[kStockCount] = {};
  bool present[kStockCount] = {};
  GdiObject boldFont = MakeStock(ObjectKind::Font, false, 0, &fonts::kFixed6x13Bold);

  StockTable() {
    Put(WHITE_BRUSH, MakeStock(ObjectKind::Brush, false, RGB(255, 255, 255)));
    Put(LTGRAY_BRUSH, MakeStock(ObjectKind::Brush, false, RGB(192, 192, 192)));
    Put(GRAY_BRUSH, MakeStock(ObjectKind::Brush, false, RGB(128, 128, 128)));
    Put(DKGRAY_BRUSH, MakeStock(ObjectKind::Brush, false, RGB(64, 64, 64)));
    Put(BLACK_BRUSH, MakeStock(ObjectKind::Brush, false, RGB(0, 0, 0)));
    Put(NULL_BRUSH, MakeStock(ObjectKind::Brush, true, 0));
    Put(WHITE_PEN, MakeStock(ObjectKind::Pen, false, RGB(255, 255, 255)));
    Put(BLACK_PEN, MakeStock(ObjectKind::Pen, false, RGB(0, 0, 0)));
    Put(NULL_PEN, MakeStock(ObjectKind::Pen, true, 0));
    Put(SYSTEM_FONT, MakeStock(ObjectKind::Font, false, 0, &fonts::kFixed6x13));
    Put(DEFAULT_GUI_FONT, MakeStock(ObjectKind::Font, false, 0, &fonts::kFixed6x13));
  }
  void Put(int index, GdiObject object) {
    objects[index] = object;
    present[index] = true;
  }
  GdiObject* Find(const void* handle) {
    for (int i = 0; i < kStockCount; ++i) {
      if (present[i] && handle == &objects[i]) return &objects[i];
    }
    return handle == &boldFont ? &boldFont : nullptr;
  }
};

StockTable& Stock() {
  static StockTable table;
  return table;
}

// Objects that programs created and have not deleted yet.
std::unordered_map<const void*, std::unique_ptr<GdiObject>>& Created() {
  static std::unordered_map<const void*, std::unique_ptr<GdiObject>> objects;
  return objects;
}

}  // namespace

GdiObject* FindObject(HGDIOBJ handle) {
  if (handle == nullptr) return nullptr;
  if (GdiObject* stock = Stock().Find(handle)) return stock;
  auto found = Created().find(handle);
  return found == Created().end() ? nullptr : found->second.get();
}

BrushPaint ResolveBrush(HBRUSH brush) {
  const auto value = reinterpret_cast<std::uintptr_t>(brush);
  if (value >= 1 && value <= kSystemColourCount) {
    return {true, true, ToPixel(SystemColour(static_cast<int>(value) - 1))};
  }
  GdiObject* object = FindObject(brush);
  if (object == nullptr || object->kind != ObjectKind::Brush) return {};
  return {true, !object->hollow, ToPixel(object->colour)};
}

GdiObject* DefaultBrush() { return &Stock().objects[WHITE_BRUSH]; }
GdiObject* DefaultPen() { return &Stock().objects[BLACK_PEN]; }
GdiObject* DefaultFont() { return &Stock().objects[SYSTEM_FONT]; }

HFONT FontHandle(FontStyle style) {
  GdiObject* object = style == FontStyle::Bold ? &Stock().boldFont : &Stock().objects[DEFAULT_GUI_FONT];
  return static_cast<HFONT>(HandleOf(object));
}

const FontData* FontOf(HGDIOBJ handle) {
  GdiObject* object = FindObject(handle);
  return object != nullptr && object->kind == ObjectKind::Font ? object->font : nullptr;
}

}  // namespace vorn::gdi

using namespace vorn::gdi;

HGDIOBJ WINAPI GetStockObject(int index) {
  if (index < 0 || index >= kStockCount || !Stock().present[index]) return nullptr;
  return HandleOf(&Stock().objects[index]);
}

HBRUSH WINAPI CreateSolidBrush(COLORREF colour) {
  auto object = std::make_unique<GdiObject>(GdiObject{ObjectKind::Brush, false, false, colour, nullptr});
  GdiObject* raw = object.get();
  Created().emplace(raw, std::move(object));
  return static_cast<HBRUSH>(HandleOf(raw));
}

BOOL WINAPI DeleteObject(HGDIOBJ handle) {
  GdiObject* object = FindObject(handle);
  if (object == nullptr) return FALSE;
  // Deleting a stock object is harmless; one still selected into a device context
  // stays alive.
  if (object->stock) return TRUE;
  if (object->selections > 0) return FALSE;
  Created().erase(handle);
  return TRUE;
}
