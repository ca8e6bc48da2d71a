// The parts of the SZDD format (mode "A") that the encoder writes: the header, the
// ring the expander starts from, and the two bytes of a back reference.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vorn::szdd {

constexpr std::size_t kHeaderSize = 14;
constexpr std::size_t kWindowSize = 4096;
constexpr unsigned kFirstWritePos = 0xFF0;
constexpr unsigned kMinMatch = 3;
constexpr unsigned kMaxMatch = 18;
constexpr unsigned char kWindowFill = ' ';

// Appends 53 5A 44 44 88 F0 27 33, mode "A", no replaced character, and the length.
void AppendHeader(std::vector<unsigned char>* out, std::uint32_t length);

// One item of a parse: a literal (length 1) or a back reference of 3 to 18 bytes
// that starts `distance` bytes back (1 to 4096; the ring's initial spaces count).
struct Item {
  std::uint16_t length;
  std::uint16_t distance;
};

// The ring position a back reference names, for data offset `at`.
inline unsigned RingPosition(std::size_t at, unsigned distance) {
  return static_cast<unsigned>(kFirstWritePos + at - distance) & (kWindowSize - 1);
}
inline unsigned char MatchByte0(unsigned position) { return static_cast<unsigned char>(position & 0xFF); }
inline unsigned char MatchByte1(unsigned position, unsigned length) {
  return static_cast<unsigned char>(((position >> 4) & 0xF0) | (length - kMinMatch));
}

// The data as the expander sees it: the 4096 spaces the ring starts with, then the
// data, so that a back reference is a plain distance into one buffer.
class Text {
 public:
  Text(const unsigned char* data, std::size_t size);
  std::size_t size() const { return size_; }
  // Data offset i; the 4096 bytes before at(0) are the initial spaces.
  const unsigned char* at(std::size_t i) const { return bytes_.data() + kWindowSize + i; }
  const unsigned char* whole() const { return bytes_.data(); }
  std::size_t wholeSize() const { return bytes_.size(); }

 private:
  std::vector<unsigned char> bytes_;
  std::size_t size_;
};

}  // namespace vorn::szdd
