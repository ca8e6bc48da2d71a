// The real installer's windows against their golden images: each state is reached
// by an automation script that photographs the active window. How to make the
// images anew: tests/golden/README.md (VORN_UPDATE_GOLDEN=1).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/gdi/png.h"
#include "platform/gdi/surface_diff.h"
#include "tests/support/scenario.h"

namespace vorn::testing {
namespace {

namespace fs = std::filesystem;

struct GoldenCase {
  const char* name;
  // What the script does before and after the screenshot, which goes between.
  const char* before;
  const char* after;
  std::function<void(Scenario&)> prepare;
};

void DamageOneByte(Scenario& s) {
  std::fstream image(s.installer(), std::ios::in | std::ios::out | std::ios::binary);
  image.seekp(-2000, std::ios::end);
  const char flipped = '\x5A';
  image.write(&flipped, 1);
}

const GoldenCase kCases[] = {
    {"setup-page", "", "click 2\n", nullptr},
    {"install-page", "check 111 off\nclick 1\nwait 2000\n", "click 2\nanswer yes\nclick 2\n", nullptr},
    {"keep-settings", "check 111 off\nclick 1\nwait 10000\n", "answer yes\nanswer ok\n",
     [](Scenario& s) { s.Write("c:\\windows\\vorn.ini", "[vorn]\nnick=earlier\n"); }},
    {"error-13", "check 111 off\nclick 1\nwait 10000\n", "answer ok\n", DamageOneByte},
};

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, ActiveWindowMatchesItsImage) {
  const GoldenCase& c = GetParam();
  Scenario s;
  if (c.prepare) c.prepare(s);
  const std::string shot = s.prefix().root() + "/" + c.name + ".png";
  const ScenarioRun run = s.Run(std::string(c.before) + "screenshot " + shot + "\n" + c.after);
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
  const gdi::GoldenResult result =
      gdi::CompareWithGolden(actual, golden, std::string(VORN_GOLDEN_OUTPUT) + "/" + c.name);
  EXPECT_TRUE(result.matches) << result.message;
}

INSTANTIATE_TEST_SUITE_P(States, Golden, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name) ch = ch == '-' ? '_' : ch;
                           return name;
                         });

}  // namespace
}  // namespace vorn::testing
