// Expansion from memory into memory: the I/O of the image builder's checks, the
// tests and the benchmarks.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/lz/szdd.h"

namespace vorn::lz {

class MemoryIo : public Io {
 public:
  // Reads hand out at most readSize bytes at a time, so that tests reach every
  // refill of the expander.
  explicit MemoryIo(std::string_view input, std::size_t readSize = SIZE_MAX) : input_(input), readSize_(readSize) {}

  long Read(unsigned char* buffer, std::size_t size) override {
    const std::size_t n = std::min({size, readSize_, input_.size() - pos_});
    std::memcpy(buffer, input_.data() + pos_, n);
    pos_ += n;
    return static_cast<long>(n);
  }
  bool Write(const unsigned char* buffer, std::size_t size) override {
    output.append(reinterpret_cast<const char*>(buffer), size);
    return true;
  }

  std::string output;

 private:
  std::string_view input_;  // the caller keeps the input alive
  std::size_t readSize_;
  std::size_t pos_ = 0;
};

}  // namespace vorn::lz
