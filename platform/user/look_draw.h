// The pieces the painters of the classic look share: labels with their mnemonic,
// text in the enabled and the embossed disabled style, focus rectangles, button
// edges, small glyphs, and device contexts for a control's paint and border.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/api/types.h"
#include "platform/gdi/colours.h"
#include "platform/user/window.h"

namespace vorn::user::look {

inline COLORREF Colour(int index) { return gdi::SystemColour(index); }

// The height of a line of text in the one dialog font.
int LineHeight();
int TextWidth(const std::string& text);

// A label as it is shown: "&" marks the next character as the mnemonic, which is
// underlined, and "&&" shows one "&"; without prefixes the text is shown as it is.
struct Label {
  std::string shown;
  int underline = -1;  // index into `shown`, or -1
};
Label ParseLabel(const std::string& text, bool prefixes);

// Draws a label with its top-left corner at (x, y), on a transparent background,
// clipped to `clip`. A disabled label is embossed: white one pixel down and right,
// grey over it.
void DrawLabel(HDC dc, int x, int y, const Label& label, COLORREF colour, const RECT& clip);
void DrawLabelEnabledOrNot(HDC dc, int x, int y, const Label& label, bool enabled, const RECT& clip);

// The dotted rectangle of the keyboard focus: every other pixel of its outline,
// inverted.
void DrawFocusRect(HDC dc, const RECT& rect);

// The edges of a push button, white and light above, grey and black below (the
// raised edge with the highlight outside); returns the rectangle inside them.
RECT DrawButtonEdge(HDC dc, const RECT& rect);
// A button held down: a black line, then a grey one; returns the inside.
RECT DrawPushedEdge(HDC dc, const RECT& rect);

// A small picture given as rows of letters, each letter a colour of the palette;
// letters the palette lacks (spaces) leave the pixel alone.
void DrawPicture(HDC dc, int x, int y, const std::vector<std::string>& rows, const std::map<char, COLORREF>& palette);
// A one-colour picture: '#' for a pixel in `colour`.
void DrawGlyph(HDC dc, int x, int y, const std::vector<std::string>& rows, COLORREF colour);
// The black arrow of scroll bars and drop-down buttons, 7 pixels wide and 4 high,
// centred in `rect`, pointing down or up; embossed when disabled.
void DrawArrow(HDC dc, const RECT& rect, bool down, bool enabled);

// Painting a control: BeginPaint on construction, EndPaint on destruction.
class ControlPaint {
 public:
  explicit ControlPaint(HWND control);
  ~ControlPaint();
  ControlPaint(const ControlPaint&) = delete;
  ControlPaint& operator=(const ControlPaint&) = delete;

  HDC dc() const { return paint_.hdc; }
  Window& window() const { return *window_; }
  RECT client() const { return client_; }
  bool enabled() const { return IsReallyEnabled(*window_); }
  bool focused() const;

 private:
  HWND handle_;
  Window* window_;
  PAINTSTRUCT paint_{};
  RECT client_{};
};

// Draws the border of a child window with WS_BORDER, in the parent's client area
// around the child's client area: one black line, or with `sunken` the outer line
// of the sunken edge (grey above, white below). Returns whether it drew one.
bool DrawChildBorder(const Window& control, bool sunken);

}  // namespace vorn::user::look
