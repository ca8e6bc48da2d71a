// The built-in controls in the classic look, pixel by pixel.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "platform/gdi/dc.h"
#include "platform/user/screen.h"
#include "tests/unit/look_fixture.h"

namespace vorn::testing {
namespace {

using PixelSet = std::set<std::pair<int, int>>;

// The pixels of one colour inside a rectangle.
PixelSet Inked(const gdi::Surface& surface, const RECT& area, std::uint32_t colour) {
  PixelSet found;
  for (LONG y = area.top; y < area.bottom; ++y) {
    for (LONG x = area.left; x < area.right; ++x) {
      if (surface.At(x, y) == colour) found.insert({x, y});
    }
  }
  return found;
}

PixelSet Moved(const PixelSet& pixels, int dx, int dy) {
  PixelSet moved;
  for (const auto& [x, y] : pixels) moved.insert({x + dx, y + dy});
  return moved;
}

class LookControls : public LookTest {};

TEST_F(LookControls, PushButtonEdgesByState) {
  struct Case {
    const char* name;
    DWORD style;
    bool pushed;
    Picture picture;
  };
  const Case cases[] = {
      {"normal", BS_PUSHBUTTON, false, {"WWWWWWWK", "W-----gK", "W-----gK", "W-----gK", "WggggggK", "KKKKKKKK"}},
      {"default", BS_DEFPUSHBUTTON, false,
       {"KKKKKKKK", "KWWWWWKK", "KW---gKK", "KWggggKK", "KKKKKKKK", "KKKKKKKK"}},
      {"pushed", BS_PUSHBUTTON, true, {"KKKKKKKK", "KggggggK", "Kg----gK", "Kg----gK", "KggggggK", "KKKKKKKK"}},
  };
  for (const Case& c : cases) {
    HWND button = Control("Button", "", c.style, RECT{10, 10, 18, 16});
    if (c.pushed) SendMessageA(button, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(Shot(RECT{10, 10, 18, 16}), c.picture) << c.name;
    DestroyWindow(button);
  }
}

// The focused push button takes the default look; its dots lie one pixel inside
// the edges.
TEST_F(LookControls, FocusedPushButtonHasTheHeavyFrameAndTheDots) {
  HWND button = Control("Button", "", BS_PUSHBUTTON, RECT{0, 0, 12, 10});
  SetFocus(button);
  EXPECT_EQ(Shot(RECT{0, 0, 12, 10}),
            (Picture{"KKKKKKKKKKKK", "KWWWWWWWWWKK", "KW-------gKK", "KW-------gKK", "KW--d-d--gKK", "KW---d-d-gKK",
                     "KW-------gKK", "KWggggggggKK", "KKKKKKKKKKKK", "KKKKKKKKKKKK"}));
}

// Text is centred; held down it moves one pixel down and right; disabled it is
// embossed: grey where the ink was, white one pixel down and right of it.
TEST_F(LookControls, PushButtonTextPressedAndDisabled) {
  const RECT area{0, 0, 40, 20};
  const RECT inside{3, 3, 37, 17};
  HWND button = Control("Button", "I", BS_PUSHBUTTON, area);
  const PixelSet ink = Inked(Pixels(), inside, 0x000000);
  ASSERT_FALSE(ink.empty());

  SendMessageA(button, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(Inked(Pixels(), inside, 0x000000), Moved(ink, 1, 1));
  SendMessageA(button, BM_SETSTATE, FALSE, 0);

  EnableWindow(button, FALSE);
  const gdi::Surface& disabled = Pixels();
  EXPECT_TRUE(Inked(disabled, inside, 0x000000).empty());
  EXPECT_EQ(Inked(disabled, inside, 0x808080), ink);
  PixelSet relief = Moved(ink, 1, 1);
  for (const auto& p : ink) relief.erase(p);
  EXPECT_EQ(Inked(disabled, inside, 0xFFFFFF), relief);
}

// In a dialog the heavy frame goes with the focus among push buttons, and back to
// the default button when the focus leaves them.
TEST_F(LookControls, DefaultLookFollowsTheFocus) {
  HWND dialog = CreateDialogParamA(nullptr, "INSTALL_DLG", nullptr, nullptr, 0);
  ASSERT_NE(dialog, nullptr);
  auto heavy = [&](int id) {
    Pump();
    RECT r;
    GetWindowRect(GetDlgItem(dialog, id), &r);
    RECT frame;
    GetWindowRect(dialog, &frame);
    return user::SurfaceOf(dialog)->At(r.left - frame.left, r.top - frame.top) == 0x000000;
  };
  SetFocus(GetDlgItem(dialog, 1));
  EXPECT_TRUE(heavy(1));
  EXPECT_FALSE(heavy(2));
  SetFocus(GetDlgItem(dialog, 2));
  EXPECT_FALSE(heavy(1));
  EXPECT_TRUE(heavy(2));
  SetFocus(GetDlgItem(dialog, 109));
  EXPECT_TRUE(heavy(1));
  EXPECT_FALSE(heavy(2));
}

TEST_F(LookControls, CheckBoxInItsSunkenBox) {
  struct Case {
    const char* name;
    bool checked;
    bool enabled;
    Picture picture;
  };
  const Case cases[] = {
      {"unchecked", false, true,
       {"ggggggggggggW", "gKKKKKKKKKK-W", "gKWWWWWWWWW-W", "gKWWWWWWWWW-W", "gKWWWWWWWWW-W", "gKWWWWWWWWW-W",
        "gKWWWWWWWWW-W", "gKWWWWWWWWW-W", "gKWWWWWWWWW-W", "gKWWWWWWWWW-W", "gKWWWWWWWWW-W", "g-----------W",
        "WWWWWWWWWWWWW"}},
      {"checked", true, true,
       {"ggggggggggggW", "gKKKKKKKKKK-W", "gKWWWWWWWWW-W", "gKWWWWWWWKW-W", "gKWWWWWWKKW-W", "gKWKWWWKKKW-W",
        "gKWKKWKKKWW-W", "gKWKKKKKWWW-W", "gKWWKKKWWWW-W", "gKWWWKWWWWW-W", "gKWWWWWWWWW-W", "g-----------W",
        "WWWWWWWWWWWWW"}},
      {"disabled", true, false,
       {"ggggggggggggW", "gKKKKKKKKKK-W", "gK----------W", "gK-------g--W", "gK------gg--W", "gK-g---ggg--W",
        "gK-gg-ggg---W", "gK-ggggg----W", "gK--ggg-----W", "gK---g------W", "gK----------W", "g-----------W",
        "WWWWWWWWWWWWW"}},
  };
  for (const Case& c : cases) {
    HWND box = Control("Button", "", BS_AUTOCHECKBOX, RECT{10, 10, 70, 23});
    if (c.checked) SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    EnableWindow(box, c.enabled);
    EXPECT_EQ(Shot(RECT{10, 10, 23, 23}), c.picture) << c.name;
    DestroyWindow(box);
  }
}

TEST_F(LookControls, GroupBoxTextBreaksTheEtchedFrame) {
  Control("Button", "Ab", BS_GROUPBOX, RECT{0, 0, 40, 20});
  const Picture shot = Shot(RECT{0, 0, 40, 20});
  // The frame runs through the middle of the first line: grey, then white below.
  EXPECT_EQ(shot[6].substr(0, 7), "ggggggg");
  EXPECT_EQ(shot[7].substr(1, 6), "WWWWWW");
  // It breaks from one pixel before the text to one after it ("Ab" is 12 wide).
  EXPECT_EQ(shot[6].substr(7, 1), "-");
  EXPECT_EQ(shot[6].substr(21, 18), "gggggggggggggggggg");
  EXPECT_EQ(shot[19], std::string(40, 'W'));
  // Inside the frame nothing is painted: what lay there stays.
  EXPECT_EQ(shot[12].substr(2, 36), std::string(36, '-'));
}

// Rows of a picture that hold any ink.
std::vector<int> InkedRows(const Picture& picture) {
  std::vector<int> rows;
  for (std::size_t y = 0; y < picture.size(); ++y) {
    if (picture[y].find('K') != std::string::npos) rows.push_back(static_cast<int>(y));
  }
  return rows;
}

// Columns of one row that hold ink, as a string of '#' and ' '.
std::string InkOf(const std::string& row) {
  std::string ink;
  for (char c : row) ink += c == 'K' ? '#' : ' ';
  return ink;
}

TEST_F(LookControls, StaticTextWrapsAtWordBoundaries) {
  // Ten cells of the 6-pixel font: "aaaa bbbb" fits, "aaaa bbbb cccc" does not.
  Control("Static", "aaaa bbbb cccc", SS_LEFT, RECT{0, 0, 60, 40});
  const Picture shot = Shot(RECT{0, 0, 60, 40});
  const std::vector<int> rows = InkedRows(shot);
  ASSERT_FALSE(rows.empty());
  EXPECT_LT(rows.front(), 13);
  EXPECT_GE(rows.back(), 13);
  EXPECT_LT(rows.back(), 26);
  // The second line is "cccc" alone, at the left.
  for (int y = 13; y < 26; ++y) {
    const std::size_t last = InkOf(shot[y]).find_last_of('#');
    EXPECT_TRUE(last == std::string::npos || last < 24) << "row " << y;
  }
}

TEST_F(LookControls, StaticMnemonicIsUnderlinedUnlessNoPrefix) {
  struct Case {
    const char* name;
    const char* text;
    DWORD style;
    std::string underline;  // the row under the text: the font's ascent is 11
  };
  const Case cases[] = {
      {"prefix", "&Ab", SS_LEFT, "######            "},
      {"second letter", "A&b", SS_LEFT, "      ######      "},
      {"doubled", "A&&b", SS_LEFT, "                  "},
      {"no prefix", "&Ab", SS_LEFT | SS_NOPREFIX, "                  "},
  };
  for (const Case& c : cases) {
    HWND label = Control("Static", c.text, c.style, RECT{0, 0, 18, 13});
    EXPECT_EQ(InkOf(Shot(RECT{0, 0, 18, 13})[12]), c.underline) << c.name;
    DestroyWindow(label);
  }
  // Without prefixes the "&" is shown: three glyphs, the first one ink.
  Control("Static", "&Ab", SS_LEFT | SS_NOPREFIX, RECT{0, 0, 18, 13});
  const Picture shot = Shot(RECT{0, 0, 18, 13});
  bool ampersand = false;
  for (const std::string& row : shot) ampersand = ampersand || InkOf(row).substr(0, 6).find('#') != std::string::npos;
  EXPECT_TRUE(ampersand);
}

TEST_F(LookControls, BorderedStaticGetsABlackFrameOutsideItsClientArea) {
  Control("Static", "", SS_LEFT | WS_BORDER, RECT{2, 2, 8, 7});
  EXPECT_EQ(Shot(RECT{1, 1, 9, 8}),
            (Picture{"--------", "-KKKKKK-", "-K----K-", "-K----K-", "-K----K-", "-KKKKKK-", "--------"}));
}

TEST_F(LookControls, StaticIconIsDrawnAtItsCorner) {
  HWND icon = Control("Static", "", SS_ICON, RECT{4, 4, 36, 36});
  HICON question = LoadIconA(nullptr, IDI_QUESTION);
  SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(question), 0);
  gdi::Surface expected;
  expected.Resize(32, 32, 0xC0C0C0);
  HDC dc = gdi::CreateSurfaceDC(&expected, POINT{0, 0}, RECT{0, 0, 32, 32});
  DrawIcon(dc, 0, 0, question);
  gdi::DeleteSurfaceDC(dc);
  EXPECT_EQ(Shot(RECT{4, 4, 36, 36}), PictureOf(expected, RECT{0, 0, 32, 32}));
}

// A bordered edit: the border takes the sunken edge's outer line, its inner line
// the outermost client pixels; the text starts one pixel inside.
TEST_F(LookControls, EditShowsCaretAndSelectionOnlyWithTheFocus) {
  HWND edit = Control("Edit", "ab", WS_BORDER, RECT{0, 0, 40, 19});
  const Picture idle = Shot(RECT{0, 0, 40, 19});
  EXPECT_EQ(idle[0], "ggggggggggggggggggggggggggggggggggggggg" "W");
  EXPECT_EQ(idle[1].substr(0, 3), "gKK");
  EXPECT_EQ(idle[17].substr(0, 3), "g--");
  EXPECT_EQ(idle[18], std::string(40, 'W'));
  EXPECT_EQ(idle[9].substr(2, 1), "W") << "the field is white";

  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 2, 2);
  const Picture caret = Shot(RECT{0, 0, 40, 19});
  // Text from x = 3 (border, inner line, margin); the caret after two glyphs.
  for (int y = 3; y < 16; ++y) EXPECT_EQ(caret[y][15], 'K') << y;
  EXPECT_EQ(idle[9][15], 'W');

  SendMessageA(edit, EM_SETSEL, 0, 1);
  const Picture selected = Shot(RECT{0, 0, 40, 19});
  EXPECT_EQ(selected[3].substr(3, 6), "NNNNNN") << "the first glyph's cell in the highlight";
  EXPECT_NE(selected[3].substr(9, 6), "NNNNNN");
  EXPECT_EQ(selected[9][9], 'K') << "the caret follows the selection's end";
}

TEST_F(LookControls, ListBoxHighlightsItsSelectionAndScrollsWhenFull) {
  HWND list = Control("ListBox", "", WS_BORDER | WS_VSCROLL, RECT{0, 0, 60, 30});
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("two"));
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  const Picture two = Shot(RECT{0, 0, 60, 30});
  // Items from the inner line, 13 rows each; the selected one in the highlight.
  EXPECT_EQ(two[5].substr(2, 10), "WWWWWWWWWW");
  EXPECT_EQ(two[15].substr(0, 3), "gKN") << "the second item's row starts 13 below the first";
  EXPECT_EQ(two[16].substr(56, 4), "NN-W") << "no scroll bar while everything fits";

  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("three"));
  const Picture three = Shot(RECT{0, 0, 60, 30});
  // A scroll bar 16 wide at the right: two raised buttons, arrows up and down.
  EXPECT_EQ(three[16].substr(41, 19), "NW-------------gK-W");
  EXPECT_EQ(InkOf(three[6].substr(43, 13)), "      #      ");
  EXPECT_EQ(InkOf(three[9].substr(43, 13)), "   #######   ");
  EXPECT_EQ(InkOf(three[19].substr(43, 13)), "   #######   ");
  EXPECT_EQ(InkOf(three[22].substr(43, 13)), "      #      ");
}

TEST_F(LookControls, ComboBoxShowsItsSelectionFieldAndDropDownButton) {
  HWND combo = Control("ComboBox", "", CBS_DROPDOWNLIST, RECT{0, 0, 60, 60});
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("c:"));
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  const Picture shot = Shot(RECT{0, 0, 60, 60});
  EXPECT_EQ(shot[0], std::string(59, 'g') + "W");
  EXPECT_EQ(shot[20], std::string(60, 'W')) << "the field is one line and eight pixels high";
  EXPECT_EQ(shot[22], std::string(60, '-')) << "below it the list would drop down";
  EXPECT_EQ(shot[2].substr(42, 16), "WWWWWWWWWWWWWWWK") << "the raised button at the right";
  EXPECT_EQ(InkOf(shot[8].substr(43, 13)), "   #######   ");
  EXPECT_EQ(InkOf(shot[11].substr(43, 13)), "      #      ");
  SetFocus(combo);
  EXPECT_EQ(Shot(RECT{0, 0, 60, 60})[5][4], 'N') << "focused, the selection is highlighted";
}

}  // namespace
}  // namespace vorn::testing
