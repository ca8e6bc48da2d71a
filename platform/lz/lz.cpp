// LZOpenFileA, LZCopy and LZClose over the files service: SZDD sources are expanded
// to exactly their declared length, other files copied unchanged.
#include <unistd.h>

#include <climits>
#include <cstring>
#include <vector>

#include "platform/api/lz.h"
#include "platform/files/faults.h"
#include "platform/files/files.h"
#include "platform/lz/szdd.h"

namespace vorn::lz {

namespace {

struct Handle {
  bool open = false;
  int fd = -1;
  bool compressed = false;
  Header header;
};

// Handle values are indexes into this table plus one, so -1 and 0 are never given.
std::vector<Handle> handles;

Handle* Lookup(INT value) {
  if (value <= 0 || static_cast<std::size_t>(value) > handles.size()) return nullptr;
  Handle& h = handles[static_cast<std::size_t>(value) - 1];
  return h.open ? &h : nullptr;
}

INT Allocate(const Handle& handle) {
  for (std::size_t i = 0; i < handles.size(); ++i) {
    if (!handles[i].open) {
      handles[i] = handle;
      return static_cast<INT>(i + 1);
    }
  }
  handles.push_back(handle);
  return static_cast<INT>(handles.size());
}

// Reads until the buffer is full or the file ends; negative on a read error.
long ReadFully(int fd, unsigned char* buffer, std::size_t size) {
  std::size_t total = 0;
  while (total < size) {
    if (faults::Check(faults::Op::Read) != Error::None) return -1;
    const ssize_t n = ::read(fd, buffer + total, size - total);
    if (n < 0) return -1;
    if (n == 0) break;
    total += static_cast<std::size_t>(n);
  }
  return static_cast<long>(total);
}

class FdIo : public Io {
 public:
  FdIo(int in, int out) : in_(in), out_(out) {}

  long Read(unsigned char* buffer, std::size_t size) override {
    if (faults::Check(faults::Op::Read) != Error::None) return -1;
    const ssize_t n = ::read(in_, buffer, size);
    return n < 0 ? -1 : static_cast<long>(n);
  }

  bool Write(const unsigned char* buffer, std::size_t size) override {
    while (size > 0) {
      if (faults::Check(faults::Op::Write) != Error::None) return false;
      const ssize_t n = ::write(out_, buffer, size);
      if (n <= 0) return false;
      buffer += n;
      size -= static_cast<std::size_t>(n);
    }
    return true;
  }

 private:
  int in_;
  int out_;
};

// A plain file is copied as it stands, to its end.
LONG CopyPlain(int in, int out) {
  FdIo io(in, out);
  unsigned char buffer[8192];
  std::uint64_t total = 0;
  for (;;) {
    const long n = io.Read(buffer, sizeof buffer);
    if (n < 0) return LZERROR_READ;
    if (n == 0) break;
    if (!io.Write(buffer, static_cast<std::size_t>(n))) return LZERROR_WRITE;
    total += static_cast<std::uint64_t>(n);
    if (total > static_cast<std::uint64_t>(INT32_MAX)) return LZERROR_BADVALUE;
  }
  return static_cast<LONG>(total);
}

LONG Expand(const Handle& source, int out) {
  if (source.header.mode != kModeA) return LZERROR_UNKNOWNALG;
  // The result is a LONG: a length it cannot report is refused before anything is written.
  if (source.header.length > static_cast<std::uint32_t>(INT32_MAX)) return LZERROR_BADVALUE;
  FdIo io(source.fd, out);
  switch (ExpandModeA(io, source.header.length, nullptr)) {
    case Status::Ok: return static_cast<LONG>(source.header.length);
    case Status::Truncated:
    case Status::ReadError: return LZERROR_READ;
    case Status::WriteError: return LZERROR_WRITE;
  }
  return LZERROR_BADVALUE;
}

void FillOpenRecord(LPOFSTRUCT record, const char* path, Error error) {
  if (record == nullptr) return;
  record->cBytes = sizeof(OFSTRUCT);
  record->nErrCode = static_cast<WORD>(ToWin32Error(error));
  std::strncpy(record->szPathName, path, OFS_MAXPATHNAME - 1);
  record->szPathName[OFS_MAXPATHNAME - 1] = '\0';
}

}  // namespace

}  // namespace vorn::lz

using namespace vorn;
using namespace vorn::lz;

INT WINAPI LZOpenFileA(LPSTR fileName, LPOFSTRUCT openBuf, WORD style) {
  if (fileName == nullptr) return HFILE_ERROR;
  files::OpenMode mode = files::OpenMode::Read;
  if (style & OF_CREATE) mode = files::OpenMode::CreateTruncate;
  else if (style & (OF_WRITE | OF_READWRITE)) mode = files::OpenMode::ReadWrite;

  Handle handle;
  const Error error = files::Open(fileName, mode, &handle.fd);
  FillOpenRecord(openBuf, fileName, error);
  if (error != Error::None) return HFILE_ERROR;
  handle.open = true;

  if (mode == files::OpenMode::Read) {
    unsigned char first[kHeaderSize];
    const long n = ReadFully(handle.fd, first, sizeof first);
    if (n < 0) {
      ::close(handle.fd);
      return HFILE_ERROR;
    }
    handle.compressed = n == static_cast<long>(kHeaderSize) && ParseHeader(first, kHeaderSize, &handle.header);
    if (!handle.compressed && ::lseek(handle.fd, 0, SEEK_SET) != 0) {
      ::close(handle.fd);
      return HFILE_ERROR;
    }
  }
  return Allocate(handle);
}

LONG WINAPI LZCopy(INT source, INT dest) {
  Handle* in = Lookup(source);
  if (in == nullptr) return LZERROR_BADINHANDLE;
  Handle* out = Lookup(dest);
  if (out == nullptr) return LZERROR_BADOUTHANDLE;
  return in->compressed ? Expand(*in, out->fd) : CopyPlain(in->fd, out->fd);
}

void WINAPI LZClose(INT file) {
  Handle* handle = Lookup(file);
  if (handle == nullptr) return;
  ::close(handle->fd);
  handle->open = false;
}
