// Scenario tests run the real installer image headlessly in a fresh prefix, driven
// by an automation script, and read what it did from its trace and the files it left.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/support/test_prefix.h"

namespace vorn::testing {

struct ScenarioRun {
  int exitCode = -1;
  std::vector<std::string> trace;  // the events, one a line, without their times
  std::vector<long> times;         // the virtual time of each event, in milliseconds
  std::string errors;              // what the program wrote to stderr

  bool Has(const std::string& fragment) const;
  // The trace lines that start with the word, e.g. "msgbox".
  std::vector<std::string> Lines(const std::string& word) const;
};

class Scenario {
 public:
  // The installer image is copied to C:\setup\vorn502-setup in a fresh prefix.
  Scenario();
  const TestPrefix& prefix() const { return prefix_; }
  // Host path of a Windows path of the prefix.
  std::string Host(const std::string& winPath) const { return prefix_.Host(winPath); }
  std::string Read(const std::string& winPath) const { return TestPrefix::ReadFile(Host(winPath)); }
  bool Exists(const std::string& winPath) const { return TestPrefix::Exists(Host(winPath)); }
  void Write(const std::string& winPath, const std::string& content) { TestPrefix::WriteFile(Host(winPath), content); }
  // Places the installer elsewhere (a host path), e.g. outside drive C:.
  void MoveInstaller(const std::string& hostPath);
  const std::string& installer() const { return installer_; }

  // Runs the installer with the script and extra platform settings.
  ScenarioRun Run(const std::string& script, const std::map<std::string, std::string>& settings = {});

 private:
  TestPrefix prefix_;
  std::string installer_;
};

// The bundled sample package's files, by manifest name.
std::string SamplePackageFile(const std::string& name);

}  // namespace vorn::testing
