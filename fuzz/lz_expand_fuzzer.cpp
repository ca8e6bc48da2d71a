// Any bytes as SZDD data after a header: the expander must end, never write more
// than the declared length, and report short data as short.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/lz/szdd.h"

namespace {

class FuzzIo : public vorn::lz::Io {
 public:
  FuzzIo(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  long Read(unsigned char* buffer, std::size_t size) override {
    // Short reads of varying size exercise the refill path.
    std::size_t n = std::min(size, size_ - pos_);
    if (n > 1 + pos_ % 7) n = 1 + pos_ % 7;
    std::memcpy(buffer, data_ + pos_, n);
    pos_ += n;
    return static_cast<long>(n);
  }
  bool Write(const unsigned char*, std::size_t size) override {
    written += size;
    return true;
  }
  std::uint64_t written = 0;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first two bytes choose the declared length, up to 64 KiB, so that a
  // fuzzed header cannot make a run last for gigabytes.
  const std::uint32_t length = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8;
  FuzzIo io(data + 2, size - 2);
  std::uint64_t written = 0;
  const vorn::lz::Status status = vorn::lz::ExpandModeA(io, length, &written);
  if (written != io.written || written > length) std::abort();
  if (status == vorn::lz::Status::Ok && written != length) std::abort();
  return 0;
}
