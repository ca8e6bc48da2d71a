// Our SZDD streams against independent implementations (Debian packages): they
// expand byte for byte with msexpand and with libmspack, and mscompress's streams
// expand byte for byte with our expander. Each test skips where its peer is missing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#if VORN_HAVE_LIBMSPACK
#include <mspack.h>
#endif

#include "platform/lz/memory_io.h"
#include "tests/peer/szdd_inputs.h"
#include "tools/szdd/encoder.h"

namespace vorn {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

bool OnPath(const char* program) {
  return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string OurStream(const std::string& data) {
  const szdd::EncodeResult result = szdd::Encode("input", reinterpret_cast<const unsigned char*>(data.data()), data.size());
  EXPECT_TRUE(result.ok()) << result.error;
  return std::string(result.stream.begin(), result.stream.end());
}

class PeerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vorn-szdd-peer-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  std::string dir_;
};

TEST_F(PeerTest, MsexpandExpandsOurStreams) {
  if (!OnPath("msexpand")) GTEST_SKIP() << "msexpand is not installed (Debian package mscompress)";
  for (const auto& input : testing::SzddInputs()) {
    WriteFile(Path("stream"), OurStream(input.data));
    // msexpand reads to the end of its input and ignores the declared length, so
    // this also shows that our streams end with their last item.
    ASSERT_EQ(std::system(("msexpand < '" + Path("stream") + "' > '" + Path("out") + "'").c_str()), 0) << input.name;
    EXPECT_EQ(ReadFile(Path("out")), input.data) << input.name;
  }
}

TEST_F(PeerTest, LibmspackExpandsOurStreams) {
#if VORN_HAVE_LIBMSPACK
  msszdd_decompressor* decompressor = mspack_create_szdd_decompressor(nullptr);
  ASSERT_NE(decompressor, nullptr);
  for (const auto& input : testing::SzddInputs()) {
    WriteFile(Path("stream"), OurStream(input.data));
    EXPECT_EQ(decompressor->decompress(decompressor, Path("stream").c_str(), Path("out").c_str()), MSPACK_ERR_OK)
        << input.name;
    EXPECT_EQ(ReadFile(Path("out")), input.data) << input.name;
  }
  mspack_destroy_szdd_decompressor(decompressor);
#else
  GTEST_SKIP() << "libmspack was not found when this was built (Debian package libmspack-dev)";
#endif
}


TEST_F(PeerTest, OurExpanderExpandsMscompressStreams) {
  if (!OnPath("mscompress")) GTEST_SKIP() << "mscompress is not installed (Debian package mscompress)";
  for (const auto& input : testing::SzddInputs()) {
    // mscompress writes wrong data for files shorter than 16 bytes.
    if (input.data.size() < 16) continue;
    WriteFile(Path("in"), input.data);
    std::remove(Path("in_").c_str());
    ASSERT_EQ(std::system(("mscompress '" + Path("in") + "'").c_str()), 0) << input.name;
    const std::string stream = ReadFile(Path("in_"));
    lz::Header header;
    ASSERT_TRUE(lz::ParseHeader(reinterpret_cast<const unsigned char*>(stream.data()), stream.size(), &header))
        << input.name;
    EXPECT_EQ(header.length, input.data.size()) << input.name;
    const std::string data = stream.substr(lz::kHeaderSize);
    lz::MemoryIo io(data);
    EXPECT_EQ(lz::ExpandModeA(io, header.length, nullptr), lz::Status::Ok) << input.name;
    EXPECT_EQ(io.output, input.data) << input.name;
  }
}

}  // namespace
}  // namespace vorn
