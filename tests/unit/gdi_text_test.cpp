// Text output in the embedded font: cells, colours, clipping, opaque rectangles,
// extents, and the per-cent figure of a progress bar painted with raw GDI calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/gdi/font.h"
#include "tests/unit/gdi_canvas.h"

namespace vorn::testing {
namespace {

using Picture = std::vector<std::string>;

// The glyph "0" of the regular font in its 6 x 13 cell.
const Picture kZero = {
    "......", "......", "..K...", ".K.K..", "K...K.", "K...K.", "K...K.",
    "K...K.", "K...K.", ".K.K..", "..K...", "......", "......",
};

// A picture of `width` background pixels per row with `inset` placed at (x, y).
Picture Place(int width, int height, int x, int y, const Picture& inset, char cellBackground) {
  Picture rows(height, std::string(width, '.'));
  for (std::size_t r = 0; r < inset.size(); ++r) {
    for (std::size_t c = 0; c < inset[r].size(); ++c) {
      const char pixel = inset[r][c];
      rows[y + r][x + c] = pixel == '.' ? cellBackground : pixel;
    }
  }
  return rows;
}

TEST(GdiFont, DialogBaseUnitsAreSixByThirteen) {
  for (gdi::FontStyle style : {gdi::FontStyle::Regular, gdi::FontStyle::Bold}) {
    const SIZE units = gdi::DialogBaseUnits(gdi::Font(style));
    EXPECT_EQ(units.cx, 6);
    EXPECT_EQ(units.cy, 13);
  }
}

TEST(GdiFont, CodePageBytesMapToTheirGlyphs) {
  const gdi::FontData& font = gdi::Font(gdi::FontStyle::Regular);
  const auto rows = [&](unsigned char c) {
    const gdi::Glyph& glyph = gdi::GlyphOf(font, c);
    return std::vector<std::uint8_t>(glyph.rows, glyph.rows + gdi::kGlyphRows);
  };
  const auto missing = rows(0x01);
  EXPECT_EQ(rows(0x81), missing) << "undefined in the code page";
  for (unsigned char c : {0x41, 0x80, 0xE9, 0xFF}) EXPECT_NE(rows(c), missing) << int{c};
  EXPECT_NE(rows(0x80), rows(0xE9));
}

TEST(GdiFont, HandlesLeadToTheirFonts) {
  EXPECT_EQ(gdi::FontOf(GetStockObject(SYSTEM_FONT)), &gdi::Font(gdi::FontStyle::Regular));
  EXPECT_EQ(gdi::FontOf(GetStockObject(DEFAULT_GUI_FONT)), &gdi::Font(gdi::FontStyle::Regular));
  EXPECT_EQ(gdi::FontOf(gdi::FontHandle(gdi::FontStyle::Bold)), &gdi::Font(gdi::FontStyle::Bold));
  EXPECT_EQ(gdi::FontOf(GetStockObject(BLACK_BRUSH)), nullptr);
}

TEST(GdiText, OpaqueCellWithInkInTheTextColour) {
  Canvas canvas(8, 15);
  SetTextColor(canvas.dc, RGB(0, 0, 0));
  SetBkColor(canvas.dc, RGB(255, 255, 255));
  EXPECT_TRUE(TextOutA(canvas.dc, 1, 1, "0", 1));
  EXPECT_EQ(canvas.Picture(), Place(8, 15, 1, 1, kZero, 'W'));
}

TEST(GdiText, TransparentModeLeavesTheBackground) {
  Canvas canvas(8, 15);
  SetBkMode(canvas.dc, TRANSPARENT);
  EXPECT_TRUE(ExtTextOutA(canvas.dc, 1, 1, 0, nullptr, "0", 1, nullptr));
  EXPECT_EQ(canvas.Picture(), Place(8, 15, 1, 1, kZero, '.'));
}

TEST(GdiText, ColoursAreConvertedFromColorRef) {
  Canvas canvas(6, 13);
  SetTextColor(canvas.dc, RGB(255, 0, 0));
  SetBkColor(canvas.dc, RGB(0, 100, 200));
  TextOutA(canvas.dc, 0, 0, "0", 1);
  EXPECT_EQ(canvas.surface.At(2, 2), 0xFF0000u);
  EXPECT_EQ(canvas.surface.At(0, 0), 0x0064C8u);
}

TEST(GdiText, ClippedToTheRectangleIncludingTheOpaqueCells) {
  Canvas canvas(8, 15);
  const RECT clip = {2, 3, 5, 9};
  EXPECT_TRUE(ExtTextOutA(canvas.dc, 1, 1, ETO_CLIPPED, &clip, "0", 1, nullptr));
  Picture expected = Place(8, 15, 1, 1, kZero, 'W');
  for (int y = 0; y < 15; ++y) {
    for (int x = 0; x < 8; ++x) {
      if (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) expected[y][x] = '.';
    }
  }
  EXPECT_EQ(canvas.Picture(), expected);
}

TEST(GdiText, OpaqueRectangleIsFilledWhateverTheModeAndTextIsNotClippedByIt) {
  Canvas canvas(8, 15);
  SetBkMode(canvas.dc, TRANSPARENT);
  SetBkColor(canvas.dc, RGB(0, 100, 200));
  const RECT box = {0, 0, 8, 3};
  EXPECT_TRUE(ExtTextOutA(canvas.dc, 1, 1, ETO_OPAQUE, &box, "0", 1, nullptr));
  Picture expected = Place(8, 15, 1, 1, kZero, '.');
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 8; ++x) {
      if (expected[y][x] == '.') expected[y][x] = 'B';
    }
  }
  EXPECT_EQ(canvas.Picture(), expected);
}

