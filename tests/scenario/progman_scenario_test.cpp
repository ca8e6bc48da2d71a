// The Program Manager group after an install, through the program's real DDE
// conversation with our Program Manager, and the retry question when it fails.
#include <gtest/gtest.h>

#include "tests/support/scenario.h"
#include "tests/unit/dde_test_support.h"

namespace vorn::testing {
namespace {

const char* const kRetry = "caption=\"Vorn Installation Error [15]\"";
const char* const kSuccess = "caption=\"Vorn Installation\"";

class ProgmanScenario : public DdeEnvironment {
 protected:
  Scenario scenario;  // made after the environment, so its prefix is the one in force
  std::string Groups() {
    std::string output;
    EXPECT_EQ(RunProgman({"--list"}, &output), 0) << output;
    return output;
  }
};

std::string Expected(const std::string& dir, bool newShell) {
  const std::string textIcon = newShell ? ",," : ",\"write.exe\",0";
  return "[CreateGroup(\"Vorn v5.02\")]\n"
         "[AddItem(\"" + dir + "\\Vorn32.exe\",\"Vorn32\",,0,,,\"" + dir + "\")]\n"
         "[AddItem(\"" + dir + "\\Vorn.hlp\",\"Vorn Help\",,0,,,\"" + dir + "\")]\n"
         "[AddItem(\"" + dir + "\\IRCintro.hlp\",\"IRC Intro\",,0,,,\"" + dir + "\")]\n"
         "[AddItem(\"" + dir + "\\readme.txt\",\"Readme.txt\"" + textIcon + ",,,\"" + dir + "\")]\n"
         "[AddItem(\"" + dir + "\\versions.txt\",\"Versions.txt\"" + textIcon + ",,,\"" + dir + "\")]\n";
}

TEST_F(ProgmanScenario, TheGroupAndItsFiveItemsOnBothShellGenerations) {
  for (const bool newShell : {true, false}) {
    SCOPED_TRACE(newShell ? "newer shell" : "older shell");
    Scenario fresh;  // its prefix is now the one in force, for progman too
    ProgmanServer progman({"--no-menu"});
    ASSERT_TRUE(progman.serving());
    const ScenarioRun run = fresh.Run("click 1\nanswer ok\n", {{"VORN_WINVER", newShell ? "4.0" : "3.51"}});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_FALSE(run.Has(kRetry));
    EXPECT_TRUE(run.Has(kSuccess));
    const std::string groups = Groups();
    // The listing shows the group as commands that would make it again.
    EXPECT_NE(groups.find(Expected("c:\\vorn", newShell)), std::string::npos) << groups;
  }
}

TEST_F(ProgmanScenario, NoProgramManagerAsksAgainAndSucceedsAnyway) {
  const ScenarioRun run = scenario.Run("click 1\nanswer yes\nanswer no\nanswer ok\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  const auto boxes = run.Lines("msgbox");
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_NE(boxes[0].find(kRetry), std::string::npos);
  EXPECT_NE(boxes[0].find("text=\"There seems to be a problem adding Vorn icons to the Program Manager!\\n\\nDo you "
                          "want me to try again?\" flags=0x00001024 answer=yes"),
            std::string::npos)
      << boxes[0];
  EXPECT_NE(boxes[0].find("owner=host"), std::string::npos);
  EXPECT_NE(boxes[1].find(kRetry), std::string::npos);
  EXPECT_NE(boxes[2].find(kSuccess), std::string::npos);
}

TEST_F(ProgmanScenario, YesSendsEverythingAgainOnceProgramManagerAnswers) {
  // A Program Manager that is not ready for the first attempt: it refuses every
  // command until the second CreateGroup.
  int createGroups = 0;
  ForkedServer server("PROGMAN", [&createGroups](const std::string& data) -> DWORD {
    if (data.find("[CreateGroup(") == 0) createGroups += 1;
    return createGroups >= 2 ? DDE_FACK : DDE_FNOTPROCESSED;
  });
  const ScenarioRun run = scenario.Run("click 1\nanswer yes\nanswer ok\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.Lines("msgbox").size(), 2u);
  const std::vector<std::string> received = server.Received();
  ASSERT_EQ(received.size(), 13u);  // the failed CreateGroup, then all twelve
  EXPECT_EQ(received[1], std::string("[CreateGroup(\"Vorn v5.02\")]") + '\0');
  EXPECT_EQ(received[12].substr(0, 24), "[AddItem(\"c:\\vorn\\versio");
}

TEST_F(ProgmanScenario, RefusingTheThirdItemStopsTheSequence) {
  ForkedServer server("PROGMAN", [](const std::string& data) -> DWORD {
    return data.find("IRCintro.hlp") != std::string::npos ? DDE_FNOTPROCESSED : DDE_FACK;
  });
  const ScenarioRun run = scenario.Run("click 1\nanswer no\nanswer ok\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(run.Has(kRetry));
  const std::vector<std::string> received = server.Received();
  ASSERT_EQ(received.size(), 8u);  // commands 9 to 12 are not sent
  EXPECT_NE(received[7].find("IRCintro.hlp"), std::string::npos);
}

TEST_F(ProgmanScenario, ADestinationEndingInABackslashGivesTwo) {
  ProgmanServer progman({"--no-menu"});
  scenario.Write("c:\\games\\keep.txt", "x");
  const ScenarioRun run = scenario.Run(
      "click 106\ntype 102 c:\\games\\\nclick 1\nclick 1\nanswer ok\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_NE(Groups().find("[AddItem(\"c:\\games\\\\Vorn32.exe\""), std::string::npos) << Groups();
}

TEST_F(ProgmanScenario, IconsOffSendsNothing) {
  ForkedServer server("PROGMAN", [](const std::string&) -> DWORD { return DDE_FACK; });
  const ScenarioRun run = scenario.Run("check 111 off\nclick 1\nanswer ok\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(server.Received().empty());
}

}  // namespace
}  // namespace vorn::testing
