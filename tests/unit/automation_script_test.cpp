// Headless automation end to end: a probe program run as a child process with a
// script, its exit code and its trace.
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/gdi/png.h"

namespace {

namespace fs = std::filesystem;

struct ProbeRun {
  int exitCode = -1;
  std::string trace;
  std::string errors;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class AutomationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Parameterised tests are named "Name/N": no directory level of their own.
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    dir_ = fs::temp_directory_path() / ("vorn-automation-" + std::to_string(getpid()) + "-" + name);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  ProbeRun RunProbe(const std::string& script) {
    std::ofstream(dir_ / "script.txt") << script;
    const pid_t child = fork();
    if (child == 0) {
      setenv("VORN_DISPLAY", "headless", 1);
      setenv("VORN_SCRIPT", (dir_ / "script.txt").c_str(), 1);
      setenv("VORN_TRACE", (dir_ / "trace.txt").c_str(), 1);
      setenv("VORN_PREFIX", (dir_ / "prefix").c_str(), 1);
      if (!std::freopen((dir_ / "stderr.txt").c_str(), "w", stderr) || chdir(dir_.c_str()) != 0) _exit(127);
      execl(VORN_AUTOMATION_PROBE, VORN_AUTOMATION_PROBE, static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ProbeRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.trace = ReadAll(dir_ / "trace.txt");
    run.errors = ReadAll(dir_ / "stderr.txt");
    return run;
  }

  fs::path dir_;
};

TEST_F(AutomationTest, TraceRecordsTheRunInOrderOnTheVirtualClock) {
  const ProbeRun run = RunProbe("# answer the question, then the report\nclick 1\nanswer yes\nanswer ok\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.trace,
            "0 dialog INSTALL_DLG begin\n"
            "0 command click 1\n"
            "0 status \"Working...\"\n"
            "0 command answer yes\n"
            "50 status \"Step 1\"\n"
            "100 status \"Step 2\"\n"
            "150 status \"Step 3\"\n"
            "150 msgbox owner=dialog caption=\"Probe\" text=\"Done?\\nReally.\" flags=0x00000024 answer=yes\n"
            "150 dialog INSTALL_DLG end 1\n"
            "150 command answer ok\n"
            "150 msgbox owner=host caption=\"Probe\" text=\"Finished\\nbackups=1\" flags=0x00000000 answer=ok\n"
            "200 exit 0\n");
}

struct ScriptCase {
  const char* script;
  int exitCode;
  const char* inTrace;
};

class AutomationScripts : public AutomationTest, public ::testing::WithParamInterface<ScriptCase> {};

TEST_P(AutomationScripts, EndAsTheScriptSays) {
  const ProbeRun run = RunProbe(GetParam().script);
  EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.trace << run.errors;
  EXPECT_NE(run.trace.find(GetParam().inTrace), std::string::npos) << run.trace;
  EXPECT_NE(run.trace.find("exit " + std::to_string(GetParam().exitCode) + "\n"), std::string::npos) << run.trace;
  if (GetParam().exitCode == 3) {
    EXPECT_NE(run.errors.find("line "), std::string::npos) << "said on stderr too";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, AutomationScripts,
    ::testing::Values(
        ScriptCase{"check 109 off\nclick 1\nanswer yes\nanswer ok", 0, "text=\"Finished\\nbackups=0\""},
        ScriptCase{"key Alt+M\nkey Alt+I\nanswer no\nanswer ok", 0, "dialog INSTALL_DLG end 0"},
        ScriptCase{"key Tab\nkey Enter\nanswer ok", 0, "dialog INSTALL_DLG end 0"},
        ScriptCase{"expect-text 102 Welcome to the Vorn installation program!\nexpect-visible 113 no\n"
                   "wait 1000\nkey Escape\nanswer ok",
                   0, "1000 command key Escape"},
        ScriptCase{"click 2\nanswer ok\nclick 1", 0, "note \"the program ended with 1 script command(s) left\""},
        ScriptCase{"", 4, "error \"the script is over and the program still waits for input\""},
        ScriptCase{"click 1\nclick 2", 4, "dialog INSTALL_DLG end 0"},
        ScriptCase{"click 999", 3, "error \"line 1: click: no control 999 in the active window \\\"Vorn Installer\\\"\""},
        ScriptCase{"click 113", 3, "control 113 is hidden"},
        ScriptCase{"\n\nanswer yes", 3, "line 3: answer: no message box is open"},
        ScriptCase{"expect-text 102 \"Wrong\"", 3, "expected \\\"Wrong\\\", found \\\"Welcome"},
        ScriptCase{"expect-visible 113 yes", 3, "control is hidden"},
        ScriptCase{"type 105 c:\\games", 3, "control 105 is not an edit control"},
        ScriptCase{"check 1 on", 3, "control 1 is not a check box"},
        ScriptCase{"key Alt+Q+", 3, "unknown key"},
        ScriptCase{"frobnicate 1", 3, "line 1: frobnicate: unknown command"}));

TEST_F(AutomationTest, ScreenshotWritesTheScreen) {
  const ProbeRun run = RunProbe("screenshot-screen shot.png\nclick 2\nanswer ok\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  vorn::gdi::Surface shot;
  ASSERT_EQ(vorn::gdi::ReadPng((dir_ / "shot.png").string(), &shot), vorn::Error::None);
  EXPECT_EQ(shot.width, 800);
  EXPECT_EQ(shot.height, 600);
}

}  // namespace
