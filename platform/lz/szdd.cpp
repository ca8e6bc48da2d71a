// The SZDD expander: a 4096-byte ring that starts out as spaces, a control byte per
// eight items (lowest bit first; 1 a literal, 0 a two-byte back reference).
#include "platform/lz/szdd.h"

#include <cstring>
#include <memory>

namespace vorn::lz {

namespace {

// The magic, each byte masked, so that no constant of the program holds the four
// signature bytes next to each other; volatile keeps the compiler from folding it.
constexpr unsigned char kMask = 0xA5;
const volatile unsigned char kMaskedMagic[8] = {0x53 ^ kMask, 0x5A ^ kMask, 0x44 ^ kMask, 0x44 ^ kMask,
                                                0x88 ^ kMask, 0xF0 ^ kMask, 0x27 ^ kMask, 0x33 ^ kMask};

constexpr std::size_t kInputBuffer = 16384;
// The most input one group of eight items takes: the control byte and eight matches.
constexpr std::size_t kMaxGroupInput = 1 + 8 * 2;
// The most output one group gives: eight matches of 18.
constexpr std::size_t kMaxGroupOutput = 8 * 18;

// The output is written into a linear buffer whose first kWindowSize bytes are the
// history: the window is the last 4096 bytes written, and a back reference is read
// at its distance behind the write position, which the ring position gives. Before
// anything is written, the history is the spaces the ring starts with.
class Expander {
 public:
  Expander(Io& io, std::uint32_t length) : io_(io), remaining_(length) { std::memset(out_, ' ', kWindowSize); }

  Status Run() {
    while (remaining_ > 0) {
      if (Status s = EnsureInput(); s != Status::Ok) return s;
      const bool roomy = inEnd_ - inPos_ >= kMaxGroupInput && remaining_ >= kMaxGroupOutput;
      const Status group = roomy ? FastGroup() : CheckedGroup();
      if (group != Status::Ok) return group;
      if (pos_ > kWindowSize + kBlock && !Flush()) return Status::WriteError;
    }
    return Flush() ? Status::Ok : Status::WriteError;
  }

  std::uint64_t written() const { return written_; }

 private:
  static constexpr std::size_t kBlock = 65536;
  static constexpr std::size_t kSlack = kMaxGroupOutput + 16;  // chunked copies may run past a match's end

  // Keeps at least one whole group buffered unless the input ends first.
  Status EnsureInput() {
    if (inEnd_ - inPos_ >= kMaxGroupInput || atEnd_) return Status::Ok;
    std::memmove(input_, input_ + inPos_, inEnd_ - inPos_);
    inEnd_ -= inPos_;
    inPos_ = 0;
    while (inEnd_ < kInputBuffer && !atEnd_) {
      const long n = io_.Read(input_ + inEnd_, kInputBuffer - inEnd_);
      if (n < 0) return Status::ReadError;
      if (n == 0) atEnd_ = true;
      inEnd_ += static_cast<std::size_t>(n);
      if (inEnd_ >= kMaxGroupInput) break;
    }
    return Status::Ok;
  }

  // How far behind the write position a reference to a ring position lies: 1 to 4096.
  std::size_t Distance(unsigned position) const {
    const unsigned distance = (ring_ - position) & (kWindowSize - 1);
    return distance == 0 ? kWindowSize : distance;
  }

  // A whole group with room to spare in the input, the output and the length: no
  // per-byte checks.
  Status FastGroup() {
    unsigned control = input_[inPos_++];
    if (control == 0xFF) {
      std::memcpy(out_ + pos_, input_ + inPos_, 8);
      inPos_ += 8;
      Advance(8);
      return Status::Ok;
    }
    for (int item = 0; item < 8; ++item, control >>= 1) {
      if (control & 1) {
        out_[pos_] = input_[inPos_++];
        Advance(1);
        continue;
      }
      const unsigned b0 = input_[inPos_];
      const unsigned b1 = input_[inPos_ + 1];
      inPos_ += 2;
      const std::size_t length = (b1 & 0x0Fu) + 3;
      const std::size_t distance = Distance(b0 | ((b1 & 0xF0u) << 4));
      unsigned char* to = out_ + pos_;
      const unsigned char* from = to - distance;
      if (distance >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + 8, from + 8, 8);
        std::memcpy(to + 16, from + 16, 8);
      } else {
        for (std::size_t i = 0; i < length; ++i) to[i] = from[i];
      }
      Advance(length);
    }
    return Status::Ok;
  }

