// The EDIT, LISTBOX and COMBOBOX classes in the classic look: white fields in a
// sunken edge, the selection in the highlight colour, the caret, the scroll bar of
// a list and the drop-down button of a combo box.
//
// A control with WS_BORDER has a one-pixel border outside its client area; the
// sunken edge of the 3D look is two pixels, so its inner line takes the outermost
// pixels of the client area.
#include <algorithm>

#include "platform/api/gdi.h"
#include "platform/api/user.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/draw3d.h"
#include "platform/user/look.h"
#include "platform/user/look_draw.h"
#include "platform/user/metrics.h"

namespace vorn::user {

namespace {

using namespace look;

constexpr int kScrollBarWidth = 16;
constexpr int kTextMargin = 1;  // between the field's edge and its text
constexpr int kMinimumThumb = 8;

// The border and the inner line of the sunken edge; returns the field inside them.
RECT FieldEdge(ControlPaint& paint, COLORREF ground) {
  const RECT client = paint.client();
  gdi::FillSolidRect(paint.dc(), client, ground);
  if (!DrawChildBorder(paint.window(), true)) return client;
  return gdi::DrawEdge3D(paint.dc(), client, gdi::kSunkenInner);
}

// A line of text with part of it selected: the selection in the highlight colours.
void DrawSelectedLine(HDC dc, int x, int y, const std::string& text, std::size_t from, std::size_t to,
                      COLORREF ink, const RECT& clip) {
  DrawLabel(dc, x, y, Label{text, -1}, ink, clip);
  if (from >= to) return;
  const int left = x + TextWidth(text.substr(0, from));
  const int right = x + TextWidth(text.substr(0, to));
  const RECT band = Intersect(RECT{left, y, right, y + LineHeight()}, clip);
  gdi::FillSolidRect(dc, band, Colour(gdi::kColourHighlight));
  DrawLabel(dc, left, y, Label{text.substr(from, to - from), -1}, Colour(gdi::kColourHighlightText), band);
}

// The vertical scroll bar at the right of a list: arrow buttons at both ends, a
// dithered track, and a thumb while there is more than fits.
void DrawScrollBar(HDC dc, const RECT& bar, int count, int visible, int top, bool enabled) {
  const int arrow = std::min<int>(kScrollBarWidth, (bar.bottom - bar.top) / 2);
  const RECT up{bar.left, bar.top, bar.right, bar.top + arrow};
  const RECT down{bar.left, bar.bottom - arrow, bar.right, bar.bottom};
  const bool scrolls = enabled && count > visible;
  gdi::FillFace(dc, up);
  DrawArrow(dc, DrawButtonEdge(dc, up), false, scrolls);
  gdi::FillFace(dc, down);
  DrawArrow(dc, DrawButtonEdge(dc, down), true, scrolls);
  const RECT track{bar.left, up.bottom, bar.right, down.top};
  for (LONG y = track.top; y < track.bottom; ++y) {
    for (LONG x = track.left; x < track.right; ++x) {
      const COLORREF colour = (x + y) % 2 == 0 ? Colour(gdi::kColourButtonHighlight) : Colour(gdi::kColourButtonFace);
      gdi::FillSolidRect(dc, RECT{x, y, x + 1, y + 1}, colour);
    }
  }
  if (!scrolls) return;
  const int room = track.bottom - track.top;
  const int thumb = std::max(kMinimumThumb, room * visible / count);
  if (thumb > room) return;
  const int offset = (room - thumb) * std::min(top, count - visible) / (count - visible);
  const RECT knob{track.left, track.top + offset, track.right, track.top + offset + thumb};
  gdi::FillFace(dc, knob);
  DrawButtonEdge(dc, knob);
}

}  // namespace

void PaintEdit(HWND edit) {
  ControlPaint paint(edit);
  const Window& window = paint.window();
  const bool enabled = paint.enabled();
  const bool writable = enabled && !(window.style & ES_READONLY);
  const RECT field = FieldEdge(paint, writable ? Colour(gdi::kColourWindow) : Colour(gdi::kColourButtonFace));
  const RECT room{field.left + kTextMargin, field.top, field.right - kTextMargin, field.bottom};
  const std::string& text = window.text;
  const ControlState& c = window.control;
  const std::size_t caret = std::min<std::size_t>(c.editSelEnd, text.size());
  // The text scrolls left as far as it takes to keep the caret in sight.
  const int caretAt = TextWidth(text.substr(0, caret));
  const int scroll = std::max(0, caretAt - (room.right - room.left - 1));
  const int x = room.left - scroll;
  const int y = field.top + (field.bottom - field.top - LineHeight()) / 2;
  const COLORREF ink = enabled ? Colour(gdi::kColourWindowText) : Colour(gdi::kColourGrayText);
  const bool focused = paint.focused();
  const std::size_t from = focused ? std::min<std::size_t>(c.editSelStart, text.size()) : 0;
  const std::size_t to = focused ? caret : 0;
  DrawSelectedLine(paint.dc(), x, y, text, from, to, ink, room);
  if (focused) {
    const RECT bar = Intersect(RECT{x + caretAt, y, x + caretAt + 1, y + LineHeight()}, room);
    gdi::FillSolidRect(paint.dc(), bar, Colour(gdi::kColourWindowText));
  }
}

void PaintListBox(HWND list) {
  ControlPaint paint(list);
  const Window& window = paint.window();
  const bool enabled = paint.enabled();
  RECT field = FieldEdge(paint, Colour(gdi::kColourWindow));
  const ControlState& c = window.control;
  const int count = static_cast<int>(c.items.size());
  const int itemHeight = LineHeight();
  const int visible = std::max(1, static_cast<int>(field.bottom - field.top) / itemHeight);
  if ((window.style & WS_VSCROLL) && (count > visible || (window.style & LBS_DISABLENOSCROLL))) {
    const RECT bar{field.right - kScrollBarWidth, field.top, field.right, field.bottom};
    DrawScrollBar(paint.dc(), bar, count, visible, c.topIndex, enabled);
    field.right = bar.left;
  }
  const COLORREF ink = enabled ? Colour(gdi::kColourWindowText) : Colour(gdi::kColourGrayText);
  for (int index = c.topIndex, y = field.top; index < count && y < field.bottom; ++index, y += itemHeight) {
    const RECT row = Intersect(RECT{field.left, y, field.right, y + itemHeight}, field);
    const Label item{c.items[index], -1};
    if (index == c.selection) {
      gdi::FillSolidRect(paint.dc(), row, Colour(gdi::kColourHighlight));
      DrawLabel(paint.dc(), field.left + 2, y, item, Colour(gdi::kColourHighlightText), row);
      if (paint.focused()) DrawFocusRect(paint.dc(), row);
    } else {
      DrawLabel(paint.dc(), field.left + 2, y, item, ink, row);
    }
  }
}

// A combo box shows its selection field only; the window below it is where the
// list would drop down.
void PaintComboBox(HWND combo) {
  ControlPaint paint(combo);
  const Window& window = paint.window();
  const bool enabled = paint.enabled();
  const HDC dc = paint.dc();
  const RECT client = paint.client();
  const int fieldHeight = std::min<int>(client.bottom, LineHeight() + 8);
  const RECT whole{0, 0, client.right, fieldHeight};
  gdi::FillSolidRect(dc, whole, enabled ? Colour(gdi::kColourWindow) : Colour(gdi::kColourButtonFace));
  RECT field = gdi::DrawEdge3D(dc, whole, gdi::kEdgeSunken);
  if ((window.style & CBS_DROPDOWNLIST) != CBS_SIMPLE) {
    const RECT button{field.right - kScrollBarWidth, field.top, field.right, field.bottom};
    gdi::FillFace(dc, button);
    DrawArrow(dc, DrawButtonEdge(dc, button), true, enabled);
    field.right = button.left;
  }
  const int y = field.top + (field.bottom - field.top - LineHeight()) / 2;
  const RECT text{field.left + 1, field.top + 1, field.right - 1, field.bottom - 1};
  const Label shown{window.text, -1};
  if (paint.focused()) {
    gdi::FillSolidRect(dc, text, Colour(gdi::kColourHighlight));
    DrawLabel(dc, text.left + 1, y, shown, Colour(gdi::kColourHighlightText), text);
    DrawFocusRect(dc, text);
  } else {
    DrawLabel(dc, text.left + 1, y, shown, enabled ? Colour(gdi::kColourWindowText) : Colour(gdi::kColourGrayText), text);
  }
}

}  // namespace vorn::user
