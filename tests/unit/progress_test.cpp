// The progress bar and status line of the install page, pixel by pixel, on a real
// INSTALL_DLG dialog from the program's resources with the installer's dialog
// procedure.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "engine/install_state.h"
#include "platform/gdi/dc.h"
#include "platform/kernel/module.h"
#include "platform/user/screen.h"
#include "shell/installer_app.h"
#include "tests/support/test_prefix.h"
#include "tests/unit/look_fixture.h"
#include "ui/install_dialog.h"
#include "ui/progress.h"

namespace vorn::testing {
namespace {

class ProgressTest : public WindowSystemTest {
 protected:
  void SetUp() override {
    WindowSystemTest::SetUp();
    prefix_ = std::make_unique<TestPrefix>();
    installerApp = InstallerApp{};
    installerApp.instance = kernel::ProgramInstance();
    installState = InstallState{};
    dialog_ = CreateDialogParamA(installerApp.instance, "INSTALL_DLG", nullptr, InstallDialogProc, 0);
    ASSERT_NE(dialog_, nullptr);
    SetDialogMode(dialog_, 1);
    Pump();
  }
  void TearDown() override {
    WindowSystemTest::TearDown();
    installState = InstallState{};
    installerApp = InstallerApp{};
    prefix_.reset();
  }

  // The progress frame, control 115, in the dialog's client coordinates.
  RECT Frame() const {
    RECT r;
    GetWindowRect(GetDlgItem(dialog_, kProgressFrame), &r);
    POINT topLeft{r.left, r.top};
    POINT bottomRight{r.right, r.bottom};
    ScreenToClient(dialog_, &topLeft);
    ScreenToClient(dialog_, &bottomRight);
    return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
  }
  void SizeFrame(int width, int height) {
    SetWindowPos(GetDlgItem(dialog_, kProgressFrame), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
  }
  // The dialog's pixels of a rectangle of its client area.
  Picture Area(const RECT& r) const {
    RECT window;
    GetWindowRect(dialog_, &window);
    POINT origin{0, 0};
    ClientToScreen(dialog_, &origin);
    const int dx = origin.x - window.left;
    const int dy = origin.y - window.top;
    return PictureOf(*user::SurfaceOf(dialog_), RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy});
  }
  void PaintBar(int pixels) {
    installState.progressPixels = pixels;
    PaintProgress(nullptr, nullptr);
  }
  // What the rest of the bar from `restLeft` must show: the figure in red on white,
  // 4 pixels in, a fifth of the band's height down, clipped to the band.
  Picture Figure(int restLeft, const char* text) const {
    const RECT f = Frame();
    const int band = (f.bottom - 1) - (f.top + 1);
    gdi::Surface rest;
    rest.Resize((f.right - 1) - restLeft, band, 0xFFFFFF);
    HDC dc = gdi::CreateSurfaceDC(&rest, POINT{0, 0}, RECT{0, 0, rest.width, rest.height});
    SetTextColor(dc, RGB(255, 0, 0));
    RECT clip{4, 0, rest.width, rest.height};
    ExtTextOutA(dc, 4, band / 5, ETO_CLIPPED, &clip, text, static_cast<UINT>(std::strlen(text)), nullptr);
    gdi::DeleteSurfaceDC(dc);
    return PictureOf(rest, RECT{0, 0, rest.width, rest.height});
  }
  Picture Rest(int restLeft) const {
    const RECT f = Frame();
    return Area(RECT{restLeft, f.top + 1, f.right - 1, f.bottom - 1});
  }
  static bool Holds(const Picture& picture, char letter) {
    for (const std::string& row : picture) {
      if (row.find(letter) != std::string::npos) return true;
    }
    return false;
  }
  void ExpectBlackOutline() const {
    const Picture bar = Area(Frame());
    const std::size_t width = bar.front().size();
    EXPECT_EQ(bar.front(), std::string(width, 'K'));
    EXPECT_EQ(bar.back(), std::string(width, 'K'));
    for (const std::string& row : bar) EXPECT_TRUE(row.front() == 'K' && row.back() == 'K') << row;
  }

