// The prefix on disk: where it is, its drives, and the current directories.
#pragma once

#include <string>
#include <vector>

namespace vorn::files {

struct Drive {
  char letter;       // 'a' to 'z'
  std::string root;  // host directory the drive maps, canonical, no trailing slash ("/" for the host root)
};

// The drives mapped by dosdevices/<letter>: links, in letter order.
const std::vector<Drive>& MappedDrives();
// The drive's host root, or nullptr when the letter is not mapped.
const Drive* FindDrive(char letter);
// The current drive.
char CurrentDrive();

}  // namespace vorn::files
