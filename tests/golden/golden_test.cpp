// The real installer's windows against their golden images: each state is reached
// by an automation script that photographs the active window. How to make the
// images anew: tests/golden/README.md (VORN_UPDATE_GOLDEN=1).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/api/types.h"
#include "platform/gdi/png.h"
#include "platform/gdi/surface_diff.h"
#include "tests/support/scenario.h"

namespace vorn::testing {
namespace {

namespace fs = std::filesystem;

struct GoldenCase {
  const char* name;
  // What the script does before and after the screenshot, which goes between;
  // "{half}" stands for the virtual milliseconds a run takes to read half the image.
  const char* before;
  const char* after;
  std::function<void(Scenario&)> prepare;
  // The part of the window left out of the comparison, in window pixels.
  RECT ignored;
};

void DamageOneByte(Scenario& s) {
  std::fstream image(s.installer(), std::ios::in | std::ios::out | std::ios::binary);
  image.seekp(-2000, std::ios::end);
  const char flipped = '\x5A';
  image.write(&flipped, 1);
}

// The inner band of the progress bar in the window of INSTALL_DLG: control 115 at
// (45, 112), 129 x 18 dialog units, is (68, 182), 194 x 29 pixels in the client
// area, which lies at (3, 21) in the window. Where the bar ends and what figure it
// shows half way depend on the size of the installer image, so on every change of
// the program's code; the unit tests of the bar check its pixels.
constexpr RECT kProgressBand{3 + 68 + 1, 21 + 182 + 1, 3 + 68 + 194 - 1, 21 + 182 + 29 - 1};

// The boxes open during a run and stop it; the wait reaches them whatever the
// image's size.
const GoldenCase kCases[] = {
    {"setup-page", "", "click 2\n", nullptr, {}},
    {"install-page", "check 111 off\nclick 1\nwait {half}\n", "click 2\nanswer yes\nclick 2\n", nullptr,
     kProgressBand},
    {"keep-settings", "check 111 off\nclick 1\nwait 100000\n", "answer yes\nanswer ok\n",
     [](Scenario& s) { s.Write("c:\\windows\\vorn.ini", "[vorn]\nnick=earlier\n"); }, {}},
    {"error-13", "check 111 off\nclick 1\nwait 100000\n", "answer ok\n", DamageOneByte, {}},
    {"chooser", "click 106\n", "click 2\nclick 2\n", nullptr, {}},
};

// The first slice is read at once, the others 50 ms apart (7001 bytes each).
std::string HalfWay(const Scenario& s) {
  const auto slices = fs::file_size(s.installer()) / 7001 + 1;
  return std::to_string((slices / 2 - 1) * 50);
}

void Blank(gdi::Surface& surface, const RECT& area) {
  for (LONG y = area.top; y < std::min<LONG>(area.bottom, surface.height); ++y) {
    for (LONG x = area.left; x < std::min<LONG>(area.right, surface.width); ++x) surface.Set(x, y, 0xFF00FF);
  }
}

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, ActiveWindowMatchesItsImage) {
  const GoldenCase& c = GetParam();
  Scenario s;
  if (c.prepare) c.prepare(s);
  const std::string shot = s.prefix().root() + "/" + c.name + ".png";
  std::string before = c.before;
  if (const std::size_t at = before.find("{half}"); at != std::string::npos) before.replace(at, 6, HalfWay(s));
  const ScenarioRun run = s.Run(before + "screenshot " + shot + "\n" + c.after);
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  gdi::Surface actual;
  ASSERT_EQ(gdi::ReadPng(shot, &actual), Error::None);

  const std::string golden = std::string(VORN_SOURCE_DIR) + "/tests/golden/images/" + c.name + ".png";
  const char* update = std::getenv("VORN_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    fs::copy_file(shot, golden, fs::copy_options::overwrite_existing);
    fs::copy_file(shot, std::string(VORN_SOURCE_DIR) + "/docs/screenshots/" + c.name + ".png",
                  fs::copy_options::overwrite_existing);
    GTEST_SKIP() << "wrote " << golden;
  }
  fs::create_directories(VORN_GOLDEN_OUTPUT);
  std::string compared = golden;
  if (c.ignored.right > c.ignored.left) {
    gdi::Surface expected;
    ASSERT_EQ(gdi::ReadPng(golden, &expected), Error::None) << golden;
    Blank(expected, c.ignored);
    Blank(actual, c.ignored);
    compared = s.prefix().root() + "/" + c.name + ".golden.png";
    ASSERT_EQ(gdi::WritePng(expected, compared), Error::None);
  }
  const gdi::GoldenResult result =
      gdi::CompareWithGolden(actual, compared, std::string(VORN_GOLDEN_OUTPUT) + "/" + c.name);
  EXPECT_TRUE(result.matches) << result.message << (compared != golden ? " (the progress band left out)" : "");
}

INSTANTIATE_TEST_SUITE_P(States, Golden, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name) ch = ch == '-' ? '_' : ch;
                           return name;
                         });

}  // namespace
}  // namespace vorn::testing
