// The groups: what commands do to them, the store on disk, and the menu mirror.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/progman/groups.h"
#include "platform/progman/menu.h"
#include "platform/progman/store.h"
#include "tests/unit/dde_test_support.h"

namespace vorn::progman {
namespace {

namespace fs = std::filesystem;
using vorn::testing::TestPrefix;

std::vector<Command> Commands(const std::string& text) {
  std::vector<Command> commands;
  std::string error;
  EXPECT_TRUE(ParseCommands(text, &commands, &error)) << error;
  return commands;
}

bool Execute(const std::string& text, Groups* groups, Session* session) {
  std::string error;
  return Apply(Commands(text), groups, session, &error);
}

std::vector<std::string> ItemNames(const Group& group) {
  std::vector<std::string> names;
  for (const Item& item : group.items) names.push_back(item.name);
  return names;
}

TEST(ProgmanGroups, ItemsGoToTheGroupLastCreatedOrShown) {
  Groups groups;
  Session session;
  EXPECT_FALSE(Execute("[AddItem(a.exe)]", &groups, &session));
  ASSERT_TRUE(Execute("[CreateGroup(A)][CreateGroup(B)][AddItem(b.exe)]", &groups, &session));
  ASSERT_TRUE(Execute("[ShowGroup(a,1)][AddItem(a.exe)]", &groups, &session));
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(ItemNames(groups[0]), std::vector<std::string>{"a"});
  EXPECT_EQ(ItemNames(groups[1]), std::vector<std::string>{"b"});
  // Creating an existing group, in any case, makes it current without a second one.
  ASSERT_TRUE(Execute("[CreateGroup(b)][AddItem(c.exe)]", &groups, &session));
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(ItemNames(groups[1]), (std::vector<std::string>{"b", "c"}));
  EXPECT_FALSE(Execute("[ShowGroup(Missing,1)]", &groups, &session));
}

TEST(ProgmanGroups, AFailingCommandUndoesTheWholeExecute) {
  Groups groups;
  Session session;
  ASSERT_TRUE(Execute("[CreateGroup(A)][AddItem(a.exe)]", &groups, &session));
  const std::string before = Describe(groups);
  EXPECT_FALSE(Execute("[CreateGroup(B)][AddItem(b.exe)][DeleteItem(nothing)]", &groups, &session));
  EXPECT_EQ(Describe(groups), before);
  EXPECT_EQ(session.currentGroup, "A");
}

TEST(ProgmanGroups, ReplaceItemKeepsThePlaceForTheNextAddItem) {
  Groups groups;
  Session session;
  ASSERT_TRUE(Execute("[CreateGroup(G)][AddItem(one.exe)][AddItem(two.exe,Two,,,10,20)][AddItem(three.exe)]", &groups,
                  &session));
  ASSERT_TRUE(Execute("[ReplaceItem(TWO)][AddItem(new.exe,New,,,50,50)]", &groups, &session));
  EXPECT_EQ(ItemNames(groups[0]), (std::vector<std::string>{"one", "New", "three"}));
  EXPECT_EQ(groups[0].items[1].x, 10);
  EXPECT_EQ(groups[0].items[1].y, 20);
  // Only the next AddItem takes the place.
  ASSERT_TRUE(Execute("[AddItem(last.exe)]", &groups, &session));
  EXPECT_EQ(groups[0].items.back().name, "last");
  EXPECT_FALSE(Execute("[ReplaceItem(Two)]", &groups, &session));
  EXPECT_FALSE(Execute("[DeleteItem(Two)]", &groups, &session));
}

TEST(ProgmanGroups, DeleteGroupEndsItsBeingCurrent) {
  Groups groups;
  Session session;
  ASSERT_TRUE(Execute("[CreateGroup(G)][DeleteGroup(g)]", &groups, &session));
  EXPECT_TRUE(groups.empty());
  EXPECT_FALSE(Execute("[AddItem(a.exe)]", &groups, &session));
  EXPECT_FALSE(Execute("[DeleteGroup(G)]", &groups, &session));
}

TEST(ProgmanGroups, AnItemWithoutANameIsCalledAfterItsProgram) {
  Groups groups;
  Session session;
  ASSERT_TRUE(Execute("[CreateGroup(G)][AddItem(c:\\vorn\\Vorn32.exe)][AddItem(c:\\a b\\x.y.exe /q)]", &groups,
                  &session));
  EXPECT_EQ(ItemNames(groups[0]), (std::vector<std::string>{"Vorn32", "x.y"}));
}

TEST(ProgmanGroups, AGroupHoldsFiftyItems) {
  Groups groups;
  Session session;
  std::string fifty = "[CreateGroup(G)]";
  for (std::size_t i = 0; i < kMaxItems; ++i) fifty += "[AddItem(a.exe)]";
  ASSERT_TRUE(Execute(fifty, &groups, &session));
  EXPECT_FALSE(Execute("[AddItem(a.exe)]", &groups, &session));
}

TEST(ProgmanGroups, TheDescriptionMakesTheSameGroupsAgain) {
  Groups groups;
  Session session;
  ASSERT_TRUE(Execute("[CreateGroup(\"Vorn v5.02\",vorn.grp)][AddItem(\"c:\\vorn\\readme.txt\",\"Readme.txt\",\"write.exe\","
                  "0,,,\"c:\\vorn\")][AddItem(x.exe,X,,,3,4)][CreateGroup(Empty)]",
                  &groups, &session));
  EXPECT_EQ(Describe(groups),
            "[CreateGroup(\"Vorn v5.02\",\"vorn.grp\")]\n"
            "[AddItem(\"c:\\vorn\\readme.txt\",\"Readme.txt\",\"write.exe\",0,,,\"c:\\vorn\")]\n"
            "[AddItem(\"x.exe\",\"X\",,,3,4)]\n"
            "[CreateGroup(\"Empty\")]\n");
  Groups again;
  Session fresh;
  ASSERT_TRUE(Execute(Describe(groups), &again, &fresh));
  EXPECT_EQ(Describe(again), Describe(groups));
}

TEST(ProgmanStore, GroupsSurviveBeingWrittenAndReadBack) {
  TestPrefix prefix;
  Groups groups;
  Session session;
  ASSERT_TRUE(Execute("[CreateGroup(\"A = B\")][AddItem(\"c:\\x\\a.exe\",\" spaced \",i.ico,-3,1,2,\"c:\\x\")]"
                  "[CreateGroup(Empty)]",
                  &groups, &session));
  std::string error;
  ASSERT_TRUE(SaveGroups(StorePath(), groups, &error)) << error;
  EXPECT_EQ(StorePath(), prefix.root() + "/progman/groups.ini");
  EXPECT_FALSE(fs::exists(StorePath() + ".new"));
  Groups loaded;
  ASSERT_TRUE(LoadGroups(StorePath(), &loaded, &error)) << error;
  EXPECT_EQ(Describe(loaded), Describe(groups));
  EXPECT_EQ(loaded[0].items[0].name, " spaced ");
}

TEST(ProgmanStore, AMissingFileIsNoGroupsAndADamagedOneIsAnError) {
  TestPrefix prefix;
  Groups groups = {Group{"left over", "", {}}};
  std::string error;
  ASSERT_TRUE(LoadGroups(StorePath(), &groups, &error));
  EXPECT_TRUE(groups.empty());
  const char* damaged[] = {"[Item]\nName=x\n", "[Group]\nName=G\n[Item]\nIconIndex=zero\n", "Name=G\n",
                           "[Group]\nPath=p\n"};
  for (const char* text : damaged) {
    TestPrefix::WriteFile(StorePath(), text);
    EXPECT_FALSE(LoadGroups(StorePath(), &groups, &error)) << text;
  }
}

class ProgmanMenu : public vorn::testing::DdeEnvironment {
 protected:
  ProgmanMenu() { EXPECT_TRUE(DefaultMenuPlaces(&places)); }