  std::unique_ptr<TestPrefix> prefix_;
  HWND dialog_ = nullptr;
};

TEST_F(ProgressTest, EmptyBarShowsZeroPerCentFivePixelsIn) {
  PaintBar(0);
  const RECT f = Frame();
  ExpectBlackOutline();
  EXPECT_EQ(Rest(f.left + 1), Figure(f.left + 1, "0%"));
  EXPECT_FALSE(Holds(Area(f), 'B'));
  // The figure's left edge ('0' has ink in its first column).
  const Picture bar = Area(f);
  std::size_t leftmost = std::string::npos;
  for (const std::string& row : bar) leftmost = std::min(leftmost, row.find('R'));
  EXPECT_EQ(leftmost, 5u);
}

TEST_F(ProgressTest, OnePixelFillsNothing) {
  PaintBar(0);
  const Picture empty = Area(Frame());
  PaintBar(1);
  EXPECT_EQ(Area(Frame()), empty);
}

TEST_F(ProgressTest, FigureComesFromPixelsNotBytes) {
  SizeFrame(200, 29);
  PaintBar(99);
  const RECT f = Frame();
  ASSERT_EQ(f.right - f.left, 200);
  const Picture bar = Area(RECT{f.left + 1, f.top + 1, f.left + 99, f.bottom - 1});
  for (const std::string& row : bar) EXPECT_EQ(row, std::string(98, 'B'));
  EXPECT_EQ(Rest(f.left + 99), Figure(f.left + 99, "49%"));
}

TEST_F(ProgressTest, FullBarHasNoFigure) {
  const RECT f = Frame();
  const int width = f.right - f.left;
  for (int p : {width - 1, width, width + 50}) {
    PaintBar(p);
    ExpectBlackOutline();
    const Picture band = Area(RECT{f.left + 1, f.top + 1, f.right - 1, f.bottom - 1});
    for (const std::string& row : band) EXPECT_EQ(row, std::string(width - 2, 'B')) << p;
  }
  // One pixel less leaves a one-pixel rest, white, whose figure starts outside it.
  PaintBar(width - 2);
  EXPECT_EQ(Rest(f.right - 2), Picture(f.bottom - f.top - 2, "W"));
}

TEST_F(ProgressTest, LongFigureIsClippedToTheBand) {
  SizeFrame(194, 12);
  const RECT f = Frame();
  PaintBar(186);  // "95%", from 4 pixels into a rest of 7
  ExpectBlackOutline();
  const Picture bar = Area(f);
  bool red = false;
  for (int y = 0; y < static_cast<int>(bar.size()); ++y) {
    for (int x = 0; x < static_cast<int>(bar[y].size()); ++x) {
      if (bar[y][x] != 'R') continue;
      red = true;
      EXPECT_TRUE(x >= 190 && x < 193 && y >= 1 && y < 11) << x << "," << y;
    }
  }
  EXPECT_TRUE(red);
  EXPECT_EQ(Rest(f.left + 186), Figure(f.left + 186, "95%"));
}

TEST_F(ProgressTest, RepaintWithoutAStreamRedrawsTheStoredWidthWithoutMeasuring) {
  PaintBar(57);
  const Picture painted = Area(Frame());
  EXPECT_TRUE(Holds(painted, 'B'));
  InvalidateRect(dialog_, nullptr, TRUE);
  UpdateWindow(dialog_);
  EXPECT_EQ(Area(Frame()), painted);
  EXPECT_EQ(installState.imageSize, 0);
  EXPECT_EQ(installState.progressPixels, 57);
}

TEST_F(ProgressTest, StreamPositionGivesTheWidth) {
  const int width = Frame().right - Frame().left;
  FILE* stream = std::tmpfile();
  ASSERT_NE(stream, nullptr);
  // The size is measured on the first paint with a stream.
  std::fwrite(std::string(1000, 'x').data(), 1, 1000, stream);
  std::fseek(stream, 500, SEEK_SET);
  PaintProgress(nullptr, stream);
  EXPECT_EQ(installState.imageSize, 1000);
  EXPECT_EQ(installState.progressPixels, width / 2);
  // Position times width of a large image does not fit in 32 bits.
  installState.imageSize = 2000000000;
  std::fseek(stream, 1000000000L, SEEK_SET);
  PaintProgress(nullptr, stream);
  EXPECT_EQ(installState.progressPixels, width / 2);
  std::fclose(stream);
}

TEST_F(ProgressTest, DeviceContextColoursAreKept) {
  HDC dc = GetDC(dialog_);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkColor(dc, RGB(4, 5, 6));
  installState.progressPixels = 40;
  PaintProgress(dc, nullptr);
  EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
  EXPECT_EQ(GetBkColor(dc), RGB(4, 5, 6));
  ReleaseDC(dialog_, dc);
}

TEST_F(ProgressTest, PaintHandlerDrawsIconTwoAtTheCornerOfControl119) {
  RECT place;
  GetWindowRect(GetDlgItem(dialog_, kIconPlace), &place);
  POINT corner{place.left, place.top};
  ScreenToClient(dialog_, &corner);
  gdi::Surface expected;
  expected.Resize(32, 32, 0xC0C0C0);
  HDC dc = gdi::CreateSurfaceDC(&expected, POINT{0, 0}, RECT{0, 0, 32, 32});
  DrawIcon(dc, 0, 0, LoadIconA(installerApp.instance, MAKEINTRESOURCEA(2)));
  gdi::DeleteSurfaceDC(dc);
  const Picture icon = PictureOf(expected, RECT{0, 0, 32, 32});
  for (int page : {1, 0}) {
    SetDialogMode(dialog_, page);
    InvalidateRect(dialog_, nullptr, TRUE);
    Pump();
    EXPECT_EQ(Area(RECT{corner.x, corner.y, corner.x + 32, corner.y + 32}), icon) << page;
  }
}

TEST_F(ProgressTest, SetupPageErasesTheBarAndTheNextRunStartsEmpty) {
  PaintBar(0);
  const Picture empty = Area(Frame());
  PaintBar(97);
  SetDialogMode(dialog_, 0);
  Pump();
  const Picture erased = Area(Frame());
  EXPECT_FALSE(Holds(erased, 'B'));
  EXPECT_FALSE(Holds(erased, 'R'));
  EXPECT_EQ(installState.progressPixels, 0);
  SetDialogMode(dialog_, 1);
  Pump();
  EXPECT_EQ(Area(Frame()), empty);
}

TEST_F(ProgressTest, StatusNamesTheEntryOnceTheBarHasMoved) {
  struct Case {
    int progress;
    int index;
    const char* status;
  };
  const Case cases[] = {
      {0, 0, "Scanning files..."},
      {-3, 2, "Scanning files..."},
      {1, 0, "Extracting file: vorn32.exe"},
      {50, kManifestEntries, "Extracting file: "},
  };
  char text[kTextBuffer];
  for (const Case& c : cases) {
    installState.progressPixels = c.progress;
    installState.fileIndex = c.index;
    std::strcpy(installState.destinationDir, "c:\\vorn");
    ShowFileStatus();
    GetDlgItemTextA(dialog_, kStatusLine, text, kTextBuffer);
    EXPECT_STREQ(text, c.status) << c.progress << " " << c.index;
  }
}

}  // namespace
}  // namespace vorn::testing
