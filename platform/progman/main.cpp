// progman: our Program Manager, the DDE server of "PROGMAN".
//
//   progman            serves in the foreground until interrupted
//   progman --daemon   serves in the background; returns once it serves
//   progman --stop     ends the running server
//   progman --status   exits with 0 when a server answers, else 1
//   progman --list     prints the groups and items, as commands
// --no-menu, or VORN_PROGMAN_NO_MENU=1 in the environment, leaves the desktop's menu alone.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/progman/server.h"
#include "platform/progman/store.h"

namespace {

using vorn::progman::Start;

constexpr char kServing = 'S';
constexpr char kAlready = 'A';
constexpr char kFailed = 'F';

int Usage() {
  std::fprintf(stderr, "usage: progman [--daemon | --stop | --status | --list] [--no-menu]\n");
  return 2;
}

int List() {
  vorn::progman::Groups groups;
  std::string why;
  if (!vorn::progman::LoadGroups(vorn::progman::StorePath(), &groups, &why)) {
    std::fprintf(stderr, "progman: %s\n", why.c_str());
    return 1;
  }
  std::fputs(vorn::progman::Describe(groups).c_str(), stdout);
  return 0;
}

int Status() {
  const bool running = vorn::progman::ServerRunning();
  std::printf("progman: %s\n", running ? "serving PROGMAN" : "not running");
  return running ? 0 : 1;
}

int Stop() {
  if (!vorn::progman::StopServer()) std::fprintf(stderr, "progman: not running\n");
  return 0;
}

int Foreground(const vorn::progman::ServerOptions& options) {
  return vorn::progman::RunServer(options, [](Start start, const std::string& reason) {
    if (start == Start::Serving) std::printf("progman: serving PROGMAN\n");
    if (start == Start::AlreadyServing) std::fprintf(stderr, "progman: another progman already serves PROGMAN\n");
    if (start == Start::Failed) std::fprintf(stderr, "progman: %s\n", reason.c_str());
    std::fflush(stdout);
  });
}

// The child reports through a pipe how its start went: one status byte, then the reason.
int Daemon(const vorn::progman::ServerOptions& options) {
  int channel[2];
  if (pipe2(channel, O_CLOEXEC) != 0) {
    std::perror("progman");
    return 1;
  }
  const pid_t child = fork();
  if (child < 0) {
    std::perror("progman");
    return 1;
  }
  if (child == 0) {
    close(channel[0]);
    setsid();
    const int code = vorn::progman::RunServer(options, [&](Start start, const std::string& reason) {
      const char status = start == Start::Serving ? kServing : start == Start::AlreadyServing ? kAlready : kFailed;
      const std::string message = status + reason;
      if (write(channel[1], message.data(), message.size()) < 0) {
        // The parent is gone; nobody is left to tell.
      }
      close(channel[1]);
      if (start == Start::Serving) {
        const int null = open("/dev/null", O_RDWR);
        for (int fd = 0; fd < 3; ++fd) dup2(null, fd);
        if (null > 2) close(null);
        if (chdir("/") != 0) {
          // The server needs no working directory.
        }
      }
    });
    _exit(code);
  }
  close(channel[1]);
  std::string message;
  char buffer[256];
  ssize_t n;
  while ((n = read(channel[0], buffer, sizeof buffer)) != 0) {
    if (n > 0) message.append(buffer, static_cast<std::size_t>(n));
    else if (errno != EINTR) break;
  }
  close(channel[0]);
  if (!message.empty() && message[0] == kServing) return 0;
  if (!message.empty() && message[0] == kAlready) {
    std::fprintf(stderr, "progman: another progman already serves PROGMAN\n");
    return 0;
  }
  std::fprintf(stderr, "progman: %s\n", message.size() > 1 ? message.c_str() + 1 : "the server did not start");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  vorn::progman::ServerOptions options;
  const char* noMenu = std::getenv("VORN_PROGMAN_NO_MENU");
  options.mirrorMenu = noMenu == nullptr || std::strcmp(noMenu, "1") != 0;
  std::string mode;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--no-menu") {
      options.mirrorMenu = false;
    } else if ((arg == "--daemon" || arg == "--stop" || arg == "--status" || arg == "--list") && mode.empty()) {
      mode = arg;
    } else {
      return Usage();
    }
  }
  if (mode == "--list") return List();
  if (mode == "--stop") return Stop();
  if (mode == "--status") return Status();
  if (mode == "--daemon") return Daemon(options);
  return Foreground(options);
}
