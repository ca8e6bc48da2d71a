// Program Manager's DDE command language: commands in square brackets, arguments in
// parentheses separated by commas, an argument in double quotes when it holds commas,
// brackets or parentheses (a quoted argument runs to the next quote; there is no
// escape). Several commands may follow each other in one execute string.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::progman {

enum class Verb { CreateGroup, ShowGroup, AddItem, ReplaceItem, DeleteItem, DeleteGroup, ExitProgman };

// AddItem's fields in the order of the command; empty where left out.
struct ItemFields {
  std::string commandLine;
  std::string name;
  std::string iconPath;
  std::optional<int> iconIndex;
  std::optional<int> x;
  std::optional<int> y;
  std::string defaultDir;
};

struct Command {
  Verb verb = Verb::CreateGroup;
  std::string name;       // the group (CreateGroup, ShowGroup, DeleteGroup) or item (ReplaceItem, DeleteItem)
  std::string groupPath;  // CreateGroup's optional group file
  int showCommand = 0;    // ShowGroup's window state, 1 to 8
  ItemFields item;        // AddItem
};

constexpr std::size_t kMaxField = 1024;
constexpr std::size_t kMaxCommands = 256;

// Parses a whole execute string, or fails with a reason and no commands: an unknown
// command, a wrong number of arguments, a missing name, a bad number, unbalanced
// brackets, parentheses or quotes, a field longer than kMaxField, more than
// kMaxCommands commands, control characters inside an argument, or a NUL byte.
// AddItem's hot key and window flags (its eighth to tenth fields) must be numbers and
// are then ignored: this desktop has neither.
bool ParseCommands(std::string_view text, std::vector<Command>* commands, std::string* error);

}  // namespace vorn::progman
