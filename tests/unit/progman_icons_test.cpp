// The installer's Program Manager group: the twelve commands as sent, their outcome
// with our progman, and what a refusing Program Manager stops.
#include <gtest/gtest.h>

#include "engine/install_state.h"
#include "platform/progman/store.h"
#include "shell/installer_app.h"
#include "shell/program_manager.h"
#include "tests/unit/dde_test_support.h"

namespace vorn::testing {
namespace {

class ProgramManagerIcons : public DdeEnvironment {
 protected:
  ProgramManagerIcons() {
    setenv("VORN_PROGMAN_NO_MENU", "1", 1);
    installerApp.ddeInstance = 0;
    EXPECT_EQ(DdeInitializeA(&installerApp.ddeInstance,
                             [](UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) -> HDDEDATA {
                               return nullptr;
                             },
                             0, 0),
              static_cast<UINT>(DMLERR_NO_ERROR));
    UseDestination("c:\\vorn");
  }
  ~ProgramManagerIcons() override {
    DdeUninitialize(installerApp.ddeInstance);
    installerApp.ddeInstance = 0;
  }

  void UseDestination(const std::string& dir) {
    std::snprintf(installState.destinationDir, sizeof installState.destinationDir, "%s", dir.c_str());
  }

  static progman::Groups StoredGroups() {
    progman::Groups groups;
    std::string error;
    EXPECT_TRUE(progman::LoadGroups(progman::StorePath(), &groups, &error)) << error;
    return groups;
  }
};

// The twelve commands for c:\vorn, each with its terminating zero.
std::vector<std::string> ExpectedCommands(int newShell) {
  std::vector<std::string> commands = {
      "[CreateGroup(\"Vorn v5.02\")]",
      "[ShowGroup(\"Vorn v5.02\",1)]",
      "[ReplaceItem(\"Vorn32\")]",
      "[AddItem(\"c:\\vorn\\Vorn32.exe\",\"Vorn32\",,0,,,\"c:\\vorn\")]",
      "[ReplaceItem(\"Vorn Help\")]",
      "[AddItem(\"c:\\vorn\\Vorn.hlp\",\"Vorn Help\",,0,,,\"c:\\vorn\")]",
      "[ReplaceItem(\"IRC Intro\")]",
      "[AddItem(\"c:\\vorn\\IRCintro.hlp\",\"IRC Intro\",,0,,,\"c:\\vorn\")]",
      "[ReplaceItem(\"Readme.txt\")]",
      newShell ? "[AddItem(\"c:\\vorn\\readme.txt\",\"Readme.txt\",,,,,\"c:\\vorn\")]"
               : "[AddItem(\"c:\\vorn\\readme.txt\",\"Readme.txt\",\"write.exe\",0,,,\"c:\\vorn\")]",
      "[ReplaceItem(\"Versions.txt\")]",
      newShell ? "[AddItem(\"c:\\vorn\\versions.txt\",\"Versions.txt\",,,,,\"c:\\vorn\")]"
               : "[AddItem(\"c:\\vorn\\versions.txt\",\"Versions.txt\",\"write.exe\",0,,,\"c:\\vorn\")]",
  };
  for (std::string& command : commands) command.push_back('\0');
  return commands;
}

TEST_F(ProgramManagerIcons, TheTwelveCommandsGoOutInOrderWithTheirTerminators) {
  for (int newShell : {0, 1}) {
    installerApp.newShell = newShell;
    ForkedServer server("PROGMAN", [](const std::string&) -> DWORD { return DDE_FACK; });
    EXPECT_EQ(AddProgramManagerIcons(), 1) << "newShell " << newShell;
    EXPECT_EQ(server.Received(), ExpectedCommands(newShell)) << "newShell " << newShell;
  }
}

TEST_F(ProgramManagerIcons, ADestinationEndingInABackslashGivesTwoInARow) {
  installerApp.newShell = 1;
  UseDestination("c:\\");
  ForkedServer server("PROGMAN", [](const std::string&) -> DWORD { return DDE_FACK; });
  EXPECT_EQ(AddProgramManagerIcons(), 1);
  const std::vector<std::string> received = server.Received();
  ASSERT_EQ(received.size(), 12u);
  EXPECT_EQ(received[3], std::string("[AddItem(\"c:\\\\Vorn32.exe\",\"Vorn32\",,0,,,\"c:\\\")]") + '\0');
}

TEST_F(ProgramManagerIcons, ARefusedGroupOrItemStopsTheRestAndOthersAreIgnored) {
  installerApp.newShell = 0;
  const struct {
    const char* refused;  // the server refuses every command that holds this text
    int result;
    std::size_t sent;
  } cases[] = {
      {"[CreateGroup(", 0, 1},     {"[ShowGroup(", 1, 12},          {"[ReplaceItem(", 1, 12},
      {"Vorn32.exe", 0, 4},        {"IRCintro.hlp\",", 0, 8},       {"readme.txt\",", 0, 10},
      {"versions.txt\",", 0, 12},
  };
  for (const auto& c : cases) {
    const std::string refused = c.refused;
    ForkedServer server("PROGMAN", [&](const std::string& text) -> DWORD {
      return text.find(refused) == std::string::npos ? DDE_FACK : DDE_FNOTPROCESSED;
    });
    EXPECT_EQ(AddProgramManagerIcons(), c.result) << c.refused;
    const std::vector<std::string> received = server.Received();
    EXPECT_EQ(received.size(), c.sent) << c.refused;
    const std::vector<std::string> expected = ExpectedCommands(0);
    EXPECT_TRUE(std::equal(received.begin(), received.end(), expected.begin())) << c.refused;
  }
}

TEST_F(ProgramManagerIcons, WithoutAProgramManagerTheFirstCommandFails) {
  EXPECT_EQ(SendProgmanCommand("[CreateGroup(\"Vorn v5.02\")]"), 0);
  EXPECT_EQ(AddProgramManagerIcons(), 0);
}

TEST_F(ProgramManagerIcons, OurProgmanMakesTheGroupWithItsFiveItemsOnBothShells) {
  struct Expected {
    const char* name;
    const char* commandLine;
    const char* iconPath;
    std::optional<int> iconIndex;
  };
  for (int newShell : {0, 1}) {
    installerApp.newShell = newShell;
    ProgmanServer progman;
    ASSERT_TRUE(progman.serving());
    ASSERT_EQ(AddProgramManagerIcons(), 1) << "newShell " << newShell;
    // A retry, or a later installation, replaces the items in their places.
    ASSERT_EQ(AddProgramManagerIcons(), 1) << "newShell " << newShell;
    EXPECT_EQ(progman.Terminate(), 0);

    const std::optional<int> textIcon = newShell ? std::nullopt : std::optional<int>(0);
    const char* textIconPath = newShell ? "" : "write.exe";
    const Expected items[] = {
        {"Vorn32", "c:\\vorn\\Vorn32.exe", "", 0},
        {"Vorn Help", "c:\\vorn\\Vorn.hlp", "", 0},
        {"IRC Intro", "c:\\vorn\\IRCintro.hlp", "", 0},
        {"Readme.txt", "c:\\vorn\\readme.txt", textIconPath, textIcon},
        {"Versions.txt", "c:\\vorn\\versions.txt", textIconPath, textIcon},
    };
    const progman::Groups groups = StoredGroups();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].name, "Vorn v5.02");
    ASSERT_EQ(groups[0].items.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
      const progman::Item& item = groups[0].items[i];
      EXPECT_EQ(item.name, items[i].name);
      EXPECT_EQ(item.commandLine, items[i].commandLine);
      EXPECT_EQ(item.iconPath, items[i].iconPath);
      EXPECT_EQ(item.iconIndex, items[i].iconIndex);
      EXPECT_FALSE(item.x.has_value());
      EXPECT_EQ(item.defaultDir, "c:\\vorn");
    }
    std::remove(progman::StorePath().c_str());
  }
}

}  // namespace
}  // namespace vorn::testing
