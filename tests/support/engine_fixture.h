// A fixture for tests of the install run without the dialog: a fresh prefix, the
// installer image of the test, and message boxes answered from a script of answers.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "engine/install_state.h"
#include "platform/user/testing.h"
#include "tests/support/test_image.h"
#include "tests/support/test_prefix.h"

namespace vorn::testing {

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the image as the program's own file (at C:\setup\install.exe) and stamps
  // its sum as the expected one.
  void UseImage(const std::string& bytes);
  void UseImage(const TestImage& image) { UseImage(image.Bytes()); }
  // Starts a run as the controller does (reset, destination, image) and scans until
  // the scanner stops; returns its last result and counts the slices.
  StepResult RunScan();
  // The answers given to questions, in order; IDOK for errors and when none is left.
  void Answer(std::vector<int> answers) { answers_.assign(answers.begin(), answers.end()); }

  const std::vector<automation::MessageBoxRecord>& Boxes() const { return automation::MessageBoxLog(); }
  std::vector<std::string> Captions() const;
  // Host path of a Windows path, and file contents by Windows path.
  std::string Host(const std::string& winPath) const { return prefix_->Host(winPath); }
  std::string Read(const std::string& winPath) const { return TestPrefix::ReadFile(Host(winPath)); }
  void Write(const std::string& winPath, const std::string& content) { TestPrefix::WriteFile(Host(winPath), content); }
  bool Exists(const std::string& winPath) const { return TestPrefix::Exists(Host(winPath)); }
  // Names in a directory, sorted ("" when it does not exist).
  std::vector<std::string> List(const std::string& winDir) const;

  int slices_ = 0;

 private:
  std::unique_ptr<TestPrefix> prefix_;
  std::deque<int> answers_;
};

// Eleven distinct small files, no signature inside, the content of entry i.
std::string PackageFile(int index);
// An image holding the eleven package files as literal streams.
TestImage PackageImage();

}  // namespace vorn::testing
