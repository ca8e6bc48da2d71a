// The groups on disk: one text file in the prefix, replaced whole and atomically on
// every change, so that a reader or a crash never sees half of it.
//
// The file is a sequence of [Group] and [Item] sections of Key=Value lines; an item
// belongs to the group before it. Values are written as they are: the command
// language lets no line break or other control character into them.
#pragma once

#include <string>

#include "platform/progman/groups.h"

namespace vorn::progman {

// PrefixRoot()/progman/groups.ini
std::string StorePath();

// A missing file is no groups; a file that is not ours to read is an error.
bool LoadGroups(const std::string& path, Groups* groups, std::string* error);
bool SaveGroups(const std::string& path, const Groups& groups, std::string* error);

}  // namespace vorn::progman
