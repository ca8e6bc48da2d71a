// The look fixture.
#include "tests/unit/look_fixture.h"

#include <map>

#include "platform/gdi/colours.h"
#include "platform/user/screen.h"

namespace vorn::testing {

char Letter(std::uint32_t pixel) {
  static const std::map<std::uint32_t, char> letters = {
      {0x000000, 'K'}, {0xFFFFFF, 'W'}, {0xC0C0C0, '-'}, {0x808080, 'g'},
      {0x000080, 'N'}, {0x3F3F3F, 'd'}, {0xFF0000, 'R'}, {0x0064C8, 'B'},
  };
  auto found = letters.find(pixel);
  return found == letters.end() ? '?' : found->second;
}

Picture PictureOf(const gdi::Surface& surface, const RECT& area) {
  Picture rows;
  for (LONG y = area.top; y < area.bottom; ++y) {
    std::string row;
    for (LONG x = area.left; x < area.right; ++x) row += Letter(surface.At(x, y));
    rows.push_back(row);
  }
  return rows;
}

void LookTest::SetUp() {
  WindowSystemTest::SetUp();
  static bool registered = false;
  if (!registered) {
    WNDCLASSA c{};
    c.lpfnWndProc = DefWindowProcA;
    c.lpszClassName = "vorn look canvas";
    c.hbrBackground = gdi::SystemColourBrush(gdi::kColourButtonFace);
    ASSERT_NE(RegisterClassA(&c), 0);
    registered = true;
  }
  canvas_ = CreateWindowExA(0, "vorn look canvas", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                            nullptr, nullptr);
  ASSERT_NE(canvas_, nullptr);
}

HWND LookTest::Control(const char* className, const char* text, DWORD style, RECT rect, int id) {
  HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, canvas_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  EXPECT_NE(control, nullptr);
  return control;
}

const gdi::Surface& LookTest::Pixels() {
  Pump();
  return *user::SurfaceOf(canvas_);
}

Picture LookTest::Shot(const RECT& area) { return PictureOf(Pixels(), area); }

}  // namespace vorn::testing
