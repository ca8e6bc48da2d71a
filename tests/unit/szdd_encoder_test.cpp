// The image builder's SZDD encoder: its streams expand to their data through our
// expander, never show the installer's scanner a signature after their own, leave
// its matcher at 0, and it refuses exactly the data that no encoding can carry.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/lz/memory_io.h"
#include "tools/szdd/encoder.h"
#include "tools/szdd/format.h"
#include "tools/szdd/signature.h"
#include "tests/peer/szdd_inputs.h"

namespace vorn {
namespace {


szdd::EncodeResult Encode(const std::string& data) {
  return szdd::Encode("file.bin", reinterpret_cast<const unsigned char*>(data.data()), data.size());
}

std::string Expand(const std::vector<unsigned char>& stream) {
  lz::Header header;
  EXPECT_TRUE(lz::ParseHeader(stream.data(), stream.size(), &header));
  const std::string data(stream.begin() + lz::kHeaderSize, stream.end());
  lz::MemoryIo io(data);
  EXPECT_EQ(lz::ExpandModeA(io, header.length, nullptr), lz::Status::Ok);
  return io.output;
}

int MatchStateAtEnd(const std::vector<unsigned char>& bytes) {
  int state = 0;
  for (unsigned char b : bytes) {
    state = szdd::NextMatchState(state, b);
    if (state == szdd::kSignatureMatched) state = 0;
  }
  return state;
}

TEST(SzddEncoder, StreamsExpandToTheirDataAndHideTheSignature) {
  std::vector<unsigned char> joined;
  std::vector<std::uint64_t> starts;
  for (const auto& c : testing::SzddInputs()) {
    SCOPED_TRACE(c.name);
    const szdd::EncodeResult result = Encode(c.data);
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(Expand(result.stream), c.data);
    EXPECT_EQ(szdd::FindSignatures(result.stream.data(), result.stream.size()), std::vector<std::uint64_t>{0});
    EXPECT_EQ(MatchStateAtEnd(result.stream), 0);
    EXPECT_EQ(Encode(c.data).stream, result.stream) << "not deterministic";
    starts.push_back(joined.size());
    joined.insert(joined.end(), result.stream.begin(), result.stream.end());
  }
  // Appended with no fill, as in an image: the scanner sees each stream start.
  EXPECT_EQ(szdd::FindSignatures(joined.data(), joined.size()), starts);
}

TEST(SzddEncoder, EveryShortLengthRoundTrips) {
  for (std::size_t size = 0; size <= 40; ++size) {
    const std::string data = testing::RandomBytes(size, static_cast<unsigned>(size), "abc xyz");
    const szdd::EncodeResult result = Encode(data);
    ASSERT_TRUE(result.ok()) << size;
    EXPECT_EQ(Expand(result.stream), data) << size;
  }
}

TEST(SzddEncoder, HeaderDeclaresModeAAndTheLength) {
  const szdd::EncodeResult result = Encode(std::string(70000, 'a'));
  ASSERT_GE(result.stream.size(), lz::kHeaderSize);
  const std::vector<unsigned char> header(result.stream.begin(), result.stream.begin() + lz::kHeaderSize);
  EXPECT_EQ(header, (std::vector<unsigned char>{0x53, 0x5A, 0x44, 0x44, 0x88, 0xF0, 0x27, 0x33, 0x41, 0x00, 0x70,
                                                0x11, 0x01, 0x00}));
}

TEST(SzddEncoder, SpacesComeFromTheInitialRing) {
  // Eighteen spaces are one back reference into the ring's initial spaces: a
  // control byte with its first bit clear, and two bytes.
  const szdd::EncodeResult result = Encode(std::string(18, ' '));
  ASSERT_EQ(result.stream.size(), lz::kHeaderSize + 3);
  EXPECT_EQ(result.stream[lz::kHeaderSize] & 1, 0);
}

TEST(SzddEncoder, RefusesDataNoEncodingCanCarry) {
  const struct {
    std::string data;
    const char* offset;
  } cases[] = {
      {"SZDD and more", "offset 0"},  // the first bytes must be literals, side by side
      {"aSZDD", "offset 1"},
      {"abcS", "offset 3"},  // a last 'S' that only a literal can give ends the stream in a partial signature
  };
  for (const auto& c : cases) {
    const szdd::EncodeResult result = Encode(c.data);
    EXPECT_FALSE(result.ok()) << c.data;
    EXPECT_TRUE(result.stream.empty());
    EXPECT_NE(result.error.find("file.bin"), std::string::npos) << result.error;
    EXPECT_NE(result.error.find(c.offset), std::string::npos) << result.error;
  }
}

// Whether any parse of `data` (literals, and back references within the data,
// which holds no spaces) gives a stream the scanner reads cleanly.
class ExhaustiveSearch {
 public:
  explicit ExhaustiveSearch(const std::string& data) : data_(data) {}
  bool CleanEncodingExists() { return Search(0); }

 private:
  bool Search(std::size_t at) {
    if (at == data_.size()) return Clean();
    items_.push_back({1, 0});
    if (Search(at + 1)) return true;
    items_.pop_back();
    for (unsigned d = 1; d <= at; ++d) {
      std::size_t longest = 0;
      while (at + longest < data_.size() && longest < szdd::kMaxMatch && data_[at + longest] == data_[at + longest - d]) {
        ++longest;
      }
      for (std::size_t length = szdd::kMinMatch; length <= longest; ++length) {
        items_.push_back({static_cast<std::uint16_t>(length), static_cast<std::uint16_t>(d)});
        if (Search(at + length)) return true;
        items_.pop_back();
      }
    }
    return false;
  }

  bool Clean() const {
    std::vector<unsigned char> out;
    szdd::AppendHeader(&out, static_cast<std::uint32_t>(data_.size()));
    std::size_t at = 0;
    for (std::size_t g = 0; g < items_.size(); g += 8) {
      const std::size_t control = out.size();
      out.push_back(0);
      for (std::size_t j = g; j < items_.size() && j < g + 8; ++j) {
        if (items_[j].length == 1) {
          out[control] |= static_cast<unsigned char>(1u << (j - g));
          out.push_back(static_cast<unsigned char>(data_[at]));
        } else {
          const unsigned p = szdd::RingPosition(at, items_[j].distance);
          out.push_back(szdd::MatchByte0(p));
          out.push_back(szdd::MatchByte1(p, items_[j].length));
        }
        at += items_[j].length;
      }
    }
    return szdd::FindSignatures(out.data(), out.size()).size() == 1 && MatchStateAtEnd(out) == 0;
  }

  const std::string& data_;
  std::vector<szdd::Item> items_;
};

TEST(SzddEncoder, RefusesExactlyWhereNoEncodingExists) {
  // Every string of up to six bytes over S, Z, D and x.
  const std::string alphabet = "SZDx";
  int refused = 0;
  for (std::size_t size = 1; size <= 6; ++size) {
    std::size_t count = 1;
    for (std::size_t i = 0; i < size; ++i) count *= alphabet.size();
    for (std::size_t n = 0; n < count; ++n) {
      std::string data;
      for (std::size_t i = 0, v = n; i < size; ++i, v /= alphabet.size()) data += alphabet[v % alphabet.size()];
      const szdd::EncodeResult result = Encode(data);
      ASSERT_EQ(result.ok(), ExhaustiveSearch(data).CleanEncodingExists()) << data << ": " << result.error;
      if (result.ok()) {
        EXPECT_EQ(Expand(result.stream), data);
      }
      refused += !result.ok();
    }
  }
  EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace vorn