TEST(GdiText, OpaqueRectangleWithoutText) {
  Canvas canvas(4, 3);
  SetBkColor(canvas.dc, RGB(255, 0, 0));
  const RECT box = {1, 1, 3, 2};
  EXPECT_TRUE(ExtTextOutA(canvas.dc, 0, 0, ETO_OPAQUE | ETO_CLIPPED, &box, "", 0, nullptr));
  EXPECT_EQ(canvas.Picture(), (Picture{"....", ".RR.", "...."}));
}

TEST(GdiText, SpacingArraySetsTheDistanceBetweenCells) {
  Canvas canvas(20, 13);
  SetBkMode(canvas.dc, TRANSPARENT);
  const INT dx[] = {9, 6};
  ExtTextOutA(canvas.dc, 0, 0, 0, nullptr, "00", 2, dx);
  Picture expected = Place(20, 13, 0, 0, kZero, '.');
  for (std::size_t r = 0; r < kZero.size(); ++r) {
    for (std::size_t c = 0; c < kZero[r].size(); ++c) {
      if (kZero[r][c] == 'K') expected[r][9 + c] = 'K';
    }
  }
  EXPECT_EQ(canvas.Picture(), expected);
}

TEST(GdiText, ControlCharactersShowTheDefaultGlyph) {
  Canvas canvas(6, 13);
  TextOutA(canvas.dc, 0, 0, "\t", 1);
  int ink = 0;
  for (std::uint32_t pixel : canvas.surface.pixels) ink += pixel == 0x000000;
  EXPECT_GT(ink, 0);
}

TEST(GdiText, BoldFontDrawsOtherPixelsInTheSameCells) {
  Canvas regular(6, 13);
  Canvas bold(6, 13);
  SelectObject(bold.dc, gdi::FontHandle(gdi::FontStyle::Bold));
  TextOutA(regular.dc, 0, 0, "0", 1);
  TextOutA(bold.dc, 0, 0, "0", 1);
  EXPECT_NE(regular.surface.pixels, bold.surface.pixels);
  SIZE size;
  ASSERT_TRUE(GetTextExtentPoint32A(bold.dc, "0", 1, &size));
  EXPECT_EQ(size.cx, 6);
  EXPECT_EQ(size.cy, 13);
}

TEST(GdiText, ExtentsAreWidthsTimesCountAndTheCellHeight) {
  Canvas canvas(1, 1);
  struct Case {
    const char* text;
    int count;
    LONG cx;
  };
  for (const Case& c : {Case{"0%", 2, 12}, Case{"", 0, 0}, Case{"100%", 4, 24}, Case{"abc", 1, 6}}) {
    SIZE size = {-1, -1};
    ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc, c.text, c.count, &size)) << c.text;
    EXPECT_EQ(size.cx, c.cx) << c.text;
    EXPECT_EQ(size.cy, 13) << c.text;
  }
  SIZE size;
  EXPECT_FALSE(GetTextExtentPoint32A(canvas.dc, "x", -1, &size));
  EXPECT_FALSE(GetTextExtentPoint32A(canvas.dc, "x", 1, nullptr));
  EXPECT_FALSE(GetTextExtentPoint32A(nullptr, "x", 1, &size));
  EXPECT_FALSE(TextOutA(canvas.dc, 0, 0, "x", -1));
  EXPECT_FALSE(ExtTextOutA(canvas.dc, 0, 0, 0, nullptr, nullptr, 1, nullptr));
}

// A progress bar drawn the way the installer's dialog draws it, over the frame
// L, T, R, B with p pixels filled.
class ProgressBar : public ::testing::Test {
 protected:
  static constexpr LONG L = 3, T = 2, R = L + 200, B = T + 29;
  Canvas canvas{R + 3, B + 2};

