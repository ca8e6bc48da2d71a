// A fresh prefix for one test: a temporary directory as VORN_PREFIX, removed again
// when the test ends.
#pragma once

#include <string>

namespace vorn::testing {

class TestPrefix {
 public:
  TestPrefix();
  ~TestPrefix();
  TestPrefix(const TestPrefix&) = delete;
  TestPrefix& operator=(const TestPrefix&) = delete;

  const std::string& root() const { return root_; }
  // Host path of a Windows path inside this prefix (through the files service).
  std::string Host(const std::string& winPath) const;
  // Writes a host file, creating its directories.
  static void WriteFile(const std::string& hostPath, const std::string& content);
  static std::string ReadFile(const std::string& hostPath);
  static bool Exists(const std::string& hostPath);

 private:
  std::string root_;
};

}  // namespace vorn::testing
