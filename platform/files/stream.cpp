// Buffered stdio streams over the files service, whose reads and writes pass the
// fault switch, so tests can fail the Nth read or write of a stream or fill the disk.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/files/faults.h"
#include "platform/files/files.h"

namespace vorn::files {

namespace {

struct Cookie {
  int fd;
};

ssize_t CookieRead(void* cookie, char* buffer, size_t size) {
  if (faults::Check(faults::Op::Read) != Error::None) {
    errno = EIO;
    return -1;
  }
  return ::read(static_cast<Cookie*>(cookie)->fd, buffer, size);
}

ssize_t CookieWrite(void* cookie, const char* buffer, size_t size) {
  if (Error e = faults::Check(faults::Op::Write); e != Error::None) {
    errno = e == Error::DiskFull ? ENOSPC : EIO;
    return 0;  // stdio takes 0 as a failed write
  }
  const ssize_t written = ::write(static_cast<Cookie*>(cookie)->fd, buffer, size);
  return written < 0 ? 0 : written;
}

int CookieSeek(void* cookie, off64_t* offset, int whence) {
  const off64_t result = ::lseek64(static_cast<Cookie*>(cookie)->fd, *offset, whence);
  if (result < 0) return -1;
  *offset = result;
  return 0;
}

int CookieClose(void* cookie) {
  Cookie* c = static_cast<Cookie*>(cookie);
  const int result = ::close(c->fd);
  delete c;
  return result;
}

}  // namespace

Error OpenStream(std::string_view winPath, OpenMode mode, std::FILE** stream) {
  int fd = -1;
  if (Error e = Open(winPath, mode, &fd); e != Error::None) return e;
  const char* how = mode == OpenMode::Read ? "rb" : (mode == OpenMode::ReadWrite ? "r+b" : "wb");
  cookie_io_functions_t functions{CookieRead, CookieWrite, CookieSeek, CookieClose};
  Cookie* cookie = new Cookie{fd};
  std::FILE* file = fopencookie(cookie, how, functions);
  if (file == nullptr) {
    ::close(fd);
    delete cookie;
    return SetLast(Error::OutOfMemory);
  }
  *stream = file;
  return Error::None;
}

}  // namespace vorn::files
