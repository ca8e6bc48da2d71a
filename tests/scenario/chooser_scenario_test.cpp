// The destination chooser in the whole program, headless: where Browse opens, moving
// through directories and drives, typing, OK and Cancel, and installing to the choice.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/manifest.h"
#include "tests/support/scenario.h"

namespace vorn::testing {
namespace {

namespace fs = std::filesystem;

void MakeDirectory(const Scenario& s, const std::string& hostRelative) {
  fs::create_directories(s.prefix().root() + "/" + hostRelative);
}

// Runs a script that ends on the setup page with Cancel, and expects a clean end.
ScenarioRun RunToCancel(Scenario& s, const std::string& script) {
  ScenarioRun run = s.Run(script + "click 2\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors << "\n" << script;
  EXPECT_TRUE(run.Has("dialog INSTALL_DLG end 0"));
  return run;
}

TEST(ChooserScenario, FirstBrowseOpensAtTheDriveRoot) {
  Scenario s;
  MakeDirectory(s, "drive_c/vorn/old");  // the default destination exists, yet is not where it opens
  const ScenarioRun run = RunToCancel(s,
                                      "click 106\n"
                                      "expect-text 1088 c:\\\n"
                                      "expect-text 102 c:\\vorn\n"
                                      "select 1121 windows\n"  // an entry of the root only
                                      "click 2\n"
                                      "expect-text 105 c:\\vorn\n");
  EXPECT_TRUE(run.Has("dialog 1537 begin"));
  EXPECT_TRUE(run.Has("dialog 1537 end 2")) << "ended by Cancel";
}

TEST(ChooserScenario, MovingThroughDirectoriesThenOkShowsTheChoiceInLowerCase) {
  Scenario s;
  MakeDirectory(s, "drive_c/Games/Chat");
  const ScenarioRun run = RunToCancel(s,
                                      "click 106\n"
                                      "select 1121 games\n"
                                      "key Enter\n"  // opens the selected directory
                                      "expect-text 1088 c:\\Games\n"
                                      "double-click 1121 chat\n"
                                      "expect-text 1088 c:\\Games\\Chat\n"
                                      "expect-text 102 c:\\games\\chat\\vorn\n"
                                      "click 1\n"
                                      "expect-text 105 c:\\games\\chat\\vorn\n");
  EXPECT_TRUE(run.Has("dialog 1537 end 1"));
}

TEST(ChooserScenario, ATypedPathIsTakenInLowerCase) {
  Scenario s;
  RunToCancel(s, "click 106\ntype 102 D:\\Apps\\VORN32\nclick 1\nexpect-text 105 d:\\apps\\vorn32\n");
}

TEST(ChooserScenario, ALaterClickInTheListReplacesATypedPath) {
  Scenario s;
  RunToCancel(s,
              "click 106\n"
              "type 102 D:\\Typed\n"
              "select 1121 windows\n"  // only selected: the suggestion of the current directory
              "expect-text 102 c:\\vorn\n"
              "type 102 D:\\Typed\n"
              "double-click 1121 windows\n"
              "expect-text 102 c:\\windows\\vorn\n"
              "click 1\n"
              "expect-text 105 c:\\windows\\vorn\n");
}

TEST(ChooserScenario, TheDriveListMovesToAnotherDrive) {
  Scenario s;
  MakeDirectory(s, "games/Arcade");
  fs::create_directory_symlink(s.prefix().root() + "/games", s.prefix().root() + "/dosdevices/d:");
  RunToCancel(s,
              "click 106\n"
              "select 1137 d:\n"
              "expect-text 1088 d:\\\n"
              "expect-text 102 d:\\vorn\n"
              "double-click 1121 arcade\n"
              "click 1\n"
              "expect-text 105 d:\\arcade\\vorn\n");
}

TEST(ChooserScenario, CancelOrCloseAfterMovingLeavesTheDestination) {
  Scenario s;
  const ScenarioRun run = RunToCancel(s,
                                      "click 106\n"
                                      "double-click 1121 windows\n"
                                      "double-click 1121 temp\n"
                                      "expect-text 102 c:\\windows\\temp\\vorn\n"
                                      "click 2\n"
                                      "expect-text 105 c:\\vorn\n"
                                      "click 106\n"
                                      "double-click 1121 c:\\\n"
                                      "key Alt+F4\n"
                                      "expect-text 105 c:\\vorn\n");
  EXPECT_EQ(run.Lines("dialog").size(), 6u) << "INSTALL_DLG and two choosers, each begun and ended";
  EXPECT_FALSE(run.Has("dialog 1537 end 1"));
}

TEST(ChooserScenario, ALaterBrowseStartsAtTheWholeDestination) {
  {
    Scenario s;
    MakeDirectory(s, "drive_c/data/vorn/logs");
    RunToCancel(s,
                "click 106\ntype 102 c:\\data\\vorn\nclick 1\n"
                "click 106\n"
                "expect-text 1088 c:\\data\\vorn\n"
                "select 1121 logs\n"  // a subdirectory of the destination
                "expect-text 102 c:\\data\\vorn\n"
                "click 2\n");
  }
  {
    // A destination that does not exist yet gives way to the current directory,
    // where the first Browse left it.
    Scenario s;
    RunToCancel(s,
                "click 106\ndouble-click 1121 windows\nclick 1\n"
                "expect-text 105 c:\\windows\\vorn\n"
                "click 106\n"
                "expect-text 1088 c:\\windows\n"
                "click 2\n");
  }
}

TEST(ChooserScenario, InstallsIntoTheChosenDirectory) {
  Scenario s;
  MakeDirectory(s, "drive_c/Games");
  const ScenarioRun run = s.Run(
      "check 111 off\n"
      "click 106\ndouble-click 1121 games\nclick 1\n"
      "expect-text 105 c:\\games\\vorn\n"
      "click 1\nanswer ok\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(run.Has("dialog INSTALL_DLG end 1"));
  EXPECT_TRUE(run.Has("caption=\"Vorn Installation\""));
  for (const char* name : InstallManifest) {
    const std::string path = std::string("c:\\games\\vorn\\") + name;
    ASSERT_TRUE(s.Exists(path)) << path;
    EXPECT_EQ(s.Read(path), SamplePackageFile(name)) << path;
  }
  EXPECT_FALSE(s.Exists("c:\\vorn"));
}

}  // namespace
}  // namespace vorn::testing
