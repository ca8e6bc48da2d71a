// The BUTTON class in the classic look: push buttons (the default one with its
// heavier frame), check boxes, radio buttons and group boxes.
#include <map>

#include "platform/api/gdi.h"
#include "platform/api/user.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/draw3d.h"
#include "platform/user/internal.h"
#include "platform/user/look.h"
#include "platform/user/look_draw.h"
#include "platform/user/metrics.h"

namespace vorn::user {

namespace {

using namespace look;

constexpr int kCheckSize = 13;
constexpr int kRadioSize = 12;
constexpr int kMarkGap = 4;  // between the box and the text of check boxes and radio buttons
constexpr int kGroupTextLeft = 8;

UINT Kind(const Window& window) { return window.style & BS_TYPEMASK; }
bool IsPushButton(const Window& window) { return Kind(window) == BS_PUSHBUTTON || Kind(window) == BS_DEFPUSHBUTTON; }

// A push button looks like the default one while it has the focus, and the
// dialog's default button does while the focus is on no push button of the dialog.
bool LooksDefault(const Window& button) {
  const HWND focus = GetFocus();
  if (focus == button.handle) return true;
  const Window* focused = Find(focus);
  if (focused != nullptr && IsChild(*focused) && focused->parent == button.parent && IsPushButton(*focused)) return false;
  const Window* parent = Find(button.parent);
  if (parent != nullptr && parent->dialog != nullptr) {
    const LRESULT id = SendMessageA(button.parent, DM_GETDEFID, 0, 0);
    return HIWORD(id) == DC_HASDEFID && static_cast<int>(LOWORD(id)) == (button.id & 0xFFFF);
  }
  return Kind(button) == BS_DEFPUSHBUTTON;
}

// A focus change repaints only the two controls it concerns, yet it can move the
// default look between two other push buttons: after painting one, the painter
// repaints its siblings that no longer look as they were last painted.
std::map<HWND, bool>& LookedDefault() {
  static std::map<HWND, bool> looks;
  return looks;
}

void RepaintChangedSiblings(const Window& button) {
  auto& looks = LookedDefault();
  for (auto it = looks.begin(); it != looks.end();) {
    it = Find(it->first) == nullptr ? looks.erase(it) : std::next(it);
  }
  const Window* parent = Find(button.parent);
  if (parent == nullptr) return;
  for (HWND sibling : parent->children) {
    const Window* other = Find(sibling);
    if (sibling == button.handle || other == nullptr || !IsPushButton(*other)) continue;
    auto painted = looks.find(sibling);
    if (painted != looks.end() && painted->second != LooksDefault(*other)) Invalidate(sibling, nullptr, false);
  }
}

void PaintPushButton(ControlPaint& paint) {
  const HDC dc = paint.dc();
  Window& window = paint.window();
  RECT rect = paint.client();
  const bool heavy = LooksDefault(window);
  LookedDefault()[window.handle] = heavy;
  gdi::FillFace(dc, rect);
  const bool pushed = window.control.pushed;
  RECT inside;
  if (pushed) {
    inside = DrawPushedEdge(dc, rect);
  } else {
    if (heavy) {
      const COLORREF black = Colour(gdi::kColourWindowFrame);
      gdi::FillSolidRect(dc, RECT{rect.left, rect.top, rect.right, rect.top + 1}, black);
      gdi::FillSolidRect(dc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, black);
      gdi::FillSolidRect(dc, RECT{rect.left, rect.top, rect.left + 1, rect.bottom}, black);
      gdi::FillSolidRect(dc, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, black);
      rect = RECT{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    }
    inside = DrawButtonEdge(dc, rect);
  }
  const Label label = ParseLabel(window.text, true);
  const int shift = pushed ? 1 : 0;
  const RECT whole = paint.client();
  const int x = (whole.right - TextWidth(label.shown)) / 2 + shift;
  const int y = (whole.bottom - LineHeight()) / 2 + shift;
  DrawLabelEnabledOrNot(dc, x, y, label, paint.enabled(), inside);
  if (paint.focused()) {
    const int inset = heavy ? 4 : 3;
    DrawFocusRect(dc, RECT{whole.left + inset, whole.top + inset, whole.right - inset, whole.bottom - inset});
  }
  RepaintChangedSiblings(window);
}

// The box or circle of a check box or radio button at the left, the text right of it.
void PaintMarkedButton(ControlPaint& paint, bool radio) {
  const HDC dc = paint.dc();
  const Window& window = paint.window();
  const RECT client = paint.client();
  gdi::FillFace(dc, client);
  const bool enabled = paint.enabled();
  // The mark's ground is grey while the button is held down or disabled.
  const COLORREF ground = enabled && !window.control.pushed ? Colour(gdi::kColourWindow) : Colour(gdi::kColourButtonFace);
  const COLORREF ink = enabled ? Colour(gdi::kColourWindowText) : Colour(gdi::kColourGrayText);
  const int size = radio ? kRadioSize : kCheckSize;
  const int top = (client.bottom - size) / 2;
  if (radio) {
    static const std::vector<std::string> kCircle = {
        "    oooo    ", "  ooiiiioo  ", " oiiwwwwiio ", " oiwwwwwwio ", "oiwwwwwwwwio", "oiwwwwwwwwio",
        "oiwwwwwwwwio", "oiwwwwwwwwio", " oiwwwwwwio ", " oiiwwwwiio ", "  ooiiiioo  ", "    oooo    ",
    };
    // Lines above the falling diagonal are the shadowed ones.
    for (int row = 0; row < kRadioSize; ++row) {
      for (int column = 0; column < kRadioSize; ++column) {
        const char part = kCircle[row][column];
        if (part == ' ') continue;
        const bool upper = row + column <= kRadioSize - 2;
        COLORREF colour = ground;
        if (part == 'o') colour = Colour(upper ? gdi::kColourButtonShadow : gdi::kColourButtonHighlight);
        if (part == 'i') colour = Colour(upper ? gdi::kColourDarkShadow3D : gdi::kColourLight3D);
        gdi::FillSolidRect(dc, RECT{column, top + row, column + 1, top + row + 1}, colour);
      }
    }
    if (window.control.check == BST_CHECKED) DrawGlyph(dc, 4, top + 4, {" ## ", "####", "####", " ## "}, ink);
  } else {
    const RECT box{0, top, kCheckSize, top + kCheckSize};
    const RECT inside = gdi::DrawEdge3D(dc, box, gdi::kEdgeSunken);
    gdi::FillSolidRect(dc, inside, ground);
    if (window.control.check == BST_CHECKED) {
      DrawGlyph(dc, inside.left + 1, inside.top + 1,
                {"      #", "     ##", "#   ###", "## ### ", "#####  ", " ###   ", "  #    "}, ink);
    } else if (window.control.check == BST_INDETERMINATE) {
      DrawPicture(dc, inside.left, inside.top,
                  {"# # # # #", " # # # # ", "# # # # #", " # # # # ", "# # # # #", " # # # # ", "# # # # #",
                   " # # # # ", "# # # # #"},
                  {{'#', Colour(gdi::kColourButtonShadow)}});
    }
  }
  const Label label = ParseLabel(window.text, true);
  const int x = size + kMarkGap;
  const int y = (client.bottom - LineHeight()) / 2;
  DrawLabelEnabledOrNot(dc, x, y, label, enabled, client);
  if (paint.focused() && !label.shown.empty()) {
    const RECT around{x - 1, y - 1, x + TextWidth(label.shown) + 1, y + LineHeight() + 1};
    DrawFocusRect(dc, Intersect(around, client));
  }
}

// The etched frame runs through the middle of the first line, and the text breaks
// it. The inside is not painted: the controls in the group lie there.
void PaintGroupBox(ControlPaint& paint) {
  const HDC dc = paint.dc();
  const Window& window = paint.window();
  const RECT client = paint.client();
  const int line = LineHeight();
  gdi::FillFace(dc, RECT{client.left, client.top, client.right, client.top + line});
  gdi::DrawEdge3D(dc, RECT{client.left, client.top + line / 2, client.right, client.bottom}, gdi::kEdgeEtched);
  const Label label = ParseLabel(window.text, true);
  if (label.shown.empty()) return;
  const int width = TextWidth(label.shown);
  gdi::FillFace(dc, RECT{kGroupTextLeft - 1, client.top, kGroupTextLeft + width + 1, client.top + line});
  DrawLabelEnabledOrNot(dc, kGroupTextLeft, client.top, label, paint.enabled(), client);
}

}  // namespace

void PaintButton(HWND button) {
  ControlPaint paint(button);
  switch (Kind(paint.window())) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      PaintPushButton(paint);
      break;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      PaintMarkedButton(paint, false);
      break;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      PaintMarkedButton(paint, true);
      break;
    case BS_GROUPBOX:
      PaintGroupBox(paint);
      break;
    default:
      gdi::FillFace(paint.dc(), paint.client());
      break;
  }
}

}  // namespace vorn::user
