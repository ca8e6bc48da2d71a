// The converted templates against windres, which builds the same installer.rc for
// Windows: every control must get the same id and style from both. Needs the
// Debian package binutils-mingw-w64-i686 (i686-w64-mingw32-windres); skips without.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/user/resources.h"
#include "platform/win32.h"

namespace {

struct Item {
  int id;
  unsigned style;
  bool operator==(const Item& o) const { return id == o.id && style == o.style; }
};

std::ostream& operator<<(std::ostream& out, const Item& item) {
  return out << "{" << item.id << ", 0x" << std::hex << item.style << std::dec << "}";
}

// The controls of one dialog in windres's decompiled text.
std::vector<Item> WindresItems(const std::string& rc, const std::string& header) {
  std::vector<Item> items;
  const std::size_t start = rc.find(header);
  if (start == std::string::npos) return items;
  std::istringstream lines(rc.substr(start));
  const std::regex control(R"(^\s*CONTROL ".*", (-?\d+), "\w+", (0x[0-9a-f]+))");
  const std::regex statement(R"(^\s*[A-Z]+ ".*", (-?\d+), -?\d+, -?\d+, \d+, \d+, (0x[0-9a-f]+)$)");
  for (std::string line; std::getline(lines, line) && line != "END";) {
    std::smatch m;
    if (std::regex_search(line, m, control) || std::regex_search(line, m, statement)) {
      items.push_back({std::stoi(m[1]), static_cast<unsigned>(std::stoul(m[2], nullptr, 16))});
    }
  }
  return items;
}

std::vector<Item> OurItems(LPCSTR name) {
  std::vector<Item> items;
  const vorn::user::DialogTemplate* t = vorn::user::FindDialogTemplate(name);
  for (std::size_t i = 0; t != nullptr && i < t->itemCount; ++i) items.push_back({t->items[i].id, t->items[i].style});
  return items;
}

TEST(ResourcesPeer, WindresAndOurConverterReadInstallerRcAlike) {
  if (std::system("i686-w64-mingw32-windres --version >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "i686-w64-mingw32-windres (binutils-mingw-w64-i686) is not installed";
  }
  const std::string out = ::testing::TempDir() + "vorn-installer-decompiled.rc";
  const std::string command = "cd " VORN_SOURCE_DIR "/resources && i686-w64-mingw32-windres -O rc installer.rc -o " + out;
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::ifstream in(out);
  std::stringstream text;
  text << in.rdbuf();
  std::remove(out.c_str());
  const std::vector<Item> install = WindresItems(text.str(), "\"INSTALL_DLG\" DIALOG");
  ASSERT_EQ(install.size(), 19u);
  EXPECT_EQ(OurItems("INSTALL_DLG"), install);
  const std::vector<Item> chooser = WindresItems(text.str(), "1537 DIALOG");
  ASSERT_EQ(chooser.size(), 15u);
  EXPECT_EQ(OurItems(MAKEINTRESOURCEA(1537)), chooser);
}

}  // namespace