  // One group near the end of the input or of the declared length, where every
  // byte may be the last.
  Status CheckedGroup() {
    if (inPos_ >= inEnd_) return Status::Truncated;
    unsigned control = input_[inPos_++];
    for (int item = 0; item < 8 && remaining_ > 0; ++item, control >>= 1) {
      if (control & 1) {
        if (inPos_ >= inEnd_) return Status::Truncated;
        out_[pos_] = input_[inPos_++];
        Advance(1);
        continue;
      }
      if (inEnd_ - inPos_ < 2) return Status::Truncated;
      const unsigned b0 = input_[inPos_];
      const unsigned b1 = input_[inPos_ + 1];
      inPos_ += 2;
      std::size_t length = (b1 & 0x0Fu) + 3;
      if (length > remaining_) length = remaining_;
      const std::size_t distance = Distance(b0 | ((b1 & 0xF0u) << 4));
      for (std::size_t i = 0; i < length; ++i) out_[pos_ + i] = out_[pos_ + i - distance];
      Advance(length);
    }
    return Status::Ok;
  }

  void Advance(std::size_t count) {
    pos_ += count;
    ring_ = (ring_ + static_cast<unsigned>(count)) & (kWindowSize - 1);
    remaining_ -= static_cast<std::uint32_t>(count);
  }

  // Writes what follows the history, then keeps the last window as the new history.
  bool Flush() {
    if (pos_ == kWindowSize) return true;
    if (!io_.Write(out_ + kWindowSize, pos_ - kWindowSize)) return false;
    written_ += pos_ - kWindowSize;
    std::memmove(out_, out_ + pos_ - kWindowSize, kWindowSize);
    pos_ = kWindowSize;
    return true;
  }

  Io& io_;
  std::uint32_t remaining_;
  std::uint64_t written_ = 0;
  unsigned ring_ = kFirstWritePos;
  unsigned char input_[kInputBuffer];
  std::size_t inPos_ = 0;
  std::size_t inEnd_ = 0;
  bool atEnd_ = false;
  unsigned char out_[kWindowSize + kBlock + kMaxGroupOutput + kSlack];
  std::size_t pos_ = kWindowSize;
};

}  // namespace

void Magic(unsigned char out[8]) {
  for (int i = 0; i < 8; ++i) out[i] = static_cast<unsigned char>(kMaskedMagic[i] ^ kMask);
}

bool ParseHeader(const unsigned char* bytes, std::size_t size, Header* header) {
  if (size < kHeaderSize) return false;
  unsigned char magic[8];
  Magic(magic);
  if (std::memcmp(bytes, magic, sizeof magic) != 0) return false;
  header->mode = bytes[8];
  header->lastChar = bytes[9];
  header->length = static_cast<std::uint32_t>(bytes[10]) | static_cast<std::uint32_t>(bytes[11]) << 8 |
                   static_cast<std::uint32_t>(bytes[12]) << 16 | static_cast<std::uint32_t>(bytes[13]) << 24;
  return true;
}

Status ExpandModeA(Io& io, std::uint32_t length, std::uint64_t* written) {
  // The buffers are a few pages: keep them off the stack of the caller.
  auto expander = std::make_unique<Expander>(io, length);
  const Status status = expander->Run();
  if (written != nullptr) *written = expander->written();
  return status;
}

}  // namespace vorn::lz
