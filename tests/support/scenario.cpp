// Running the installer headlessly.
#include "tests/support/scenario.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace vorn::testing {

namespace fs = std::filesystem;

bool ScenarioRun::Has(const std::string& fragment) const {
  for (const std::string& line : trace) {
    if (line.find(fragment) != std::string::npos) return true;
  }
  return false;
}

std::vector<std::string> ScenarioRun::Lines(const std::string& word) const {
  std::vector<std::string> lines;
  for (const std::string& line : trace) {
    if (line.compare(0, word.size() + 1, word + " ") == 0) lines.push_back(line);
  }
  return lines;
}

Scenario::Scenario() {
  installer_ = prefix_.root() + "/drive_c/setup/vorn502-setup";
  fs::create_directories(fs::path(installer_).parent_path());
  fs::copy_file(VORN_SETUP_IMAGE, installer_, fs::copy_options::overwrite_existing);
}

void Scenario::MoveInstaller(const std::string& hostPath) {
  fs::create_directories(fs::path(hostPath).parent_path());
  fs::rename(installer_, hostPath);
  installer_ = hostPath;
}

ScenarioRun Scenario::Run(const std::string& script, const std::map<std::string, std::string>& settings) {
  const std::string scriptPath = prefix_.root() + "/script.txt";
  const std::string tracePath = prefix_.root() + "/trace.txt";
  const std::string errorPath = prefix_.root() + "/stderr.txt";
  TestPrefix::WriteFile(scriptPath, script);
  fs::remove(tracePath);

  std::map<std::string, std::string> environment = {
      {"VORN_PREFIX", prefix_.root()}, {"VORN_DISPLAY", "headless"}, {"VORN_SCRIPT", scriptPath},
      {"VORN_TRACE", tracePath},       {"VORN_PROGMAN_NO_MENU", "1"},
  };
  for (const auto& [key, value] : settings) environment[key] = value;

  const pid_t child = fork();
  if (child == 0) {
    unsetenv("DISPLAY");
    for (const auto& [key, value] : environment) setenv(key.c_str(), value.c_str(), 1);
    FILE* errors = std::freopen(errorPath.c_str(), "w", stderr);
    (void)errors;
    const std::string workingDir = fs::path(installer_).parent_path().string();
    if (chdir(workingDir.c_str()) != 0) _exit(127);
    execl(installer_.c_str(), installer_.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  // A guard against a program that hangs: the script's own rules should end every
  // run long before this.
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

  ScenarioRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  std::ifstream trace(tracePath);
  for (std::string line; std::getline(trace, line);) {
    // "<time> <event>"
    const std::size_t space = line.find(' ');
    run.times.push_back(space == std::string::npos ? 0 : std::atol(line.substr(0, space).c_str()));
    run.trace.push_back(space == std::string::npos ? line : line.substr(space + 1));
  }
  run.errors = TestPrefix::ReadFile(errorPath);
  return run;
}

std::string SamplePackageFile(const std::string& name) {
  return TestPrefix::ReadFile(std::string(VORN_SOURCE_DIR) + "/resources/package/" + name);
}

}  // namespace vorn::testing
