// PNG writing and reading, and the surface comparison of golden tests.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>

#include "platform/gdi/png.h"
#include "platform/gdi/surface_diff.h"

namespace vorn::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using gdi::Surface;

Surface Gradient(int width, int height) {
  Surface surface;
  surface.Resize(width, height, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) surface.Set(x, y, static_cast<std::uint32_t>(x * 0x010203 + y * 0x302010) & 0xFFFFFF);
  }
  return surface;
}

void PutChunk(Bytes& out, const char* type, const Bytes& body) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(body.size() >> shift));
  Bytes typed(type, type + 4);
  typed.insert(typed.end(), body.begin(), body.end());
  out.insert(out.end(), typed.begin(), typed.end());
  const uLong crc = crc32(0, typed.data(), static_cast<uInt>(typed.size()));
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(crc >> shift));
}

// A PNG of our own making around already filtered rows, split over two IDATs.
Bytes Png(std::uint32_t width, std::uint32_t height, std::uint8_t depth, std::uint8_t colourType,
          std::uint8_t interlace, const Bytes& filtered) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  for (std::uint32_t v : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) header.push_back(static_cast<std::uint8_t>(v >> shift));
  }
  header.insert(header.end(), {depth, colourType, 0, 0, interlace});
  PutChunk(out, "IHDR", header);
  PutChunk(out, "tEXt", Bytes{'a', 0, 'b'});
  uLongf size = compressBound(static_cast<uLong>(filtered.size()));
  Bytes packed(size);
  compress(packed.data(), &size, filtered.data(), static_cast<uLong>(filtered.size()));
  packed.resize(size);
  const std::size_t half = packed.size() / 2;
  PutChunk(out, "IDAT", Bytes(packed.begin(), packed.begin() + half));
  PutChunk(out, "IDAT", Bytes(packed.begin() + half, packed.end()));
  PutChunk(out, "IEND", {});
  return out;
}

// Two RGBA pixels per row, the rows filtered with None, Sub, Up, Average, Paeth.
const Bytes kFilteredRgba = {
    0x00, 0xA5, 0x4D, 0xCA, 0x18, 0x25, 0x30, 0xBB, 0x1D,  //
    0x01, 0x6D, 0x13, 0x2C, 0xDE, 0x69, 0x10, 0x4F, 0x50,  //
    0x02, 0x6C, 0x0B, 0x13, 0x94, 0x49, 0xA8, 0x9E, 0x43,  //
    0x03, 0xAB, 0x35, 0x75, 0x9D, 0x2E, 0xB5, 0x47, 0xB9,  //
    0x04, 0x1D, 0x1C, 0x2A, 0x5B, 0xD7, 0xBE, 0xAB, 0xCD,  //
};
const std::vector<std::uint32_t> kRgbaPixels = {
    0xA54DCA, 0x2530BB, 0x6D132C, 0xD6237B, 0xD91E3F, 0x1FCB19, 0x174494, 0x493C9D, 0x3460BE, 0x201E69,
};

TEST(GdiPng, RoundTripKeepsEveryPixel) {
  const Surface original = Gradient(37, 11);
  const Bytes encoded = gdi::EncodePng(original);
  Surface decoded;
  ASSERT_EQ(gdi::DecodePng(encoded.data(), encoded.size(), &decoded), Error::None);
  EXPECT_EQ(decoded.width, 37);
  EXPECT_EQ(decoded.height, 11);
  EXPECT_EQ(decoded.pixels, original.pixels);
  EXPECT_EQ(gdi::EncodePng(original), encoded) << "the same surface gives the same bytes";
}

TEST(GdiPng, FilesRoundTrip) {
  const std::string path = ::testing::TempDir() + "gdi_png_round_trip.png";
  const Surface original = Gradient(5, 4);
  ASSERT_EQ(gdi::WritePng(original, path), Error::None);
  Surface read;
  ASSERT_EQ(gdi::ReadPng(path, &read), Error::None);
  EXPECT_EQ(read.pixels, original.pixels);
  std::remove(path.c_str());
  EXPECT_EQ(gdi::ReadPng(path, &read), Error::NotFound);
  EXPECT_EQ(gdi::WritePng(original, ::testing::TempDir() + "no/such/dir/x.png"), Error::WriteFault);
}

TEST(GdiPng, ReadsEveryFilterOfAnRgbaImage) {
  const Bytes png = Png(2, 5, 8, 6, 0, kFilteredRgba);
  Surface decoded;
  ASSERT_EQ(gdi::DecodePng(png.data(), png.size(), &decoded), Error::None);
  EXPECT_EQ(decoded.pixels, kRgbaPixels);
}