  Groups Make(const std::string& text) {
    Groups groups;
    Session session;
    EXPECT_TRUE(Execute(text, &groups, &session));
    return groups;
  }
  std::string Read(const std::string& path) { return TestPrefix::ReadFile(path); }
  std::vector<std::string> Ours(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  MenuPlaces places;
};

TEST_F(ProgmanMenu, EachGroupIsASubmenuAndEachItemAnEntryThatOpensItsFile) {
  TestPrefix::WriteFile(prefix.Host("c:\\vorn\\Vorn32.exe"), "MZ");
  TestPrefix::WriteFile(prefix.Host("c:\\vorn\\readme.txt"), "text");
  const Groups groups = Make(
      "[CreateGroup(\"Vorn v5.02\")][AddItem(\"c:\\vorn\\Vorn32.exe\",\"Vorn32\",,0,,,\"c:\\vorn\")]"
      "[AddItem(\"C:\\VORN\\README.TXT\",\"Readme.txt\",\"write.exe\",0,,,\"c:\\vorn\")]"
      "[AddItem(\"c:\\vorn\\missing.hlp\",\"Gone\")]");
  std::string error;
  ASSERT_TRUE(MirrorMenu(groups, places, &error)) << error;

  EXPECT_EQ(places.applications, DataHome() + "/applications");
  EXPECT_EQ(Ours(places.applications), (std::vector<std::string>{"vorn-progman-vorn-v5-02-readme-txt.desktop",
                                                                  "vorn-progman-vorn-v5-02-vorn32.desktop"}));
  const std::string drive = prefix.root() + "/drive_c";
  EXPECT_EQ(Read(places.applications + "/vorn-progman-vorn-v5-02-vorn32.desktop"),
            "[Desktop Entry]\nType=Application\nVersion=1.0\nName=Vorn32\n"
            "Comment=c:\\\\vorn\\\\Vorn32.exe\n"
            "Exec=xdg-open \"" + drive + "/vorn/Vorn32.exe\"\n"
            "Path=" + drive + "/vorn\nIcon=application-x-executable\nTerminal=false\n");
  EXPECT_NE(Read(places.applications + "/vorn-progman-vorn-v5-02-readme-txt.desktop")
                .find("Exec=xdg-open \"" + drive + "/vorn/readme.txt\"\n"),
            std::string::npos);
  EXPECT_EQ(Read(places.directories + "/vorn-progman-vorn-v5-02.directory"),
            "[Desktop Entry]\nType=Directory\nVersion=1.0\nName=Vorn v5.02\nIcon=folder\n");
  EXPECT_EQ(places.menus, ConfigHome() + "/menus/applications-merged");
  EXPECT_EQ(Read(places.menus + "/vorn-progman-vorn-v5-02.menu"),
            "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
            " \"http://www.freedesktop.org/standards/menu-spec/menu-1.0.dtd\">\n"
            "<Menu>\n  <Name>Applications</Name>\n  <Menu>\n    <Name>Vorn v5.02</Name>\n"
            "    <Directory>vorn-progman-vorn-v5-02.directory</Directory>\n    <Include>\n"
            "      <Filename>vorn-progman-vorn-v5-02-vorn32.desktop</Filename>\n"
            "      <Filename>vorn-progman-vorn-v5-02-readme-txt.desktop</Filename>\n"
            "    </Include>\n  </Menu>\n</Menu>\n");
}

TEST_F(ProgmanMenu, ShellCharactersAndWindowsTextsAreEscapedForTheDesktop) {
  TestPrefix::WriteFile(prefix.Host("c:\\odd $dir\\a `b` 100%.exe"), "MZ");
  const Groups groups = Make("[CreateGroup(\"Caf\xE9 & <Co>\")][AddItem(\"c:\\odd $dir\\a `b` 100%.exe\",\"\x93Quoted\x94\")]");
  std::string error;
  ASSERT_TRUE(MirrorMenu(groups, places, &error)) << error;
  const std::string entry = Read(places.applications + "/vorn-progman-caf-co-quoted.desktop");
  EXPECT_NE(entry.find("Name=\xE2\x80\x9CQuoted\xE2\x80\x9D\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("Exec=xdg-open \"" + prefix.root() + "/drive_c/odd \\\\$dir/a \\\\`b\\\\` 100%%.exe\"\n"),
            std::string::npos)
      << entry;
  EXPECT_NE(Read(places.menus + "/vorn-progman-caf-co.menu").find("<Name>Caf\xC3\xA9 &amp; &lt;Co&gt;</Name>"),
            std::string::npos);
}

TEST_F(ProgmanMenu, EntriesNoLongerNeededGoAndOthersStay) {
  TestPrefix::WriteFile(prefix.Host("c:\\a.exe"), "MZ");
  TestPrefix::WriteFile(places.applications + "/someone-else.desktop", "[Desktop Entry]\n");
  std::string error;
  ASSERT_TRUE(MirrorMenu(Make("[CreateGroup(G)][AddItem(c:\\a.exe,Same)][AddItem(c:\\a.exe,same)]"
                              "[CreateGroup(H)][AddItem(c:\\a.exe)]"),
                         places, &error));
  // Two items of one name still get an entry each.
  EXPECT_EQ(Ours(places.applications),
            (std::vector<std::string>{"someone-else.desktop", "vorn-progman-g-same-2.desktop",
                                      "vorn-progman-g-same.desktop", "vorn-progman-h-a.desktop"}));
  ASSERT_TRUE(MirrorMenu(Make("[CreateGroup(G)][AddItem(c:\\a.exe,Same)]"), places, &error));
  EXPECT_EQ(Ours(places.applications),
            (std::vector<std::string>{"someone-else.desktop", "vorn-progman-g-same.desktop"}));
  EXPECT_EQ(Ours(places.directories), std::vector<std::string>{"vorn-progman-g.directory"});
  EXPECT_EQ(Ours(places.menus), std::vector<std::string>{"vorn-progman-g.menu"});
}

}  // namespace
}  // namespace vorn::progman
