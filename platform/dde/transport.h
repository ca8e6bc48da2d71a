// Where DDE services live on the host: one Unix-domain socket per service in a
// per-user directory of mode 0700, reachable only by processes of the same user.
#pragma once

#include <string>
#include <string_view>

#include "platform/core/error.h"
#include "platform/dde/frame.h"

namespace vorn::dde {

// $XDG_RUNTIME_DIR/vorn-dde, or /tmp/vorn-dde-<uid> without a runtime directory;
// created with mode 0700 when missing. A directory that is a link, belongs to another
// user or is open to others is refused (AccessDenied).
Error RuntimeDirectory(std::string* dir);

// The socket of a service in the runtime directory. Service names compare ignoring
// case, as DDE names do, so the file name is the lower-cased name with any byte other
// than letters, digits, '-' and '_' written as %XX.
Error ServicePath(std::string_view service, std::string* path);

// A registered service: its listening socket, and the lock that makes this process
// its only server while it lives.
struct Listener {
  int fd = -1;
  int lockFd = -1;
  std::string path;
};

// Exists when another process serves the name.
Error Listen(std::string_view service, Listener* listener);
// Removes the socket, then gives the name up.
void Close(Listener* listener);

// Connects to a service's socket within the timeout; the socket is non-blocking.
// NotFound when nobody serves it; AccessDenied when the server is another user's.
Error ConnectTo(std::string_view service, int timeoutMs, int* fd);

// Whether the process at the other end of a connected socket runs as our user.
bool PeerIsOurUser(int fd);

// A point in time on the monotonic clock, for deadlines of whole operations.
long long NowMs();

// Sends all of the bytes before the deadline; false when the peer is gone or slow.
bool SendAll(int fd, const Bytes& bytes, long long deadlineMs);
// Reads frames until one arrives or the deadline passes. Timeout when the deadline
// passed, Closed when the peer closed or sent a malformed stream.
enum class Receive { Frame, Timeout, Closed };
Receive ReceiveFrame(int fd, FrameDecoder* decoder, long long deadlineMs, Frame* frame);

}  // namespace vorn::dde
