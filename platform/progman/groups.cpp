// The commands' effects on the groups.
#include "platform/progman/groups.h"

#include <algorithm>
#include <cctype>

namespace vorn::progman {

namespace {

Group* FindGroup(Groups* groups, const std::string& name) {
  for (Group& group : *groups) {
    if (SameName(group.name, name)) return &group;
  }
  return nullptr;
}

// The index of the first item of the name, or the number of items.
std::size_t FindItem(const Group& group, const std::string& name) {
  std::size_t i = 0;
  while (i < group.items.size() && !SameName(group.items[i].name, name)) ++i;
  return i;
}

// An item without a name is called after its program's file, without the extension:
// the text after the last backslash (or the drive's colon), up to the space before any
// arguments.
std::string DefaultItemName(const std::string& commandLine) {
  const std::size_t separator = commandLine.find_last_of("\\:");
  std::string base = separator == std::string::npos ? commandLine : commandLine.substr(separator + 1);
  base = base.substr(0, base.find(' '));
  const std::size_t dot = base.rfind('.');
  if (dot != std::string::npos && dot > 0) base.resize(dot);
  return base.empty() ? commandLine : base;
}

class Applier {
 public:
  Applier(Groups* groups, Session* session, std::string* error) : groups_(*groups), session_(*session), error_(error) {}

  bool Run(const Command& command) {
    switch (command.verb) {
      case Verb::CreateGroup: return CreateGroup(command);
      case Verb::ShowGroup: return ShowGroup(command);
      case Verb::AddItem: return AddItem(command.item);
      case Verb::ReplaceItem: return ReplaceItem(command.name);
      case Verb::DeleteItem: return DeleteItem(command.name);
      case Verb::DeleteGroup: return DeleteGroup(command.name);
      case Verb::ExitProgman: session_.exitRequested = true; return true;
    }
    return Fail("unknown command");
  }

 private:
  // An existing group of the name is made current again and keeps its file.
  bool CreateGroup(const Command& command) {
    Group* group = FindGroup(&groups_, command.name);
    if (group == nullptr) {
      groups_.push_back({command.name, command.groupPath, {}});
      group = &groups_.back();
    }
    session_.currentGroup = group->name;
    return true;
  }

  bool ShowGroup(const Command& command) {
    Group* group = FindGroup(&groups_, command.name);
    if (group == nullptr) return Fail("no group '" + command.name + "'");
    session_.currentGroup = group->name;
    return true;
  }

  bool AddItem(const ItemFields& fields) {
    Group* group = Current();
    if (group == nullptr) return false;
    if (group->items.size() >= kMaxItems) return Fail("group '" + group->name + "' is full");
    Item item{fields.name.empty() ? DefaultItemName(fields.commandLine) : fields.name,
              fields.commandLine,
              fields.iconPath,
              fields.iconIndex,
              fields.x,
              fields.y,
              fields.defaultDir};
    auto& replacement = session_.replacement;
    if (replacement && SameName(replacement->group, group->name)) {
      // The replaced item's place wins over any position the command gives.
      item.x = replacement->x;
      item.y = replacement->y;
      const std::size_t index = std::min(replacement->index, group->items.size());
      group->items.insert(group->items.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
      replacement.reset();
    } else {
      group->items.push_back(std::move(item));
    }
    return true;
  }

  bool ReplaceItem(const std::string& name) {
    Group* group = Current();
    if (group == nullptr) return false;
    const std::size_t index = FindItem(*group, name);
    if (index == group->items.size()) return Fail("no item '" + name + "' in group '" + group->name + "'");
    const Item& item = group->items[index];
    session_.replacement = Session::Replacement{group->name, index, item.x, item.y};
    group->items.erase(group->items.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
  }

  bool DeleteItem(const std::string& name) {
    Group* group = Current();
    if (group == nullptr) return false;
    const std::size_t index = FindItem(*group, name);
    if (index == group->items.size()) return Fail("no item '" + name + "' in group '" + group->name + "'");
    group->items.erase(group->items.begin() + static_cast<std::ptrdiff_t>(index));
    auto& replacement = session_.replacement;
    if (replacement && SameName(replacement->group, group->name) && replacement->index > index) --replacement->index;
    return true;
  }

  bool DeleteGroup(const std::string& name) {
    auto it = std::find_if(groups_.begin(), groups_.end(), [&](const Group& g) { return SameName(g.name, name); });
    if (it == groups_.end()) return Fail("no group '" + name + "'");
    groups_.erase(it);
    if (SameName(session_.currentGroup, name)) session_.currentGroup.clear();
    if (session_.replacement && SameName(session_.replacement->group, name)) session_.replacement.reset();
    return true;
  }

  Group* Current() {
    Group* group = session_.currentGroup.empty() ? nullptr : FindGroup(&groups_, session_.currentGroup);
    if (group == nullptr) Fail("no current group: create or show one first");
    return group;
  }

  bool Fail(const std::string& reason) {
    *error_ = reason;
    return false;
  }

  Groups& groups_;
  Session& session_;
  std::string* error_;
};

std::string Quoted(const std::string& text) { return text.empty() ? std::string() : "\"" + text + "\""; }
std::string Number(const std::optional<int>& value) { return value ? std::to_string(*value) : std::string(); }

}  // namespace

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

bool Apply(const std::vector<Command>& commands, Groups* groups, Session* session, std::string* error) {
  Groups newGroups = *groups;
  Session newSession = *session;
  std::string ignored;
  Applier applier(&newGroups, &newSession, error != nullptr ? error : &ignored);
  for (const Command& command : commands) {
    if (!applier.Run(command)) return false;
  }
  *groups = std::move(newGroups);
  *session = std::move(newSession);
  return true;
}

std::string Describe(const Groups& groups) {
  std::string text;
  for (const Group& group : groups) {
    text += "[CreateGroup(" + Quoted(group.name);
    if (!group.path.empty()) text += "," + Quoted(group.path);
    text += ")]\n";
    for (const Item& item : group.items) {
      std::vector<std::string> fields = {Quoted(item.commandLine), Quoted(item.name),   Quoted(item.iconPath),
                                         Number(item.iconIndex),   Number(item.x),      Number(item.y),
                                         Quoted(item.defaultDir)};
      while (fields.back().empty()) fields.pop_back();
      text += "[AddItem(";
      for (std::size_t i = 0; i < fields.size(); ++i) text += (i > 0 ? "," : "") + fields[i];
      text += ")]\n";
    }
  }
  return text;
}

}  // namespace vorn::progman
