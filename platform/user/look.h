// The classic look of the window system: the painters of the built-in controls,
// the frames and caption bars that we draw around top-level windows (so that
// every display shows the same pixels), and where on such a frame a point lies.
#pragma once

#include "platform/api/types.h"

namespace vorn::user {

// The WM_PAINT of the built-in control classes: each paints its whole client
// area (and the border of a control with WS_BORDER) through BeginPaint.
void PaintButton(HWND button);
void PaintStatic(HWND control);
void PaintEdit(HWND edit);
void PaintListBox(HWND list);
void PaintComboBox(HWND combo);

// Draws the frame and the caption bar of a top-level window into its surface, as
// active or inactive as the window is now, and tells the display.
void PaintNonClient(HWND topLevel);

enum class FramePart { Nowhere, Client, Caption, CloseButton, Border };
// What of a visible top-level window lies at a point of the screen.
FramePart HitTestFrame(HWND topLevel, POINT screen);

}  // namespace vorn::user
