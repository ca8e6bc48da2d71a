// The installer on the x11 display, under Xvfb, driven by xdotool as a user would:
// clicks on the dialog, a key for the success box, a drag by our caption bar, our
// close button and the window manager's close. Needs the Debian packages xvfb and
// xdotool; skips without them.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "tests/support/scenario.h"

#include <X11/Xlib.h>

namespace vorn::testing {
namespace {

const char* const kDialogTitle = "^Vorn v5.02 32bit Installation$";

bool OnPath(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

struct Spot {
  int x;
  int y;
};

// Where the controls of INSTALL_DLG lie in its window: dialog units to pixels
// (x * 6 / 4, y * 13 / 8, rounded), plus our frame (3) and caption bar (18).
Spot InDialogWindow(int xUnits, int yUnits) {
  return Spot{(xUnits * 6 + 2) / 4 + 3, (yUnits * 13 + 4) / 8 + 3 + 18};
}

class X11Smoke : public ::testing::Test {
 protected:
  // Starts Xvfb on a display number of its choice, which it writes, followed by a
  // line feed, once it accepts connections. The pipe stays open until the line
  // feed is in, or the server would fail writing it.
  static void SetUpTestSuite() {
    if (!OnPath("Xvfb") || !OnPath("xdotool")) return;
    int ready[2];
    if (pipe(ready) != 0) return;
    server_ = fork();
    if (server_ == 0) {
      close(ready[0]);
      const std::string fd = std::to_string(ready[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(ready[1]);
    std::string number;
    char c = 0;
    while (read(ready[0], &c, 1) == 1 && c != '\n') number += c;
    close(ready[0]);
    if (c == '\n' && !number.empty()) display_ = ":" + number;
  }
  static void TearDownTestSuite() {
    if (server_ > 0) {
      kill(server_, SIGTERM);
      waitpid(server_, nullptr, 0);
      server_ = -1;
    }
  }

  void SetUp() override {
    if (!OnPath("Xvfb") || !OnPath("xdotool")) GTEST_SKIP() << "needs the Debian packages xvfb and xdotool";
    ASSERT_FALSE(display_.empty()) << "Xvfb did not start";
    scenario_ = std::make_unique<Scenario>();
  }
  void TearDown() override {
    if (installer_ > 0) {
      kill(installer_, SIGKILL);
      waitpid(installer_, nullptr, 0);
    }
  }

  void Start() {
    const std::string dir = scenario_->installer().substr(0, scenario_->installer().find_last_of('/'));
    trace_ = scenario_->prefix().root() + "/trace.txt";
    installer_ = fork();
    if (installer_ == 0) {
      setenv("DISPLAY", display_.c_str(), 1);
      setenv("VORN_DISPLAY", "x11", 1);
      setenv("VORN_PREFIX", scenario_->prefix().root().c_str(), 1);
      setenv("VORN_TRACE", trace_.c_str(), 1);
      if (chdir(dir.c_str()) != 0) _exit(127);
      execl(scenario_->installer().c_str(), scenario_->installer().c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  // Runs xdotool on the server; its output, without the final line feed.
  std::string Xdotool(const std::string& arguments) {
    const std::string command = "DISPLAY=" + display_ + " timeout 30 xdotool " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    pclose(pipe);
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out.substr(0, out.find('\n'));
  }
  std::string WindowNamed(const char* title) { return Xdotool(std::string("search --sync --name '") + title + "'"); }
  void Click(const std::string& window, Spot at) {
    Xdotool("mousemove --window " + window + " " + std::to_string(at.x) + " " + std::to_string(at.y) + " click 1");
  }
  // The exit code once the installer has ended, on the real clock; -1 after 60 s.
  int Exit() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int status = 0;
    while (waitpid(installer_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) return -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    installer_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Trace() const {
    std::ifstream file(trace_);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }

  static pid_t server_;
  static std::string display_;
  std::unique_ptr<Scenario> scenario_;
  pid_t installer_ = -1;
  std::string trace_;
};

pid_t X11Smoke::server_ = -1;
std::string X11Smoke::display_;

TEST_F(X11Smoke, InstallCompletesThroughClicksAndAKey) {
  Start();
  const std::string dialog = WindowNamed(kDialogTitle);
  ASSERT_FALSE(dialog.empty());
  Click(dialog, InDialogWindow(58 + 3, 165 + 6));  // the box of "Add Icons", off
  Click(dialog, InDialogWindow(69 + 20, 208 + 8));  // Install
  ASSERT_FALSE(WindowNamed("^Vorn Installation$").empty()) << Trace();
  Xdotool("key Return");
  ASSERT_EQ(Exit(), 0) << Trace();
  const std::string trace = Trace();
  EXPECT_NE(trace.find("dialog INSTALL_DLG end 1"), std::string::npos) << trace;
  EXPECT_NE(trace.find("caption=\"Vorn Installation\""), std::string::npos) << trace;
  EXPECT_NE(trace.find("answer=ok"), std::string::npos) << trace;
  EXPECT_EQ(scenario_->Read("c:\\vorn\\vorn32.exe"), SamplePackageFile("vorn32.exe"));
}

TEST_F(X11Smoke, CaptionBarDragsAndCloseButtonCancels) {
  Start();
  const std::string dialog = WindowNamed(kDialogTitle);
  ASSERT_FALSE(dialog.empty());
  const std::string before = Xdotool("getwindowgeometry " + dialog + " | grep Position");
  Xdotool("mousemove --window " + dialog + " 100 10 mousedown 1 mousemove_relative --sync 40 25 mouseup 1");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  std::sscanf(before.c_str(), " Position: %d,%d", &x0, &y0);
  const std::string moved = Xdotool("getwindowgeometry " + dialog + " | grep Position");
  std::sscanf(moved.c_str(), " Position: %d,%d", &x1, &y1);
  EXPECT_EQ(x1 - x0, 40);
  EXPECT_EQ(y1 - y0, 25);
  Click(dialog, Spot{335 - 3 - 2 - 8, 3 + 2 + 7});  // the middle of our close button
  ASSERT_EQ(Exit(), 0) << Trace();
  EXPECT_NE(Trace().find("dialog INSTALL_DLG end 0"), std::string::npos) << Trace();
}

TEST_F(X11Smoke, WindowManagersCloseIsCancel) {
  Start();
  const std::string dialog = WindowNamed(kDialogTitle);
  ASSERT_FALSE(dialog.empty());
  ::Display* x = XOpenDisplay(display_.c_str());
  ASSERT_NE(x, nullptr);
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = std::strtoul(dialog.c_str(), nullptr, 10);
  close.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(x, close.xclient.window, False, NoEventMask, &close);
  XCloseDisplay(x);
  ASSERT_EQ(Exit(), 0) << Trace();
  EXPECT_NE(Trace().find("dialog INSTALL_DLG end 0"), std::string::npos) << Trace();
}

}  // namespace
}  // namespace vorn::testing
