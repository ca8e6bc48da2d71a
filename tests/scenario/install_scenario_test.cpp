// The whole program, headless, in a fresh prefix: installs, cancels, aborts,
// destinations, and damaged images.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/manifest.h"
#include "tests/support/scenario.h"

namespace vorn::testing {
namespace {

const char* const kSuccessBox = "caption=\"Vorn Installation\"";

void ExpectSamplePackageIn(const Scenario& s, const std::string& dir) {
  for (const char* name : InstallManifest) {
    const std::string path = dir + "\\" + name;
    ASSERT_TRUE(s.Exists(path)) << path;
    EXPECT_EQ(s.Read(path), SamplePackageFile(name)) << path;
  }
}

TEST(InstallScenario, FreshInstallPacedOnTheVirtualClock) {
  Scenario s;
  const ScenarioRun run = s.Run("check 111 off\nclick 1\nanswer ok\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(run.Has("dialog INSTALL_DLG end 1"));
  ASSERT_EQ(run.Lines("msgbox").size(), 1u);
  EXPECT_TRUE(run.Has(kSuccessBox));
  EXPECT_TRUE(run.Has("exit 0"));
  ExpectSamplePackageIn(s, "c:\\vorn");
  EXPECT_FALSE(s.Exists("c:\\windows\\temp\\vorn.tmp"));
  // The statuses of one run, in order, with the 50 ms pauses between the slices.
  EXPECT_TRUE(run.Has("status \"Extracting file: vlink32.exe\""));
  EXPECT_TRUE(run.Has("status \"Validating file: urls.ini\""));
  const std::size_t slices = std::filesystem::file_size(s.installer()) / 7001 + 1;
  EXPECT_GE(run.times.back(), static_cast<long>((slices - 1) * 50));
}

TEST(InstallScenario, CancelOnTheSetupPageEndsWithoutAQuestion) {
  Scenario s;
  const ScenarioRun run = s.Run("click 2\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(run.Has("dialog INSTALL_DLG end 0"));
  EXPECT_TRUE(run.Lines("msgbox").empty());
  EXPECT_FALSE(s.Exists("c:\\vorn"));
}

TEST(InstallScenario, AbortAnsweredNoGoesOnFromTheSameByte) {
  Scenario s;
  const ScenarioRun run = s.Run("check 111 off\nclick 1\nwait 120\nclick 2\nanswer no\nanswer ok\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(run.Has("caption=\"Vorn Installation Warning\" text=\"Are you sure you want to abort the installation?\""));
  EXPECT_TRUE(run.Has("dialog INSTALL_DLG end 1"));
  ExpectSamplePackageIn(s, "c:\\vorn");
}

TEST(InstallScenario, AbortAnsweredYesTakesEverythingBackAndInstallStartsAgain) {
  Scenario s;
  const ScenarioRun run = s.Run(
      "check 111 off\nclick 1\nwait 300\nclick 2\nanswer yes\n"
      "expect-visible 109 yes\nexpect-visible 113 no\nexpect-text 2 Cancel\n"
      "click 1\nanswer ok\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(run.Has("dialog INSTALL_DLG end 1"));
  ExpectSamplePackageIn(s, "c:\\vorn");
}

TEST(InstallScenario, AnAbortedRunLeavesNothing) {
  Scenario s;
  const ScenarioRun run = s.Run("check 111 off\nclick 1\nwait 300\nclick 2\nanswer yes\nclick 2\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(run.Has("dialog INSTALL_DLG end 0"));
  EXPECT_FALSE(s.Exists("c:\\vorn"));
  EXPECT_FALSE(s.Exists("c:\\windows\\temp\\vorn.tmp"));
}

TEST(InstallScenario, ACorruptImageEndsWithMessage13AndLeavesNothing) {
  Scenario s;
  {
    std::fstream image(s.installer(), std::ios::in | std::ios::out | std::ios::binary);
    image.seekp(-2000, std::ios::end);
    const char flipped = '\x5A';
    image.write(&flipped, 1);
  }
  const ScenarioRun run = s.Run("check 111 off\nclick 1\nanswer ok\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(run.Has("caption=\"Vorn Installation Error [13]\""));
  EXPECT_TRUE(run.Has("dialog INSTALL_DLG end 0"));
  EXPECT_FALSE(run.Has(kSuccessBox));
  EXPECT_FALSE(s.Exists("c:\\vorn"));
}

TEST(InstallScenario, DefaultDestinationFollowsTheInstallersDrive) {
  {
    // A fixed drive of its own proposes itself.
    Scenario s;
    const std::string games = s.prefix().root() + "/games";
    std::filesystem::create_directories(games);
    std::filesystem::create_directory_symlink(games, s.prefix().root() + "/dosdevices/d:");
    s.MoveInstaller(games + "/setup/vorn502-setup");
    const ScenarioRun run = s.Run("expect-text 105 d:\\vorn\nclick 2\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
  }
  {
    // Started from the host outside any disk of the prefix: the network drive z:,
    // so the Windows directory's drive is proposed.
    Scenario s;
    s.MoveInstaller(s.prefix().root() + "/../" + std::filesystem::path(s.prefix().root()).filename().string() +
                    "-outside/vorn502-setup");
    const ScenarioRun run = s.Run("expect-text 105 c:\\vorn\nclick 2\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    std::filesystem::remove_all(std::filesystem::path(s.installer()).parent_path());
  }
}

// Picks a destination through the chooser by typing it.
std::string Choose(const std::string& destination) {
  return "click 106\ntype 102 " + destination + "\nclick 1\nexpect-text 105 " + destination + "\n";
}

TEST(InstallScenario, ADestinationWithASpaceIsQuestioned) {
  const std::string warning =
      "caption=\"Vorn Installation Warning\" text=\"You have chosen to install to a directory path which has spaces "
      "in its name;";
  {
    Scenario s;
    const ScenarioRun run =
        s.Run("check 111 off\n" + Choose("c:\\program files\\vorn") + "click 1\nanswer no\nexpect-visible 109 yes\nclick 2\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_TRUE(run.Has(warning));
    EXPECT_TRUE(run.Has("dialog INSTALL_DLG end 0"));
    EXPECT_FALSE(run.Has("status \"Scanning files...\""));  // nothing started
    EXPECT_FALSE(s.Exists("c:\\program files\\vorn"));
  }
  {
    Scenario s;
    s.Write("c:\\program files\\other.txt", "x");
    const ScenarioRun run = s.Run("check 111 off\n" + Choose("c:\\program files\\vorn") + "click 1\nanswer yes\nanswer ok\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_TRUE(run.Has(warning));
    EXPECT_TRUE(run.Has("dialog INSTALL_DLG end 1"));
    ExpectSamplePackageIn(s, "c:\\program files\\vorn");
  }
}

TEST(InstallScenario, OnlyASpaceRaisesTheWarning) {
  Scenario s;
  // A tab is no space: no warning, and Windows refuses the name.
  const ScenarioRun run = s.Run("check 111 off\n" + Choose("c:\\vorn\tdir") + "click 1\nanswer ok\nclick 2\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_FALSE(run.Has("spaces in its name"));
  EXPECT_TRUE(run.Has("caption=\"Vorn Installation Error [1]\""));
}

TEST(InstallScenario, ADestinationThatCannotBeMadeGoesBackToSetup) {
  Scenario s;
  const ScenarioRun run = s.Run("check 111 off\n" + Choose("c:\\missing\\vorn") +
                                "click 1\nanswer ok\nexpect-visible 109 yes\nexpect-text 2 Cancel\nclick 2\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(run.Has(
      "caption=\"Vorn Installation Error [1]\" text=\"There seems to be a problem creating the directory you "
      "specified.\\n\\nPlease try using a different directory name!\" flags=0x00000010"));
  EXPECT_TRUE(run.Has("dialog INSTALL_DLG end 0"));
  EXPECT_FALSE(s.Exists("c:\\missing"));
}

TEST(InstallScenario, ABrokenScriptEndsTheProgram) {
  Scenario s;
  EXPECT_EQ(s.Run("click 4711\n").exitCode, 3);
  EXPECT_EQ(s.Run("expect-text 105 e:\\elsewhere\n").exitCode, 3);
  EXPECT_EQ(s.Run("").exitCode, 4);  // the script ends while the dialog waits
}

}  // namespace
}  // namespace vorn::testing
