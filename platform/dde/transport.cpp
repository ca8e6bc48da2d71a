// The runtime directory, service sockets, peer credentials and deadline-bound I/O.
#include "platform/dde/transport.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <optional>

#include "platform/dde/testing.h"

namespace vorn::dde {

namespace {

std::optional<uid_t> peerUidOverride;

Error FromErrno(int error) {
  switch (error) {
    case ENOENT:
    case ECONNREFUSED: return Error::NotFound;
    case EACCES:
    case EPERM: return Error::AccessDenied;
    case ENAMETOOLONG: return Error::NameTooLong;
    case ENOMEM:
    case ENOBUFS: return Error::OutOfMemory;
    default: return Error::Unsupported;
  }
}

bool MakeAddress(const std::string& path, sockaddr_un* address) {
  *address = {};
  address->sun_family = AF_UNIX;
  if (path.size() >= sizeof address->sun_path) return false;
  path.copy(address->sun_path, path.size());
  return true;
}

// Waits until the descriptor is ready for the events or the deadline passes.
bool WaitFor(int fd, short events, long long deadlineMs) {
  for (;;) {
    const long long left = deadlineMs - NowMs();
    if (left <= 0) return false;
    pollfd p{fd, events, 0};
    const int n = poll(&p, 1, static_cast<int>(left));
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) return false;
  }
}

}  // namespace

namespace testing {
void SetPeerUid(uid_t uid) { peerUidOverride = uid; }
void ClearPeerUid() { peerUidOverride.reset(); }
}  // namespace testing

Error RuntimeDirectory(std::string* dir) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') {
    *dir = std::string(runtime) + "/vorn-dde";
  } else {
    *dir = "/tmp/vorn-dde-" + std::to_string(geteuid());
  }
  if (mkdir(dir->c_str(), 0700) != 0 && errno != EEXIST) return FromErrno(errno);
  struct stat st;
  if (lstat(dir->c_str(), &st) != 0) return FromErrno(errno);
  if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid() || (st.st_mode & 077) != 0) return Error::AccessDenied;
  return Error::None;
}

Error ServicePath(std::string_view service, std::string* path) {
  if (service.empty() || service.size() > kMaxName) return Error::InvalidName;
  std::string dir;
  if (Error e = RuntimeDirectory(&dir); e != Error::None) return e;
  static const char kHex[] = "0123456789ABCDEF";
  std::string name;
  for (unsigned char c : service) {
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_') {
      name += static_cast<char>(c);
    } else {
      name += '%';
      name += kHex[c >> 4];
      name += kHex[c & 15];
    }
  }
  *path = dir + "/" + name;
  sockaddr_un address;
  return MakeAddress(*path + ".lock", &address) ? Error::None : Error::NameTooLong;
}

Error Listen(std::string_view service, Listener* listener) {
  std::string path;
  if (Error e = ServicePath(service, &path); e != Error::None) return e;
  const int lockFd = open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lockFd < 0) return FromErrno(errno);
  if (flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
    close(lockFd);
    return Error::Exists;
  }
  // Holding the lock, a socket file left by a server that died is ours to replace.
  unlink(path.c_str());
  sockaddr_un address;
  MakeAddress(path, &address);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 16) != 0) {
    const Error e = FromErrno(errno);
    if (fd >= 0) close(fd);
    close(lockFd);
    return e;
  }
  *listener = {fd, lockFd, path};
  return Error::None;
}

void Close(Listener* listener) {
  if (listener->fd < 0) return;
  unlink(listener->path.c_str());
  close(listener->fd);
  close(listener->lockFd);
  *listener = {};
}

Error ConnectTo(std::string_view service, int timeoutMs, int* fd) {
  std::string path;
  if (Error e = ServicePath(service, &path); e != Error::None) return e;
  sockaddr_un address;
  MakeAddress(path, &address);
  const int s = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (s < 0) return FromErrno(errno);
  const long long deadline = NowMs() + timeoutMs;
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    int error = errno;
    if (error == EINPROGRESS && WaitFor(s, POLLOUT, deadline)) {
      socklen_t size = sizeof error;
      getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &size);
    }
    if (error != 0) {
      close(s);
      // A full backlog is a server too busy to answer: as good as none.
      return error == EAGAIN || error == EINPROGRESS ? Error::NotFound : FromErrno(error);
    }
  }
  if (!PeerIsOurUser(s)) {
    close(s);
    return Error::AccessDenied;
  }
  *fd = s;
  return Error::None;
}

bool PeerIsOurUser(int fd) {
  ucred credentials{};
  socklen_t size = sizeof credentials;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 || size != sizeof credentials) return false;
  const uid_t peer = peerUidOverride ? *peerUidOverride : credentials.uid;
  return peer == geteuid();
}

long long NowMs() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

bool SendAll(int fd, const Bytes& bytes, long long deadlineMs) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!WaitFor(fd, POLLOUT, deadlineMs)) return false;
    } else {
      return false;
    }
  }
  return true;
}

Receive ReceiveFrame(int fd, FrameDecoder* decoder, long long deadlineMs, Frame* frame) {
  for (;;) {
    switch (decoder->Next(frame)) {
      case FrameDecoder::Status::Frame: return Receive::Frame;
      case FrameDecoder::Status::Malformed: return Receive::Closed;
      case FrameDecoder::Status::NeedMore: break;
    }
    std::uint8_t buffer[4096];
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n > 0) {
      decoder->Feed(buffer, static_cast<std::size_t>(n));
    } else if (n == 0) {
      return Receive::Closed;
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (!WaitFor(fd, POLLIN, deadlineMs)) return NowMs() >= deadlineMs ? Receive::Timeout : Receive::Closed;
    } else if (errno != EINTR) {
      return Receive::Closed;
    }
  }
}

}  // namespace vorn::dde