  void Paint(LONG p) {
    HDC dc = canvas.dc;
    RECT outline = {L, T, R, B};
    FrameRect(dc, &outline, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const LONG W = R - L;
    LONG restLeft = L + 1;
    bool rest = true;
    if (p > 0) {
      const LONG filledRight = L + p < R - 1 ? L + p : R - 1;
      rest = L + p < R - 1;
      restLeft = filledRight;
      HBRUSH blue = CreateSolidBrush(RGB(0, 100, 200));
      RECT part = {L + 1, T + 1, filledRight, B - 1};
      FillRect(dc, &part, blue);
      DeleteObject(blue);
    }
    if (!rest) return;
    RECT part = {restLeft, T + 1, R - 1, B - 1};
    FillRect(dc, &part, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const COLORREF oldText = SetTextColor(dc, RGB(255, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    char text[300];
    std::snprintf(text, sizeof text, "%d%%", p > 0 ? static_cast<int>(p * 100 / W) : 0);
    const int x = restLeft + 4;
    const int y = (T + 1) + ((B - 1) - (T + 1)) / 5;
    RECT clip = {x, T + 1, R - 1, B - 1};
    ExtTextOutA(dc, x, y, ETO_CLIPPED, &clip, text, static_cast<UINT>(std::strlen(text)), nullptr);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
  }

  // The columns and rows that hold red pixels.
  RECT RedBounds() const {
    RECT bounds = {canvas.surface.width, canvas.surface.height, -1, -1};
    for (int y = 0; y < canvas.surface.height; ++y) {
      for (int x = 0; x < canvas.surface.width; ++x) {
        if (canvas.surface.At(x, y) != 0xFF0000) continue;
        bounds = {std::min<LONG>(bounds.left, x), std::min<LONG>(bounds.top, y), std::max<LONG>(bounds.right, x),
                  std::max<LONG>(bounds.bottom, y)};
      }
    }
    return bounds;
  }
  bool FrameIntact() const {
    for (int x = L; x < R; ++x) {
      if (canvas.surface.At(x, T) != 0 || canvas.surface.At(x, B - 1) != 0) return false;
    }
    for (int y = T; y < B; ++y) {
      if (canvas.surface.At(L, y) != 0 || canvas.surface.At(R - 1, y) != 0) return false;
    }
    return true;
  }
};

TEST_F(ProgressBar, EmptyBarShowsZeroPerCentFivePixelsRightOfTheFrame) {
  Paint(0);
  const RECT red = RedBounds();
  EXPECT_EQ(red.left, L + 5);
  // The text cell starts at T + 1 + 27 / 5; the glyph's ink starts two rows down.
  EXPECT_EQ(red.top, T + 1 + 5 + 2);
  EXPECT_EQ(red.right, L + 5 + 6 + 4) << "the last ink column of the cell of \"%\"";
  EXPECT_EQ(canvas.surface.At(L + 1, T + 1), 0xFFFFFFu);
  EXPECT_TRUE(FrameIntact());
}

TEST_F(ProgressBar, FigureComesFromPixels) {
  Paint(99);
  // "49%": three cells starting at L + 99 + 4.
  Canvas reference(R + 3, B + 2);
  SetTextColor(reference.dc, RGB(255, 0, 0));
  TextOutA(reference.dc, L + 99 + 4, T + 1 + 5, "49%", 3);
  for (int y = 0; y < canvas.surface.height; ++y) {
    for (int x = 0; x < canvas.surface.width; ++x) {
      EXPECT_EQ(canvas.surface.At(x, y) == 0xFF0000, reference.surface.At(x, y) == 0xFF0000) << x << "," << y;
    }
  }
  EXPECT_EQ(canvas.surface.At(L + 98, T + 1), 0x0064C8u) << "filled up to L + p";
  EXPECT_EQ(canvas.surface.At(L + 99, T + 1), 0xFFFFFFu);
}

TEST_F(ProgressBar, FigureIsClippedAtTheInnerRightEdge) {
  Paint(R - L - 12);  // the rest is 11 pixels wide, the text 18
  const RECT red = RedBounds();
  EXPECT_LE(red.right, R - 2);
  EXPECT_GE(red.top, T + 1);
  EXPECT_TRUE(FrameIntact());
  EXPECT_EQ(canvas.surface.At(R - 1, T + 10), 0x000000u);
}

TEST_F(ProgressBar, FullBarHasNoFigure) {
  for (LONG p : {R - L - 1, R - L}) {
    Paint(p);
    EXPECT_EQ(RedBounds().right, -1) << p;
    EXPECT_EQ(canvas.surface.At(R - 2, B - 2), 0x0064C8u) << p;
    EXPECT_TRUE(FrameIntact());
  }
}

TEST_F(ProgressBar, ColoursAreRestored) {
  SetTextColor(canvas.dc, RGB(1, 2, 3));
  SetBkColor(canvas.dc, RGB(4, 5, 6));
  Paint(50);
  EXPECT_EQ(GetTextColor(canvas.dc), RGB(1, 2, 3));
  EXPECT_EQ(GetBkColor(canvas.dc), RGB(4, 5, 6));
}

}  // namespace
}  // namespace vorn::testing
