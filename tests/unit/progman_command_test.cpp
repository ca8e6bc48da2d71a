// The command language: what parses into which commands, and what is refused whole.
#include <gtest/gtest.h>

#include "platform/progman/command.h"

namespace vorn::progman {
namespace {

std::vector<Command> Parse(const std::string& text) {
  std::vector<Command> commands;
  std::string error;
  EXPECT_TRUE(ParseCommands(text, &commands, &error)) << text << ": " << error;
  return commands;
}

TEST(ProgmanCommand, TheInstallersCommandsParse) {
  const std::vector<Command> group = Parse("[CreateGroup(\"Vorn v5.02\")]");
  ASSERT_EQ(group.size(), 1u);
  EXPECT_EQ(group[0].verb, Verb::CreateGroup);
  EXPECT_EQ(group[0].name, "Vorn v5.02");

  const std::vector<Command> show = Parse("[ShowGroup(\"Vorn v5.02\",1)]");
  ASSERT_EQ(show.size(), 1u);
  EXPECT_EQ(show[0].verb, Verb::ShowGroup);
  EXPECT_EQ(show[0].showCommand, 1);

  const std::vector<Command> item = Parse("[AddItem(\"c:\\vorn\\readme.txt\",\"Readme.txt\",\"write.exe\",0,,,\"c:\\vorn\")]");
  ASSERT_EQ(item.size(), 1u);
  EXPECT_EQ(item[0].verb, Verb::AddItem);
  EXPECT_EQ(item[0].item.commandLine, "c:\\vorn\\readme.txt");
  EXPECT_EQ(item[0].item.name, "Readme.txt");
  EXPECT_EQ(item[0].item.iconPath, "write.exe");
  EXPECT_EQ(item[0].item.iconIndex, 0);
  EXPECT_FALSE(item[0].item.x.has_value());
  EXPECT_FALSE(item[0].item.y.has_value());
  EXPECT_EQ(item[0].item.defaultDir, "c:\\vorn");
}

TEST(ProgmanCommand, AddItemTakesAllSevenFieldsAndLeavesEmptyOnesEmpty) {
  const struct {
    const char* text;
    ItemFields want;
  } cases[] = {
      {"[AddItem(a.exe)]", {"a.exe", "", "", {}, {}, {}, ""}},
      {"[AddItem(\"c:\\x\\a.exe\",\"Name\",\"i.ico\",3,10,-20,\"c:\\x\")]",
       {"c:\\x\\a.exe", "Name", "i.ico", 3, 10, -20, "c:\\x"}},
      {"[AddItem(\"c:\\vorn\\versions.txt\",\"Versions.txt\",,,,,\"c:\\vorn\")]",
       {"c:\\vorn\\versions.txt", "Versions.txt", "", {}, {}, {}, "c:\\vorn"}},
      {"[AddItem(notepad.exe, \"Notepad\", notepad.exe,, -1, -1, \"c:\\\")]",
       {"notepad.exe", "Notepad", "notepad.exe", {}, -1, -1, "c:\\"}},
      // Unquoted text keeps its inner spaces; the hot key and window flags are numbers.
      {"[AddItem(winapp.exe,Win App,winapp.exe,2,,,,65,1,0)]", {"winapp.exe", "Win App", "winapp.exe", 2, {}, {}, ""}},
  };
  for (const auto& c : cases) {
    const std::vector<Command> commands = Parse(c.text);
    ASSERT_EQ(commands.size(), 1u) << c.text;
    const ItemFields& got = commands[0].item;
    EXPECT_EQ(got.commandLine, c.want.commandLine) << c.text;
    EXPECT_EQ(got.name, c.want.name) << c.text;
    EXPECT_EQ(got.iconPath, c.want.iconPath) << c.text;
    EXPECT_EQ(got.iconIndex, c.want.iconIndex) << c.text;
    EXPECT_EQ(got.x, c.want.x) << c.text;
    EXPECT_EQ(got.y, c.want.y) << c.text;
    EXPECT_EQ(got.defaultDir, c.want.defaultDir) << c.text;
  }
}

TEST(ProgmanCommand, QuotesProtectCommasBracketsAndParentheses) {
  const std::vector<Command> commands = Parse("[CreateGroup(\"a, [b] (c)\")]");
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].name, "a, [b] (c)");
}

