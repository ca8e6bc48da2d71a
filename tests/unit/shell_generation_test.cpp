// The shell generation from the version: major 4, or minor 95 and up.
#include <gtest/gtest.h>

#include "shell/shell_generation.h"

namespace {

TEST(ShellGeneration, FromTheVersion) {
  struct Case {
    int major, minor, newShell;
  } cases[] = {{4, 0, 1}, {4, 10, 1}, {3, 95, 1}, {3, 10, 0}, {3, 51, 0}, {5, 0, 0}, {6, 1, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(IsNewShell(static_cast<DWORD>(c.major | c.minor << 8)), c.newShell) << c.major << "." << c.minor;
  }
}

}  // namespace
