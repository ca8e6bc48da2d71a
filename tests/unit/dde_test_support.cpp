// Private directories, a forked DDE server and the real progman for the tests.
#include "tests/unit/dde_test_support.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "platform/dde/server.h"

namespace vorn::testing {

namespace fs = std::filesystem;

namespace {

void ReadAll(int fd, std::string* out) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) out->append(buffer, static_cast<std::size_t>(n));
    else if (n == 0 || errno != EINTR) return;
  }
}

// In the child only: execs progman with the arguments and its stdout (and stderr when
// asked) on the pipe.
[[noreturn]] void ExecProgman(const std::vector<std::string>& args, int out, bool withErrors) {
  dup2(out, STDOUT_FILENO);
  if (withErrors) dup2(out, STDERR_FILENO);
  std::vector<char*> argv;
  static char name[] = "progman";
  argv.push_back(name);
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  execv(VORN_PROGMAN_PATH, argv.data());
  _exit(127);
}

ForkedServer::Handler* childHandler = nullptr;
int childLog = -1;

HDDEDATA CALLBACK ChildCallback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA data, ULONG_PTR, ULONG_PTR) {
  if (type == XTYP_CONNECT) return reinterpret_cast<HDDEDATA>(TRUE);
  if (type != XTYP_EXECUTE) return nullptr;
  DWORD size = 0;
  const LPBYTE bytes = DdeAccessData(data, &size);
  const std::string received(reinterpret_cast<const char*>(bytes), size);
  DdeUnaccessData(data);
  const std::uint32_t length = size;
  if (write(childLog, &length, sizeof length) < 0 || write(childLog, received.data(), size) < 0) _exit(3);
  return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>((*childHandler)(received)));
}

}  // namespace

DdeEnvironment::DdeEnvironment() {
  std::string pattern = (fs::temp_directory_path() / "vorn-dde-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  fs::create_directory(RuntimeDir());
  fs::permissions(RuntimeDir(), fs::perms::owner_all);
  setenv("XDG_RUNTIME_DIR", RuntimeDir().c_str(), 1);
  setenv("XDG_DATA_HOME", DataHome().c_str(), 1);
  setenv("XDG_CONFIG_HOME", ConfigHome().c_str(), 1);
  unsetenv("VORN_PROGMAN_NO_MENU");
}

DdeEnvironment::~DdeEnvironment() {
  std::error_code ec;
  fs::remove_all(root_, ec);
}

DdeClient::DdeClient() {
  EXPECT_EQ(DdeInitializeA(&instance_, [](UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) -> HDDEDATA {
              return nullptr;
            }, APPCMD_CLIENTONLY, 0),
            static_cast<UINT>(DMLERR_NO_ERROR));
}

DdeClient::~DdeClient() { DdeUninitialize(instance_); }

HCONV DdeClient::Connect(const char* service, const char* topic) {
  strings_.push_back(DdeCreateStringHandleA(instance_, service, CP_WINANSI));
  strings_.push_back(DdeCreateStringHandleA(instance_, topic, CP_WINANSI));
  return DdeConnect(instance_, strings_[strings_.size() - 2], strings_.back(), nullptr);
}

HDDEDATA DdeClient::Execute(HCONV conversation, const std::string& text, DWORD timeoutMs, DWORD* result) {
  std::string data = text;
  return DdeClientTransaction(reinterpret_cast<LPBYTE>(data.data()), static_cast<DWORD>(data.size() + 1),
                              conversation, nullptr, CF_TEXT, XTYP_EXECUTE, timeoutMs, result);
}

ForkedServer::ForkedServer(const std::string& service, Handler handler, std::function<void()> inChild) {
  int ready[2], log[2];
  if (pipe2(ready, O_CLOEXEC) != 0 || pipe2(log, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  child_ = fork();
  if (child_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    close(ready[0]);
    close(log[0]);
    if (inChild) inChild();
    childHandler = &handler;
    childLog = log[1];
    DWORD instance = 0;
    DdeInitializeA(&instance, ChildCallback, CBF_SKIP_CONNECT_CONFIRMS, 0);
    const HSZ name = DdeCreateStringHandleA(instance, service.c_str(), CP_WINANSI);
    const char status = DdeNameService(instance, name, nullptr, DNS_REGISTER) != nullptr ? 'R' : 'F';
    if (write(ready[1], &status, 1) != 1) _exit(2);
    close(ready[1]);
    for (;;) dde::Serve(instance, 1000);
  }
  close(ready[1]);
  close(log[1]);
  log_ = log[0];
  char status = 0;
  if (read(ready[0], &status, 1) != 1 || status != 'R') ADD_FAILURE() << "the test server did not start";
  close(ready[0]);
}

ForkedServer::~ForkedServer() {
  if (child_ > 0) {
    kill(child_, SIGKILL);
    waitpid(child_, nullptr, 0);
  }
  if (log_ >= 0) close(log_);
}

std::vector<std::string> ForkedServer::Received() {
  kill(child_, SIGKILL);
  waitpid(child_, nullptr, 0);
  child_ = -1;
  std::string log;
  ReadAll(log_, &log);
  std::vector<std::string> executes;
  for (std::size_t pos = 0; pos + 4 <= log.size();) {
    std::uint32_t length;
    log.copy(reinterpret_cast<char*>(&length), 4, pos);
    executes.push_back(log.substr(pos + 4, length));
    pos += 4 + length;
  }
  return executes;
}

ProgmanServer::ProgmanServer(const std::vector<std::string>& args) {
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  child_ = fork();
  if (child_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    ExecProgman(args, out[1], false);
  }
  close(out[1]);
  // It prints one line once it serves, or ends.
  std::string line;
  char c;
  while (line.find('\n') == std::string::npos && read(out[0], &c, 1) == 1) line += c;
  output_ = out[0];
  serving_ = line == "progman: serving PROGMAN\n";
  if (!serving_) ADD_FAILURE() << "progman did not start: " << line;
}

ProgmanServer::~ProgmanServer() {
  if (child_ > 0) Terminate();
}

int ProgmanServer::Terminate() {
  kill(child_, SIGTERM);
  int status = 0;
  waitpid(child_, &status, 0);
  child_ = -1;
  close(output_);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunProgman(const std::vector<std::string>& args, std::string* output) {
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  const pid_t child = fork();
  if (child == 0) ExecProgman(args, out[1], true);
  close(out[1]);
  std::string text;
  ReadAll(out[0], &text);
  close(out[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (output != nullptr) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace vorn::testing
