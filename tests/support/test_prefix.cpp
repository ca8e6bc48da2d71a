// Fresh prefixes for tests.
#include "tests/support/test_prefix.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/files/faults.h"
#include "platform/files/files.h"

namespace vorn::testing {

namespace fs = std::filesystem;

TestPrefix::TestPrefix() {
  std::string pattern = (fs::temp_directory_path() / "vorn-test-XXXXXX").string();
  char* made = mkdtemp(pattern.data());
  if (made == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = made;
  setenv("VORN_PREFIX", root_.c_str(), 1);
  faults::Clear();
  files::Reset();
  files::PrefixRoot();
}

TestPrefix::~TestPrefix() {
  faults::Clear();
  files::Reset();
  std::error_code ec;
  // Read-only files made by a test must not stop the clean-up.
  for (auto it = fs::recursive_directory_iterator(root_, ec); it != fs::recursive_directory_iterator(); ++it) {
    if (!it->is_symlink()) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(root_, ec);
  unsetenv("VORN_PREFIX");
}

std::string TestPrefix::Host(const std::string& winPath) const {
  std::string host;
  EXPECT_EQ(files::ToHostPath(winPath, &host), Error::None) << winPath;
  return host;
}

void TestPrefix::WriteFile(const std::string& hostPath, const std::string& content) {
  fs::create_directories(fs::path(hostPath).parent_path());
  std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
  out << content;
}

std::string TestPrefix::ReadFile(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool TestPrefix::Exists(const std::string& hostPath) {
  std::error_code ec;
  return fs::symlink_status(hostPath, ec).type() != fs::file_type::not_found;
}

}  // namespace vorn::testing
