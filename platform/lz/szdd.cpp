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

constexpr std::size_t kInputBuffer = 4096;
constexpr std::size_t kOutputBuffer = 16384;
// The most input one group of eight items takes: the control byte and eight matches.
constexpr std::size_t kMaxGroupInput = 1 + 8 * 2;

class Expander {
 public:
  Expander(Io& io, std::uint32_t length) : io_(io), remaining_(length) { std::memset(window_, ' ', sizeof window_); }

  Status Run() {
    while (remaining_ > 0) {
      if (Status s = EnsureInput(); s != Status::Ok) return s;
      const Status group = inEnd_ - inPos_ >= kMaxGroupInput ? ExpandGroup<false>() : ExpandGroup<true>();
      if (group != Status::Ok) return group;
    }
    return Flush() ? Status::Ok : Status::WriteError;
  }

  std::uint64_t written() const { return written_; }

 private:
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

  // One control byte and its items. Checked is the slow path near the end of the
  // input, where every byte may be the last.
  template <bool Checked>
  Status ExpandGroup() {
    if (Checked && inPos_ >= inEnd_) return Status::Truncated;
    unsigned control = input_[inPos_++];
    for (int item = 0; item < 8 && remaining_ > 0; ++item, control >>= 1) {
      if (control & 1) {
        if (Checked && inPos_ >= inEnd_) return Status::Truncated;
        if (!Emit(input_[inPos_++])) return Status::WriteError;
      } else {
        if (Checked && inEnd_ - inPos_ < 2) return Status::Truncated;
        const unsigned b0 = input_[inPos_];
        const unsigned b1 = input_[inPos_ + 1];
        inPos_ += 2;
        const unsigned position = b0 | ((b1 & 0xF0u) << 4);
        const unsigned length = (b1 & 0x0Fu) + 3;
        for (unsigned i = 0; i < length && remaining_ > 0; ++i) {
          if (!Emit(window_[(position + i) & (kWindowSize - 1)])) return Status::WriteError;
        }
      }
    }
    return Status::Ok;
  }

  bool Emit(unsigned char c) {
    window_[ringPos_] = c;
    ringPos_ = (ringPos_ + 1) & (kWindowSize - 1);
    output_[outPos_++] = c;
    remaining_ -= 1;
    return outPos_ < kOutputBuffer || Flush();
  }

  bool Flush() {
    if (outPos_ == 0) return true;
    if (!io_.Write(output_, outPos_)) return false;
    written_ += outPos_;
    outPos_ = 0;
    return true;
  }

  Io& io_;
  std::uint32_t remaining_;
  std::uint64_t written_ = 0;
  unsigned char window_[kWindowSize];
  unsigned ringPos_ = kFirstWritePos;
  unsigned char input_[kInputBuffer];
  std::size_t inPos_ = 0;
  std::size_t inEnd_ = 0;
  bool atEnd_ = false;
  unsigned char output_[kOutputBuffer];
  std::size_t outPos_ = 0;
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
