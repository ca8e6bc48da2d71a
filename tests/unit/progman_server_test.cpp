// The progman program: it keeps its groups across restarts, refuses a bad execute
// whole, serves only its topic, starts and stops in the background, and mirrors the
// groups into the menu unless told not to.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/progman/store.h"
#include "tests/unit/dde_test_support.h"

namespace vorn::testing {
namespace {

namespace fs = std::filesystem;

class ProgmanProgram : public DdeEnvironment {
 protected:
  ProgmanProgram() { setenv("VORN_PROGMAN_NO_MENU", "1", 1); }

  bool Execute(const std::string& text) {
    DdeClient client;
    HCONV conversation = client.Connect("PROGMAN", "PROGMAN");
    return conversation != nullptr && client.Execute(conversation, text, 5000) != nullptr;
  }
  std::string List() {
    std::string output;
    EXPECT_EQ(RunProgman({"--list"}, &output), 0) << output;
    return output;
  }
};

TEST_F(ProgmanProgram, GroupsOutliveTheServer) {
  {
    ProgmanServer progman;
    ASSERT_TRUE(Execute("[CreateGroup(G)][AddItem(c:\\a.exe,A)]"));
    EXPECT_EQ(progman.Terminate(), 0);
  }
  EXPECT_EQ(List(), "[CreateGroup(\"G\")]\n[AddItem(\"c:\\a.exe\",\"A\")]\n");
  ProgmanServer progman;
  // The current group is the server's, so a new one has none yet.
  EXPECT_FALSE(Execute("[AddItem(c:\\b.exe,B)]"));
  ASSERT_TRUE(Execute("[ShowGroup(G,1)][AddItem(c:\\b.exe,B)]"));
  EXPECT_EQ(List(), "[CreateGroup(\"G\")]\n[AddItem(\"c:\\a.exe\",\"A\")]\n[AddItem(\"c:\\b.exe\",\"B\")]\n");
}

TEST_F(ProgmanProgram, ABadExecuteChangesNothing) {
  ProgmanServer progman;
  EXPECT_FALSE(Execute("[CreateGroup(X)][AddItem(\"unbalanced)]"));
  EXPECT_FALSE(Execute("[CreateGroup(X)][DeleteItem(nothing)]"));
  EXPECT_FALSE(Execute(std::string("[CreateGroup(X)]\0[CreateGroup(Y)]", 33)));
  EXPECT_EQ(List(), "");
  EXPECT_FALSE(fs::exists(progman::StorePath()));
}

TEST_F(ProgmanProgram, OnlyThePROGMANTopicIsServed) {
  ProgmanServer progman;
  DdeClient client;
  EXPECT_EQ(client.Connect("PROGMAN", "Other"), nullptr);
  EXPECT_NE(client.Connect("progman", "Progman"), nullptr);
}

TEST_F(ProgmanProgram, TheDaemonServesWhenItReturnsAndStopEndsIt) {
  struct StopAtTheEnd {
    ~StopAtTheEnd() { RunProgman({"--stop"}); }
  } stop;
  std::string output;
  ASSERT_EQ(RunProgman({"--daemon"}, &output), 0) << output;
  EXPECT_EQ(RunProgman({"--status"}), 0);
  EXPECT_TRUE(Execute("[CreateGroup(D)]"));
  EXPECT_EQ(RunProgman({"--daemon"}, &output), 0);
  EXPECT_EQ(output, "progman: another progman already serves PROGMAN\n");

  EXPECT_EQ(RunProgman({"--stop"}, &output), 0);
  EXPECT_EQ(output, "");
  EXPECT_EQ(RunProgman({"--status"}), 1);
  EXPECT_FALSE(Execute("[CreateGroup(E)]"));
  // The name is free at once for a new server.
  ASSERT_EQ(RunProgman({"--daemon"}), 0);
  EXPECT_EQ(List(), "[CreateGroup(\"D\")]\n");
}

TEST_F(ProgmanProgram, TheMenuMirrorFollowsUnlessSwitchedOff) {
  TestPrefix::WriteFile(prefix.Host("c:\\a.exe"), "MZ");
  const std::string entry = DataHome() + "/applications/vorn-progman-g-a.desktop";
  {
    ProgmanServer progman({"--no-menu"});
    ASSERT_TRUE(Execute("[CreateGroup(G)][AddItem(c:\\a.exe,A)]"));
  }
  {
    ProgmanServer progman;  // VORN_PROGMAN_NO_MENU=1
    ASSERT_TRUE(Execute("[CreateGroup(G)]"));
  }
  EXPECT_FALSE(fs::exists(entry));
  unsetenv("VORN_PROGMAN_NO_MENU");
  {
    // A new server brings the menu up to date with the store at once.
    ProgmanServer progman;
    EXPECT_TRUE(fs::exists(entry));
    ASSERT_TRUE(Execute("[DeleteGroup(G)]"));
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_FALSE(fs::exists(ConfigHome() + "/menus/applications-merged/vorn-progman-g.menu"));
  }
}

}  // namespace
}  // namespace vorn::testing
