// The LZ expansion service: exact declared lengths, plain copies, and every failure
// reported as the error it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/files/faults.h"
#include "platform/files/files.h"
#include "platform/lz/memory_io.h"
#include "platform/win32.h"
#include "tests/support/test_image.h"
#include "tests/support/test_prefix.h"

namespace vorn {
namespace {

using lz::MemoryIo;
using testing::LiteralStream;
using testing::TestPrefix;


TEST(SzddExpander, BackReferencesReachTheInitialSpacesAndOverlap) {
  // Literal 'a', then a match of 18 at 0xFF0 (the 'a' just written, overlapping
  // itself), then a match of 3 at 0x100 (spaces the ring started with).
  const std::string data = std::string("\x01", 1) + "a" + std::string("\xF0\xFF", 2) + std::string("\x00\x10", 2);
  MemoryIo io(data, 5);  // short reads reach every refill
  ASSERT_EQ(lz::ExpandModeA(io, 1 + 18 + 3, nullptr), lz::Status::Ok);
  EXPECT_EQ(io.output, std::string(19, 'a') + "   ");
}

TEST(SzddExpander, StopsAtTheDeclaredLengthAndReportsShortData) {
  const std::string followedByJunk = LiteralStream("0123456789").substr(lz::kHeaderSize) + "junk after the stream";
  MemoryIo exact(followedByJunk);
  std::uint64_t written = 0;
  ASSERT_EQ(lz::ExpandModeA(exact, 7, &written), lz::Status::Ok);
  EXPECT_EQ(exact.output, "0123456");
  EXPECT_EQ(written, 7u);

  for (std::size_t cut = 0; cut < 11; ++cut) {
    const std::string cutShort = LiteralStream("0123456789").substr(lz::kHeaderSize, cut);
    MemoryIo shortData(cutShort, 64);
    EXPECT_EQ(lz::ExpandModeA(shortData, 10, nullptr), lz::Status::Truncated) << cut;
  }
  MemoryIo huge("");
  EXPECT_EQ(lz::ExpandModeA(huge, 0xFFFFFFFFu, nullptr), lz::Status::Truncated);
}

class LzServiceTest : public ::testing::Test {
 protected:
  TestPrefix prefix;
  void Put(const std::string& name, const std::string& bytes) {
    TestPrefix::WriteFile(prefix.root() + "/drive_c/" + name, bytes);
  }
  std::string Get(const std::string& name) { return TestPrefix::ReadFile(prefix.root() + "/drive_c/" + name); }
  LONG Copy(const char* source, const char* destination) {
    OFSTRUCT in, out;
    in.cBytes = out.cBytes = 136;
    const INT s = LZOpenFileA(const_cast<LPSTR>(source), &in, OF_READ);
    if (s == -1) return 1000;
    const INT d = LZOpenFileA(const_cast<LPSTR>(destination), &out, OF_CREATE);
    if (d == -1) {
      LZClose(s);
      return 2000;
    }
    const LONG result = LZCopy(s, d);
    LZClose(s);
    LZClose(d);
    return result;
  }
};

TEST_F(LzServiceTest, ExpandsCompressedAndCopiesPlainFiles) {
  const std::string text = "settings=1\r\n" + std::string(5000, 'x');
  Put("packed", LiteralStream(text) + std::string(3, '\0') + "fill");
  EXPECT_EQ(Copy("c:\\packed", "c:\\out"), static_cast<LONG>(text.size()));
  EXPECT_EQ(Get("out"), text);

  Put("plain.ini", "[vorn]\nnick=me\n");
  EXPECT_EQ(Copy("c:\\PLAIN.INI", "c:\\copy.ini"), 15);
  EXPECT_EQ(Get("copy.ini"), "[vorn]\nnick=me\n");
  Put("empty", "");
  EXPECT_EQ(Copy("c:\\empty", "c:\\empty2"), 0);
}

TEST_F(LzServiceTest, ReportsEachFailureAsItsError) {
  Put("truncated", LiteralStream("0123456789").substr(0, 20));
  EXPECT_EQ(Copy("c:\\truncated", "c:\\out1"), LZERROR_READ);
  Put("unknown", LiteralStream("0123456789", 'B', 10));
  EXPECT_EQ(Copy("c:\\unknown", "c:\\out2"), LZERROR_UNKNOWNALG);
  Put("fourgig", LiteralStream("0123456789", 'A', 0xFFFFFFFFu));
  EXPECT_EQ(Copy("c:\\fourgig", "c:\\out3"), LZERROR_BADVALUE);
  EXPECT_EQ(Get("out3"), "");  // refused before anything was written
  EXPECT_EQ(Copy("c:\\missing", "c:\\out4"), 1000);

  EXPECT_EQ(LZCopy(12345, 1), LZERROR_BADINHANDLE);
  OFSTRUCT record;
  Put("src", "abc");
  const INT s = LZOpenFileA(const_cast<LPSTR>("c:\\src"), &record, OF_READ);
  EXPECT_EQ(LZCopy(s, 12345), LZERROR_BADOUTHANDLE);
  LZClose(s);
}

TEST_F(LzServiceTest, AFullDiskIsAWriteError) {
  Put("packed", LiteralStream(std::string(200000, 'q')));  // several blocks of output
  faults::Arm(faults::Op::Write, 2, Error::DiskFull);
  EXPECT_EQ(Copy("c:\\packed", "c:\\out"), LZERROR_WRITE);
  faults::Clear();
  faults::Arm(faults::Op::Read, 1, Error::ReadFault);
  EXPECT_EQ(Copy("c:\\packed", "c:\\out"), 1000);  // the header cannot be read: the open fails
  faults::Clear();
  faults::Arm(faults::Op::Read, 2, Error::ReadFault);
  EXPECT_EQ(Copy("c:\\packed", "c:\\out"), LZERROR_READ);
}

TEST_F(LzServiceTest, CreatingOverAReadOnlyFileFails) {
  Put("src", "abc");
  Put("ro", "old");
  ASSERT_EQ(files::SetReadOnly("c:\\ro", true), Error::None);
  EXPECT_EQ(Copy("c:\\src", "c:\\ro"), 2000);
  EXPECT_EQ(Get("ro"), "old");
}

}  // namespace
}  // namespace vorn
