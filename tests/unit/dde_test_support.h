// Helpers of the DDE and Program Manager tests: private runtime and menu directories
// per test, a DDE server of the test's own in a child process, and the real progman.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "tests/support/test_prefix.h"

namespace vorn::testing {

// A fresh prefix, and XDG_RUNTIME_DIR, XDG_DATA_HOME and XDG_CONFIG_HOME in a
// temporary directory of the test, so that nothing reaches the user's own.
class DdeEnvironment : public ::testing::Test {
 protected:
  DdeEnvironment();
  ~DdeEnvironment() override;

  const std::string& root() const { return root_; }
  std::string RuntimeDir() const { return root_ + "/run"; }
  std::string DataHome() const { return root_ + "/data"; }
  std::string ConfigHome() const { return root_ + "/config"; }

  TestPrefix prefix;

 private:
  std::string root_;
};

// A DDE client instance for the test's own process.
class DdeClient {
 public:
  DdeClient();
  ~DdeClient();
  DWORD instance() const { return instance_; }
  // Connects to service and topic; nullptr when refused.
  HCONV Connect(const char* service, const char* topic);
  // Sends the text with its terminating zero; the transaction's result.
  HDDEDATA Execute(HCONV conversation, const std::string& text, DWORD timeoutMs, DWORD* result = nullptr);

 private:
  DWORD instance_ = 0;
  std::vector<HSZ> strings_;
};

// A DDE server in a child process. Every execute's bytes are recorded, then handed to
// the handler, whose answer (DDE_FACK, DDE_FNOTPROCESSED, ...) goes back. The child
// ends with the object, or with the test process.
class ForkedServer {
 public:
  using Handler = std::function<DWORD(const std::string& data)>;
  // inChild runs in the child before it registers the service.
  ForkedServer(const std::string& service, Handler handler, std::function<void()> inChild = {});
  ~ForkedServer();
  // Ends the child and returns the executes it received, in order.
  std::vector<std::string> Received();

 private:
  pid_t child_ = -1;
  int log_ = -1;
};

// The real progman, serving in the foreground until the object ends.
class ProgmanServer {
 public:
  explicit ProgmanServer(const std::vector<std::string>& args = {});
  ~ProgmanServer();
  bool serving() const { return serving_; }
  // Ends it with a signal and returns its exit status.
  int Terminate();

 private:
  pid_t child_ = -1;
  int output_ = -1;  // kept open so that its output never meets a closed pipe
  bool serving_ = false;
};

// Runs progman with the arguments to its end; its exit status, and its output.
int RunProgman(const std::vector<std::string>& args, std::string* output = nullptr);

}  // namespace vorn::testing
