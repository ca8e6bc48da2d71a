// The classic three-dimensional edges, pixel by pixel.
#include <gtest/gtest.h>

#include "platform/gdi/draw3d.h"
#include "tests/unit/gdi_canvas.h"

namespace vorn::testing {
namespace {

using Picture = std::vector<std::string>;

TEST(GdiDraw3D, TwoLineEdgesInTheClassicColours) {
  struct Case {
    const char* name;
    unsigned lines;
    Picture picture;
  };
  const Case cases[] = {
      {"raised", gdi::kEdgeRaised, {"lllllllK", "lWWWWWgK", "lW....gK", "lW....gK", "lggggggK", "KKKKKKKK"}},
      {"sunken", gdi::kEdgeSunken, {"gggggggW", "gKKKKKlW", "gK....lW", "gK....lW", "gllllllW", "WWWWWWWW"}},
      {"etched", gdi::kEdgeEtched, {"gggggggW", "gWWWWWgW", "gW....gW", "gW....gW", "gggggggW", "WWWWWWWW"}},
      {"bump", gdi::kEdgeBump, {"lllllllK", "lKKKKKlK", "lK....lK", "lK....lK", "lllllllK", "KKKKKKKK"}},
  };
  for (const Case& c : cases) {
    Canvas canvas(8, 6);
    const RECT inside = gdi::DrawEdge3D(canvas.dc, RECT{0, 0, 8, 6}, c.lines);
    EXPECT_EQ(canvas.Picture(), c.picture) << c.name;
    EXPECT_EQ(inside.left, 2);
    EXPECT_EQ(inside.top, 2);
    EXPECT_EQ(inside.right, 6);
    EXPECT_EQ(inside.bottom, 4);
  }
}

TEST(GdiDraw3D, OneLineAndAFaceInside) {
  Canvas canvas(4, 3);
  const RECT inside = gdi::DrawEdge3D(canvas.dc, RECT{0, 0, 4, 3}, gdi::kRaisedInner);
  gdi::FillFace(canvas.dc, inside);
  EXPECT_EQ(canvas.Picture(), (Picture{"WWWg", "Wllg", "gggg"}));
}

TEST(GdiDraw3D, EmptyRectangleDrawsNothing) {
  Canvas canvas(3, 3);
  gdi::DrawEdge3D(canvas.dc, RECT{2, 2, 1, 1}, gdi::kEdgeSunken);
  EXPECT_EQ(canvas.Picture(), Picture(3, "..."));
}

}  // namespace
}  // namespace vorn::testing
