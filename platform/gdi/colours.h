// Colours: the API's COLORREF (0x00BBGGRR) against the surfaces' pixels
// (0x00RRGGBB), and the classic system colours.
#pragma once

#include <cstdint>

#include "platform/api/types.h"

namespace vorn::gdi {

// The low three bytes of a COLORREF as a surface pixel; the high byte (palette
// selectors) does not matter on a true-colour surface.
constexpr std::uint32_t ToPixel(COLORREF colour) {
  return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}
constexpr COLORREF ToColorRef(std::uint32_t pixel) {
  return ((pixel >> 16) & 0xFFu) | (pixel & 0xFF00u) | ((pixel & 0xFFu) << 16);
}

// The indices of the system colours (the API's COLOR_* values).
enum SystemColourIndex : int {
  kColourScrollBar = 0,
  kColourBackground = 1,
  kColourActiveCaption = 2,
  kColourInactiveCaption = 3,
  kColourMenu = 4,
  kColourWindow = 5,
  kColourWindowFrame = 6,
  kColourMenuText = 7,
  kColourWindowText = 8,
  kColourCaptionText = 9,
  kColourActiveBorder = 10,
  kColourInactiveBorder = 11,
  kColourAppWorkspace = 12,
  kColourHighlight = 13,
  kColourHighlightText = 14,
  kColourButtonFace = 15,
  kColourButtonShadow = 16,
  kColourGrayText = 17,
  kColourButtonText = 18,
  kColourInactiveCaptionText = 19,
  kColourButtonHighlight = 20,
  kColourDarkShadow3D = 21,
  kColourLight3D = 22,
  kColourInfoText = 23,
  kColourInfoBackground = 24,
  kSystemColourCount = 25,
};

// The colour of the classic scheme for a system colour index; black for an index
// outside the table.
COLORREF SystemColour(int index);

// FillRect also takes a system colour index plus one in place of a brush.
inline HBRUSH SystemColourBrush(int index) {
  return reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(index + 1));
}

}  // namespace vorn::gdi