TEST(ProgmanCommand, SeveralCommandsInOneExecuteKeepTheirOrder) {
  const std::vector<Command> commands =
      Parse(" [createGROUP(One)]\r\n[ ShowGroup ( One , 2 ) ]\n[ReplaceItem(x)][DeleteItem(\"y\")][DeleteGroup(One)] ");
  ASSERT_EQ(commands.size(), 5u);
  EXPECT_EQ(commands[0].verb, Verb::CreateGroup);
  EXPECT_EQ(commands[1].verb, Verb::ShowGroup);
  EXPECT_EQ(commands[1].name, "One");
  EXPECT_EQ(commands[1].showCommand, 2);
  EXPECT_EQ(commands[2].verb, Verb::ReplaceItem);
  EXPECT_EQ(commands[3].name, "y");
  EXPECT_EQ(commands[4].verb, Verb::DeleteGroup);
}

TEST(ProgmanCommand, MalformedTextIsRefusedWhole) {
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"nothing", ""},
      {"only spaces", "  \r\n "},
      {"no brackets", "CreateGroup(x)"},
      {"unclosed bracket", "[CreateGroup(x)"},
      {"unclosed parenthesis", "[CreateGroup(x]"},
      {"no parentheses", "[CreateGroup]"},
      {"unbalanced quotes", "[CreateGroup(\"x)]"},
      {"text after a quote", "[CreateGroup(\"x\"y)]"},
      {"a bracket without quotes", "[CreateGroup(a]b)]"},
      {"a parenthesis without quotes", "[CreateGroup(a(b)]"},
      {"trailing text", "[CreateGroup(x)] junk"},
      {"unknown command", "[Format(c:)]"},
      {"a good command before a bad one", "[CreateGroup(x)][AddItem(\"a]"},
      {"CreateGroup without a name", "[CreateGroup()]"},
      {"CreateGroup with an empty name", "[CreateGroup(\"\")]"},
      {"too many arguments", "[ReplaceItem(a,b)]"},
      {"AddItem without a command line", "[AddItem(,Name)]"},
      {"AddItem with a word for a number", "[AddItem(a.exe,a,a.exe,first)]"},
      {"AddItem with only x", "[AddItem(a.exe,a,,0,5,,c:\\)]"},
      {"AddItem with eleven fields", "[AddItem(a,b,c,1,2,3,d,4,5,6,7)]"},
      {"ShowGroup without a state", "[ShowGroup(x)]"},
      {"ShowGroup with state 9", "[ShowGroup(x,9)]"},
      {"a number too big", "[ShowGroup(x,99999999999)]"},
      {"a huge field", "[CreateGroup(\"" + std::string(kMaxField + 1, 'a') + "\")]"},
      {"a NUL byte", std::string("[CreateGroup(a\0b)]", 18)},
      {"a NUL between commands", std::string("[CreateGroup(a)]\0[CreateGroup(b)]", 33)},
      {"a line break inside quotes", "[CreateGroup(\"a\nb\")]"},
      {"a tab inside a name", "[CreateGroup(a\tb)]"},
  };
  for (const auto& c : cases) {
    std::vector<Command> commands = {Command{}};
    std::string error;
    EXPECT_FALSE(ParseCommands(c.text, &commands, &error)) << c.what;
    EXPECT_TRUE(commands.empty()) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
}

TEST(ProgmanCommand, TheLongestFieldAndManyCommandsStillParse) {
  EXPECT_EQ(Parse("[CreateGroup(\"" + std::string(kMaxField, 'a') + "\")]").size(), 1u);
  std::string many;
  for (std::size_t i = 0; i < kMaxCommands; ++i) many += "[ShowGroup(x,1)]";
  EXPECT_EQ(Parse(many).size(), kMaxCommands);
  std::vector<Command> commands;
  EXPECT_FALSE(ParseCommands(many + "[ShowGroup(x,1)]", &commands, nullptr));
}

}  // namespace
}  // namespace vorn::progman
