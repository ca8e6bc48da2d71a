// The SZDD format, mode "A": the header and a streaming expander whose I/O is
// injected, so the service, the image builder, tests and fuzzers share one decoder.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vorn::lz {

// 53 5A 44 44 88 F0 27 33, assembled at run time: the four signature bytes must not
// stand together anywhere in the installer's own file.
void Magic(unsigned char out[8]);
constexpr std::size_t kHeaderSize = 14;
constexpr std::size_t kWindowSize = 4096;
constexpr unsigned kFirstWritePos = 0xFF0;
constexpr unsigned char kModeA = 0x41;

struct Header {
  unsigned char mode = 0;
  unsigned char lastChar = 0;
  std::uint32_t length = 0;
};
// Reads a header from the first kHeaderSize bytes; false when the magic differs.
bool ParseHeader(const unsigned char* bytes, std::size_t size, Header* header);

class Io {
 public:
  virtual ~Io() = default;
  // Up to size bytes into buffer: the count read, 0 at the end, negative on error.
  virtual long Read(unsigned char* buffer, std::size_t size) = 0;
  // All size bytes, or false.
  virtual bool Write(const unsigned char* buffer, std::size_t size) = 0;
};

enum class Status { Ok, Truncated, ReadError, WriteError };

// Expands mode "A" data (the bytes after the header) until exactly `length` bytes
// have been written; what follows them is ignored. Memory is the window and fixed
// buffers, whatever the length.
Status ExpandModeA(Io& io, std::uint32_t length, std::uint64_t* written);

}  // namespace vorn::lz