TEST(GdiPng, RejectsWhatItDoesNotRead) {
  const Bytes rows(1 + 2 * 8, 0);
  struct Case {
    const char* what;
    Bytes png;
    Error error;
  };
  const Case cases[] = {
      {"16-bit", Png(2, 1, 16, 6, 0, Bytes(1 + 2 * 8, 0)), Error::Unsupported},
      {"palette", Png(2, 1, 8, 3, 0, Bytes(1 + 2, 0)), Error::Unsupported},
      {"interlaced", Png(2, 1, 8, 2, 1, Bytes(1 + 2 * 3, 0)), Error::Unsupported},
      {"huge", Png(100000, 100000, 8, 2, 0, Bytes(1, 0)), Error::Unsupported},
      {"zero width", Png(0, 1, 8, 2, 0, Bytes(1, 0)), Error::ReadFault},
      {"too little data", Png(2, 5, 8, 6, 0, Bytes(kFilteredRgba.begin(), kFilteredRgba.end() - 1)), Error::ReadFault},
      {"too much data", Png(2, 4, 8, 6, 0, kFilteredRgba), Error::ReadFault},
      {"unknown filter", Png(2, 1, 8, 2, 0, Bytes{5, 0, 0, 0, 0, 0, 0}), Error::ReadFault},
  };
  for (const Case& c : cases) {
    Surface decoded;
    EXPECT_EQ(gdi::DecodePng(c.png.data(), c.png.size(), &decoded), c.error) << c.what;
  }
}

TEST(GdiPng, CorruptOrTruncatedFilesAreReadFaults) {
  const Bytes good = gdi::EncodePng(Gradient(3, 3));
  Surface decoded;
  for (std::size_t size = 0; size < good.size(); ++size) {
    const Bytes prefix(good.begin(), good.begin() + size);
    EXPECT_EQ(gdi::DecodePng(prefix.data(), prefix.size(), &decoded), Error::ReadFault) << size;
  }
  for (std::size_t at : {std::size_t{0}, std::size_t{16}, good.size() - 20, good.size() - 1}) {
    Bytes bad = good;
    bad[at] ^= 0x01;
    EXPECT_EQ(gdi::DecodePng(bad.data(), bad.size(), &decoded), Error::ReadFault) << at;
  }
}

TEST(GdiSurfaceDiff, MarksDifferingPixels) {
  const Surface expected = Gradient(4, 3);
  Surface actual = expected;
  actual.Set(2, 1, actual.At(2, 1) ^ 1);
  const gdi::SurfaceDiff diff = gdi::DiffSurfaces(expected, actual);
  EXPECT_TRUE(diff.sameSize);
  EXPECT_EQ(diff.differing, 1);
  EXPECT_EQ(diff.image.At(2, 1), 0xFF0000u);
  EXPECT_NE(diff.image.At(1, 1), 0xFF0000u);
  EXPECT_EQ(gdi::DiffSurfaces(expected, expected).differing, 0);
}

TEST(GdiSurfaceDiff, SizesThatDifferAreShown) {
  const gdi::SurfaceDiff diff = gdi::DiffSurfaces(Gradient(4, 3), Gradient(2, 5));
  EXPECT_FALSE(diff.sameSize);
  EXPECT_EQ(diff.differing, 0);
  EXPECT_EQ(diff.image.width, 4);
  EXPECT_EQ(diff.image.height, 5);
  EXPECT_EQ(diff.image.At(3, 4), 0xFF00FFu);
}

TEST(GdiSurfaceDiff, GoldenMismatchWritesActualAndDiff) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(::testing::TempDir()) / "gdi_golden";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string golden = (dir / "bar.png").string();
  const std::string stem = (dir / "bar").string();
  ASSERT_EQ(gdi::WritePng(Gradient(6, 6), golden), Error::None);

  EXPECT_TRUE(gdi::CompareWithGolden(Gradient(6, 6), golden, stem).matches);
  EXPECT_FALSE(fs::exists(stem + ".actual.png"));

  Surface changed = Gradient(6, 6);
  changed.Set(0, 0, 0xABCDEF);
  const gdi::GoldenResult result = gdi::CompareWithGolden(changed, golden, stem);
  EXPECT_FALSE(result.matches);
  EXPECT_NE(result.message.find("1 of 36 pixels differ"), std::string::npos) << result.message;
  Surface written;
  ASSERT_EQ(gdi::ReadPng(stem + ".actual.png", &written), Error::None);
  EXPECT_EQ(written.pixels, changed.pixels);
  ASSERT_EQ(gdi::ReadPng(stem + ".diff.png", &written), Error::None);
  EXPECT_EQ(written.At(0, 0), 0xFF0000u);

  EXPECT_FALSE(gdi::CompareWithGolden(changed, (dir / "missing.png").string(), stem).matches);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vorn::testing
