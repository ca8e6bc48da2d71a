// Device contexts, objects, colours and the rectangle fills, pixel by pixel.
#include <gtest/gtest.h>

#include "platform/gdi/colours.h"
#include "tests/unit/gdi_canvas.h"

namespace vorn::testing {
namespace {

using Picture = std::vector<std::string>;
HBRUSH Stock(int index) { return static_cast<HBRUSH>(GetStockObject(index)); }

TEST(GdiFillRect, FillsLeftAndTopButNotRightAndBottom) {
  Canvas canvas(7, 5);
  const RECT rect = {2, 1, 5, 4};
  EXPECT_NE(FillRect(canvas.dc, &rect, Stock(BLACK_BRUSH)), 0);
  EXPECT_EQ(canvas.Picture(), (Picture{
                                  ".......",
                                  "..KKK..",
                                  "..KKK..",
                                  "..KKK..",
                                  ".......",
                              }));
}

TEST(GdiFillRect, EmptyAndInvertedRectanglesDrawNothing) {
  const RECT cases[] = {{3, 1, 3, 4}, {2, 2, 5, 2}, {5, 1, 2, 4}, {2, 4, 5, 1}};
  for (const RECT& rect : cases) {
    Canvas canvas(7, 5);
    EXPECT_NE(FillRect(canvas.dc, &rect, Stock(BLACK_BRUSH)), 0);
    EXPECT_EQ(canvas.Picture(), Picture(5, ".......")) << rect.left << "," << rect.top;
  }
}

TEST(GdiFrameRect, DrawsOnePixelInsideTheRectangle) {
  Canvas canvas(8, 6);
  const RECT frame = {1, 1, 7, 5};
  const RECT column = {0, 0, 1, 6};
  EXPECT_NE(FrameRect(canvas.dc, &frame, Stock(BLACK_BRUSH)), 0);
  EXPECT_NE(FrameRect(canvas.dc, &column, Stock(WHITE_BRUSH)), 0);
  EXPECT_EQ(canvas.Picture(), (Picture{
                                  "W.......",
                                  "WKKKKKK.",
                                  "WK....K.",
                                  "WK....K.",
                                  "WKKKKKK.",
                                  "W.......",
                              }));
}

TEST(GdiFrameRect, InvertedRectangleDrawsNothing) {
  Canvas canvas(4, 4);
  const RECT inverted = {3, 3, 1, 1};
  FrameRect(canvas.dc, &inverted, Stock(BLACK_BRUSH));
  EXPECT_EQ(canvas.Picture(), Picture(4, "...."));
}

TEST(GdiDeviceContext, OriginMovesAndClipBoundsEveryDrawing) {
  // The client's (0, 0) lies at surface (2, 1); only surface x 3..6, y 2..4 may change.
  Canvas canvas(8, 6, POINT{2, 1}, RECT{3, 2, 7, 5});
  const RECT everything = {-1000, -1000, 1000, 1000};
  const RECT corner = {0, 0, 2, 2};
  FillRect(canvas.dc, &everything, Stock(WHITE_BRUSH));
  FillRect(canvas.dc, &corner, Stock(BLACK_BRUSH));
  EXPECT_EQ(canvas.Picture(), (Picture{
                                  "........",
                                  "........",
                                  "...KWWW.",
                                  "...WWWW.",
                                  "...WWWW.",
                                  "........",
                              }));
}

TEST(GdiDeviceContext, ExtremeCoordinatesDoNotOverflow) {
  Canvas canvas(3, 3, POINT{2, 2}, RECT{0, 0, 3, 3});
  const RECT huge = {0x7FFFFFF0, 0x7FFFFFF0, 0x7FFFFFFF, 0x7FFFFFFF};
  const RECT wide = {-0x7FFFFFFF, -3, 0x7FFFFFFF, -1};
  FillRect(canvas.dc, &huge, Stock(BLACK_BRUSH));
  FillRect(canvas.dc, &wide, Stock(BLACK_BRUSH));
  EXPECT_EQ(canvas.Picture(), (Picture{"KKK", "...", "..."}));
}

TEST(GdiDeviceContext, WithoutSurfaceDrawsNothingButWorks) {
  HDC dc = gdi::CreateSurfaceDC(nullptr, POINT{0, 0}, RECT{0, 0, 10, 10});
  const RECT rect = {0, 0, 5, 5};
  EXPECT_NE(FillRect(dc, &rect, Stock(BLACK_BRUSH)), 0);
  EXPECT_TRUE(ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, "x", 1, nullptr));
  gdi::DeleteSurfaceDC(dc);
  EXPECT_EQ(FillRect(dc, &rect, Stock(BLACK_BRUSH)), 0) << "a deleted device context";
  EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
}

TEST(GdiBrushes, StockAndSystemColoursAndSolidBrushes) {
  struct Case {
    HBRUSH brush;
    std::uint32_t pixel;
  };
  HBRUSH blue = CreateSolidBrush(RGB(0, 100, 200));
  const Case cases[] = {
      {Stock(WHITE_BRUSH), 0xFFFFFF},  {Stock(LTGRAY_BRUSH), 0xC0C0C0},
      {Stock(GRAY_BRUSH), 0x808080},   {Stock(DKGRAY_BRUSH), 0x404040},
      {Stock(BLACK_BRUSH), 0x000000},  {blue, 0x0064C8},
      {gdi::SystemColourBrush(gdi::kColourButtonFace), 0xC0C0C0},
      {gdi::SystemColourBrush(gdi::kColourActiveCaption), 0x000080},
  };
  for (const Case& c : cases) {
    Canvas canvas(1, 1);
    const RECT rect = {0, 0, 1, 1};
    EXPECT_NE(FillRect(canvas.dc, &rect, c.brush), 0);
    EXPECT_EQ(canvas.surface.At(0, 0), c.pixel);
  }
  EXPECT_TRUE(DeleteObject(blue));
}

TEST(GdiBrushes, NullBrushPaintsNothingAndUnknownBrushFails) {
  Canvas canvas(2, 2);
  const RECT rect = {0, 0, 2, 2};
  EXPECT_NE(FillRect(canvas.dc, &rect, Stock(NULL_BRUSH)), 0);
  EXPECT_NE(FrameRect(canvas.dc, &rect, Stock(NULL_BRUSH)), 0);
  EXPECT_EQ(FillRect(canvas.dc, &rect, nullptr), 0);
  EXPECT_EQ(FillRect(canvas.dc, &rect, Stock(BLACK_PEN)), 0) << "a pen is no brush";
  EXPECT_EQ(FillRect(canvas.dc, nullptr, Stock(BLACK_BRUSH)), 0);
  EXPECT_EQ(canvas.Picture(), Picture(2, ".."));
}

TEST(GdiObjects, StockObjectsExistOnlyForTheirIndices) {
  const int named[] = {WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, BLACK_BRUSH, NULL_BRUSH,
                       WHITE_PEN,   BLACK_PEN,    NULL_PEN,   SYSTEM_FONT,  DEFAULT_GUI_FONT};
  for (int index : named) {
    EXPECT_NE(GetStockObject(index), nullptr) << index;
    EXPECT_EQ(GetStockObject(index), GetStockObject(index));
  }
  EXPECT_NE(GetStockObject(WHITE_BRUSH), GetStockObject(BLACK_BRUSH));
  for (int index : {-1, 9, 12, 18, 1000}) EXPECT_EQ(GetStockObject(index), nullptr) << index;
}

TEST(GdiObjects, DeletingStockObjectsIsHarmless) {
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
  EXPECT_TRUE(DeleteObject(GetStockObject(SYSTEM_FONT)));
  Canvas canvas(1, 1);
  const RECT rect = {0, 0, 1, 1};
  EXPECT_NE(FillRect(canvas.dc, &rect, Stock(BLACK_BRUSH)), 0);
  EXPECT_EQ(canvas.surface.At(0, 0), 0x000000u);
}

TEST(GdiObjects, DeletedBrushIsGoneAndSelectedBrushCannotBeDeleted) {
  Canvas canvas(1, 1);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  ASSERT_NE(brush, nullptr);
  HGDIOBJ previous = SelectObject(canvas.dc, brush);
  EXPECT_EQ(previous, GetStockObject(WHITE_BRUSH)) << "the default brush";
  EXPECT_FALSE(DeleteObject(brush)) << "still selected";
  EXPECT_EQ(SelectObject(canvas.dc, previous), brush);
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_FALSE(DeleteObject(brush)) << "deleted twice";
  const RECT rect = {0, 0, 1, 1};
  EXPECT_EQ(FillRect(canvas.dc, &rect, brush), 0);
  EXPECT_EQ(SelectObject(canvas.dc, brush), nullptr);
}

TEST(GdiObjects, SelectObjectReplacesOnlyItsKind) {
  Canvas canvas(1, 1);
  EXPECT_EQ(SelectObject(canvas.dc, GetStockObject(DEFAULT_GUI_FONT)), GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(SelectObject(canvas.dc, GetStockObject(NULL_PEN)), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(canvas.dc, GetStockObject(GRAY_BRUSH)), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(canvas.dc, GetStockObject(SYSTEM_FONT)), GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_EQ(SelectObject(nullptr, GetStockObject(SYSTEM_FONT)), nullptr);
}

TEST(GdiColours, SettersReturnThePreviousColour) {
  Canvas canvas(1, 1);
  EXPECT_EQ(GetTextColor(canvas.dc), RGB(0, 0, 0));
  EXPECT_EQ(GetBkColor(canvas.dc), RGB(255, 255, 255));
  EXPECT_EQ(SetTextColor(canvas.dc, RGB(255, 0, 0)), RGB(0, 0, 0));
  EXPECT_EQ(SetTextColor(canvas.dc, RGB(1, 2, 3)), RGB(255, 0, 0));
  EXPECT_EQ(GetTextColor(canvas.dc), RGB(1, 2, 3));
  EXPECT_EQ(SetBkColor(canvas.dc, RGB(0, 100, 200)), RGB(255, 255, 255));
  EXPECT_EQ(GetBkColor(canvas.dc), RGB(0, 100, 200));
  EXPECT_EQ(GetTextColor(nullptr), CLR_INVALID);
  EXPECT_EQ(SetBkColor(nullptr, 0), CLR_INVALID);
}

TEST(GdiColours, BackgroundModeChangesOnlyToKnownModes) {
  Canvas canvas(1, 1);
  EXPECT_EQ(SetBkMode(canvas.dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkMode(canvas.dc, 7), 0);
  EXPECT_EQ(SetBkMode(canvas.dc, OPAQUE), TRANSPARENT);
  EXPECT_EQ(SetBkMode(nullptr, OPAQUE), 0);
}

TEST(GdiColours, ColorRefAndPixelOrderAreSwapped) {
  EXPECT_EQ(gdi::ToPixel(RGB(0x12, 0x34, 0x56)), 0x123456u);
  EXPECT_EQ(gdi::ToColorRef(0x123456), RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(gdi::ToPixel(0x02000000 | RGB(1, 2, 3)), 0x010203u) << "palette selector ignored";
}

}  // namespace
}  // namespace vorn::testing
