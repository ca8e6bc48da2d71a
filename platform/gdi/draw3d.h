// The classic three-dimensional look for painters of controls and frames: edges
// of one or two pixel lines in the scheme's highlight, light, shadow and dark
// shadow colours around a light grey face.
#pragma once

#include "platform/api/types.h"

namespace vorn::gdi {

// The lines an edge is made of, as the API's BDR_* values.
enum EdgeLines : unsigned {
  kRaisedOuter = 0x1,  // light above and left, dark shadow below and right
  kSunkenOuter = 0x2,  // shadow above and left, highlight below and right
  kRaisedInner = 0x4,  // highlight above and left, shadow below and right
  kSunkenInner = 0x8,  // dark shadow above and left, light below and right
};
// The usual edges, as the API's EDGE_* values.
enum Edge : unsigned {
  kEdgeRaised = kRaisedOuter | kRaisedInner,  // push buttons, window frames
  kEdgeSunken = kSunkenOuter | kSunkenInner,  // edit fields, list boxes, sunken statics
  kEdgeEtched = kSunkenOuter | kRaisedInner,  // group boxes, separators
  kEdgeBump = kRaisedOuter | kSunkenInner,
};

// Draws the outer line, then the inner one, inside `rect`; the lower and right
// colour owns the corners it shares with the upper and left one. Returns the
// rectangle left inside the lines drawn.
RECT DrawEdge3D(HDC dc, const RECT& rect, unsigned lines);

// Fills `rect` with the button face colour.
void FillFace(HDC dc, const RECT& rect);

}  // namespace vorn::gdi
