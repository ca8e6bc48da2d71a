// The classic scheme of system colours: light grey faces, white highlights, grey
// shadows, a navy caption on a teal desktop.
#include "platform/gdi/colours.h"

namespace vorn::gdi {

COLORREF SystemColour(int index) {
  static const COLORREF kScheme[kSystemColourCount] = {
      RGB(192, 192, 192),  // scroll bar
      RGB(0, 128, 128),    // desktop
      RGB(0, 0, 128),      // active caption
      RGB(128, 128, 128),  // inactive caption
      RGB(192, 192, 192),  // menu
      RGB(255, 255, 255),  // window
      RGB(0, 0, 0),        // window frame
      RGB(0, 0, 0),        // menu text
      RGB(0, 0, 0),        // window text
      RGB(255, 255, 255),  // caption text
      RGB(192, 192, 192),  // active border
      RGB(192, 192, 192),  // inactive border
      RGB(128, 128, 128),  // application workspace
      RGB(0, 0, 128),      // highlight
      RGB(255, 255, 255),  // highlight text
      RGB(192, 192, 192),  // button face
      RGB(128, 128, 128),  // button shadow
      RGB(128, 128, 128),  // grey text
      RGB(0, 0, 0),        // button text
      RGB(192, 192, 192),  // inactive caption text
      RGB(255, 255, 255),  // button highlight
      RGB(0, 0, 0),        // 3D dark shadow
      RGB(192, 192, 192),  // 3D light
      RGB(0, 0, 0),        // tooltip text
      RGB(255, 255, 225),  // tooltip background
  };
  return index >= 0 && index < kSystemColourCount ? kScheme[index] : RGB(0, 0, 0);
}

}  // namespace vorn::gdi
