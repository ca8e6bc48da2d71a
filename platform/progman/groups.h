// The groups of our Program Manager and what the commands do to them.
//
// As in the published command language, AddItem, ReplaceItem and DeleteItem work on
// the current group: the one last created (or re-created) or shown. ReplaceItem
// removes an item and remembers its place, where the next AddItem in that group puts
// its item. Group and item names compare ignoring case; a group holds at most
// kMaxItems items, and two items may share a name (the first one is meant then).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/progman/command.h"

namespace vorn::progman {

constexpr std::size_t kMaxItems = 50;

struct Item {
  std::string name;
  std::string commandLine;
  std::string iconPath;
  std::optional<int> iconIndex;
  std::optional<int> x;
  std::optional<int> y;
  std::string defaultDir;
};

struct Group {
  std::string name;
  std::string path;
  std::vector<Item> items;
};

using Groups = std::vector<Group>;

// What lives only as long as the server runs.
struct Session {
  struct Replacement {
    std::string group;
    std::size_t index = 0;
    std::optional<int> x;
    std::optional<int> y;
  };
  std::string currentGroup;  // empty when there is none
  std::optional<Replacement> replacement;
  bool exitRequested = false;
};

// Carries the commands out in order. Either all of them succeed and the groups and
// session change, or the first failure is reported and neither changes.
bool Apply(const std::vector<Command>& commands, Groups* groups, Session* session, std::string* error);

// The groups written as the commands that make them, one per line: a reader sees what
// is there, and the text can be executed again.
std::string Describe(const Groups& groups);

bool SameName(const std::string& a, const std::string& b);

}  // namespace vorn::progman
