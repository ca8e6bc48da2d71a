// A fixture for pixel tests of the classic look: a borderless top-level window of
// the face colour, so that its surface pixels are its client pixels, controls on
// it, and pixels as rows of letters so that tests read as pictures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/surface.h"
#include "tests/unit/user_fixture.h"

namespace vorn::testing {

using Picture = std::vector<std::string>;

// K black, W white, - face (light grey), g grey, N navy (the highlight and the
// active caption), d the face inverted (focus dots), R red, B the progress blue;
// '?' for any other colour.
Picture PictureOf(const gdi::Surface& surface, const RECT& area);
char Letter(std::uint32_t pixel);

class LookTest : public WindowSystemTest {
 protected:
  void SetUp() override;

  // A visible child control of the canvas.
  HWND Control(const char* className, const char* text, DWORD style, RECT rect, int id = 100);
  // Paints what is waiting to be painted, then shows a rectangle of the canvas.
  Picture Shot(const RECT& area);
  const gdi::Surface& Pixels();

  HWND canvas_ = nullptr;
};

}  // namespace vorn::testing
