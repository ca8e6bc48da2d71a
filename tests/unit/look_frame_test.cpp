// Frames and caption bars of top-level windows, and message boxes, pixel by pixel.
#include <gtest/gtest.h>

#include "platform/display/automation.h"
#include "platform/gdi/dc.h"
#include "platform/user/look.h"
#include "platform/user/screen.h"
#include "tests/unit/look_fixture.h"

namespace vorn::testing {
namespace {

class LookFrame : public LookTest {
 protected:
  // A dialog-framed window with caption and close button, 60 x 40 at (100, 50).
  HWND Framed(const char* title = "Ab") {
    return CreateWindowExA(WS_EX_DLGMODALFRAME, "vorn look canvas", title, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                           100, 50, 60, 40, nullptr, nullptr, nullptr, nullptr);
  }
  Picture ShotOf(HWND window, const RECT& area) {
    Pump();
    return PictureOf(*user::SurfaceOf(window), area);
  }
};

TEST_F(LookFrame, DialogFrameIsRaisedWithAFaceLineInside) {
  HWND window = Framed();
  const Picture shot = ShotOf(window, RECT{0, 0, 60, 40});
  EXPECT_EQ(shot[39], std::string(60, 'K'));
  EXPECT_EQ(shot[38], "-" + std::string(58, 'g') + "K");
  EXPECT_EQ(shot[37], "-W" + std::string(56, '-') + "gK");
  EXPECT_EQ(shot[30].substr(0, 3), "-W-");
  EXPECT_EQ(shot[30].substr(57, 3), "-gK");
  EXPECT_EQ(shot[0], std::string(59, '-') + "K");
  EXPECT_EQ(shot[1], "-" + std::string(57, 'W') + "gK");
}

// The bar is 17 rows below the frame, then a face line; the close button stands
// 2 pixels in from the bar's right and top edges.
TEST_F(LookFrame, CaptionBarWithTitleAndCloseButton) {
  HWND window = Framed();
  const Picture shot = ShotOf(window, RECT{0, 0, 60, 40});
  EXPECT_EQ(shot[3].substr(3, 54), std::string(54, 'N'));
  EXPECT_EQ(shot[19].substr(3, 54), std::string(54, 'N'));
  EXPECT_EQ(shot[20].substr(3, 54), std::string(54, '-'));
  EXPECT_EQ(shot[5].substr(37, 20), "NNWWWWWWWWWWWWWWWKNN") << "the close button's top edge, x 39 to 54";
  EXPECT_EQ(shot[18].substr(37, 20), "NNKKKKKKKKKKKKKKKKNN");
  // The cross, 8 by 7, in the middle of the button's face.
  const std::vector<std::string> cross = {"##    ##", " ##  ## ", "  ####  ", "   ##   ",
                                          "  ####  ", " ##  ## ", "##    ##"};
  for (int row = 0; row < 7; ++row) {
    std::string ink;
    for (char c : shot[8 + row].substr(43, 8)) ink += c == 'K' ? '#' : ' ';
    EXPECT_EQ(ink, cross[row]) << row;
  }
  // The bold title in white from 3 pixels into the bar.
  bool title = false;
  for (int y = 3; y < 20; ++y) title = title || shot[y].substr(6, 12).find('W') != std::string::npos;
  EXPECT_TRUE(title);
  EXPECT_EQ(shot[10].substr(3, 3), "NNN");
}

TEST_F(LookFrame, InactiveCaptionIsGreyWithALightTitle) {
  HWND window = Framed();
  HWND other = Framed("other");
  ASSERT_EQ(GetActiveWindow(), other);
  const gdi::Surface& pixels = (Pump(), *user::SurfaceOf(window));
  EXPECT_EQ(pixels.At(3, 3), 0x808080u);
  bool light = false;
  for (int y = 3; y < 20; ++y) {
    for (int x = 6; x < 18; ++x) light = light || pixels.At(x, y) == 0xC0C0C0;
  }
  EXPECT_TRUE(light);
  SetFocus(window);
  Pump();
  EXPECT_EQ(user::SurfaceOf(window)->At(3, 3), 0x000080u) << "active again";
  EXPECT_EQ(user::SurfaceOf(other)->At(3, 3), 0x808080u);
}

TEST_F(LookFrame, ATitleChangeRepaintsTheCaption) {
  HWND window = Framed("");
  const Picture before = ShotOf(window, RECT{0, 3, 60, 20});
  SetWindowTextA(window, "Ab");
  EXPECT_NE(ShotOf(window, RECT{0, 3, 60, 20}), before);
}

TEST_F(LookFrame, HitTestFindsThePartsOfTheFrame) {
  HWND window = Framed();
  struct Case {
    POINT screen;
    user::FramePart part;
  };
  const Case cases[] = {
      {{99, 60}, user::FramePart::Nowhere},     {{100, 50}, user::FramePart::Border},
      {{110, 55}, user::FramePart::Caption},    {{139, 55}, user::FramePart::CloseButton},
      {{154, 68}, user::FramePart::CloseButton}, {{155, 55}, user::FramePart::Caption},
      {{110, 70}, user::FramePart::Border},     {{110, 71}, user::FramePart::Client},
      {{156, 86}, user::FramePart::Client},     {{157, 86}, user::FramePart::Border},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(user::HitTestFrame(window, c.screen), c.part) << c.screen.x << "," << c.screen.y;
  }
}

// The four icons of message boxes, drawn where the box's layout puts them: 12
// pixels into its client area.
TEST_F(LookFrame, MessageBoxesShowTheirIcons) {
  struct Case {
    UINT flags;
    LPCSTR icon;
  };
  const Case cases[] = {{MB_ICONHAND, IDI_HAND},
                        {MB_ICONQUESTION, IDI_QUESTION},
                        {MB_ICONEXCLAMATION, IDI_EXCLAMATION},
                        {MB_ICONASTERISK, IDI_ASTERISK}};
  static gdi::Surface shown;
  for (const Case& c : cases) {
    shown = gdi::Surface{};
    // The box is open and painted when the timer fires; the script then answers it.
    SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      shown = *user::SurfaceOf(GetActiveWindow());
    });
    automation::SetScriptText("wait 20\nanswer ok");
    ASSERT_EQ(MessageBoxA(nullptr, "Text", "Caption", MB_OK | c.flags), IDOK);
    ASSERT_GT(shown.width, 0);

    gdi::Surface expected;
    expected.Resize(32, 32, 0xC0C0C0);
    HDC dc = gdi::CreateSurfaceDC(&expected, POINT{0, 0}, RECT{0, 0, 32, 32});
    DrawIcon(dc, 0, 0, LoadIconA(nullptr, c.icon));
    gdi::DeleteSurfaceDC(dc);
    const int left = 3 + 12;
    const int top = 3 + 18 + 12;
    EXPECT_EQ(PictureOf(shown, RECT{left, top, left + 32, top + 32}), PictureOf(expected, RECT{0, 0, 32, 32}))
        << c.flags;
    EXPECT_EQ(shown.At(3, 3), 0x000080u) << "the open box is the active window";
  }
}

}  // namespace
}  // namespace vorn::testing
