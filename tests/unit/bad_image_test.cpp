// Damaged installer images: each ends with its message, and the run is rolled back.
#include <gtest/gtest.h>

#include "engine/payload.h"
#include "tests/support/engine_fixture.h"

namespace vorn::testing {
namespace {

class BadImageTest : public EngineTest {
 protected:
  // Runs the image as the controller would (rolling back on failure) and returns the
  // error captions shown.
  std::vector<std::string> Run(const std::string& bytes, bool stampItsSum = false) {
    TearDown();
    SetUp();
    UseImage(bytes);
    if (!stampItsSum) checksumStamp.value = static_cast<std::uint32_t>(ImageSum(PackageImage().Bytes()));
    const StepResult result = RunScan();
    if (result != Done) RollbackInstall();
    EXPECT_NE(result, Done);
    EXPECT_FALSE(Exists("c:\\vorn"));
    EXPECT_FALSE(Exists("c:\\windows\\temp\\vorn.tmp"));
    return Captions();
  }
};

using Texts = std::vector<std::string>;
const char* const kCorrupt = "Vorn Installation Error [13]";
const char* const kShort = "Vorn Installation Error [5] [LZERROR_READ]";

TEST_F(BadImageTest, TruncatedAtEveryStreamBoundary) {
  const TestImage image = PackageImage();
  std::size_t boundary = image.head.size();
  for (std::size_t k = 0; k < image.chunks.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(Run(image.Bytes().substr(0, boundary)), Texts{kCorrupt});
    boundary += image.chunks[k].size();
  }
}

TEST_F(BadImageTest, TruncatedInsideAStream) {
  const TestImage image = PackageImage();
  const std::size_t start = image.head.size() + image.chunks[0].size() + image.chunks[1].size();
  // Inside the header the stream is no SZDD file and is copied as it stands; inside
  // its data it is short.
  for (std::size_t cut : {start + 6, start + 20, start + image.chunks[2].size() / 2}) {
    SCOPED_TRACE(cut - start);
    const Texts captions = Run(image.Bytes().substr(0, cut));
    ASSERT_EQ(captions.size(), 1u);
    EXPECT_TRUE(captions[0] == kCorrupt || captions[0] == kShort) << captions[0];
  }
}

TEST_F(BadImageTest, DamagedStreams) {
  struct Case {
    const char* name;
    std::string stream;
    const char* caption;
  } cases[] = {
      // Twelve streams: the last has no manifest entry, and its empty destination
      // path cannot be opened.
      {"extra signature inside", LiteralStream("first half ") + LiteralStream("second half"),
       "Vorn Installation Error [4]"},
      {"unknown mode", LiteralStream("data", 'Z', 4), "Vorn Installation Error [5] [LZERROR_UNKNOWNALG]"},
      {"declares 4 GiB", LiteralStream("data", 'A', 0xFFFFFFFFu), "Vorn Installation Error [5] [LZERROR_BADVALUE]"},
      {"declares more than it holds", LiteralStream("data", 'A', 100000), kShort},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestImage image = PackageImage();
    image.chunks[4] = c.stream;
    EXPECT_EQ(Run(image.Bytes()), Texts{c.caption});
  }
}

TEST_F(BadImageTest, NoPayloadAtAll) {
  EXPECT_EQ(Run(""), Texts{kCorrupt});
  EXPECT_EQ(Run(std::string(50000, 'h')), Texts{kCorrupt});
}

}  // namespace
}  // namespace vorn::testing
