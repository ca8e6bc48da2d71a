// Icon decoding, DrawIcon with its mask, malformed files, and the system icons.
#include <gtest/gtest.h>

#include <functional>

#include "platform/gdi/icon.h"
#include "tests/unit/gdi_canvas.h"

namespace vorn::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutLE(Bytes& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

struct ImageRecipe {
  int width = 32;
  int height = 32;
  int bits = 4;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB
  // A palette index, or for 24 and 32 bits 0xAARRGGBB.
  std::function<std::uint32_t(int x, int y)> value;
  std::function<bool(int x, int y)> transparent = [](int, int) { return false; };
};

// One image as an icon resource stores it: header, colours, XOR rows and AND rows,
// both bottom-up.
Bytes ImageBytes(const ImageRecipe& recipe) {
  Bytes out;
  PutLE(out, 40, 4);
  PutLE(out, recipe.width, 4);
  PutLE(out, recipe.height * 2, 4);
  PutLE(out, 1, 2);
  PutLE(out, recipe.bits, 2);
  PutLE(out, 0, 4);
  for (int i = 0; i < 5; ++i) PutLE(out, i == 3 ? static_cast<std::uint32_t>(recipe.palette.size()) : 0, 4);
  for (std::uint32_t colour : recipe.palette) PutLE(out, colour, 4);  // B, G, R, 0
  const std::size_t xorStride = (recipe.width * recipe.bits + 31) / 32 * 4;
  const std::size_t andStride = (recipe.width + 31) / 32 * 4;
  for (int y = recipe.height - 1; y >= 0; --y) {
    Bytes row(xorStride, 0);
    for (int x = 0; x < recipe.width; ++x) {
      const std::uint32_t v = recipe.value(x, y);
      if (recipe.bits <= 8) {
        const int bit = x * recipe.bits;
        row[bit / 8] |= static_cast<std::uint8_t>(v << (8 - recipe.bits - bit % 8));
      } else {
        for (int b = 0; b < recipe.bits / 8; ++b) row[x * (recipe.bits / 8) + b] = static_cast<std::uint8_t>(v >> (8 * b));
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  for (int y = recipe.height - 1; y >= 0; --y) {
    Bytes row(andStride, 0);
    for (int x = 0; x < recipe.width; ++x) {
      if (recipe.transparent(x, y)) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

Bytes IcoFile(const std::vector<ImageRecipe>& recipes) {
  Bytes out;
  PutLE(out, 0, 2);
  PutLE(out, 1, 2);
  PutLE(out, static_cast<std::uint32_t>(recipes.size()), 2);
  std::vector<Bytes> images;
  for (const ImageRecipe& recipe : recipes) images.push_back(ImageBytes(recipe));
  std::size_t offset = 6 + 16 * recipes.size();
  for (std::size_t i = 0; i < recipes.size(); ++i) {
    out.push_back(static_cast<std::uint8_t>(recipes[i].width));
    out.push_back(static_cast<std::uint8_t>(recipes[i].height));
    out.push_back(recipes[i].bits == 4 ? 16 : 0);
    out.push_back(0);
    PutLE(out, 1, 2);
    PutLE(out, recipes[i].bits, 2);
    PutLE(out, static_cast<std::uint32_t>(images[i].size()), 4);
    PutLE(out, static_cast<std::uint32_t>(offset), 4);
    offset += images[i].size();
  }
  for (const Bytes& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

const std::vector<std::uint32_t> kSixteen = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// 32 x 32, 16 colours: the top eight rows red, the rest white; the left half
// transparent, except that the first column is white under the mask, which
// inverts the screen.
ImageRecipe MaskedIcon() {
  ImageRecipe recipe;
  recipe.palette = kSixteen;
  recipe.value = [](int x, int y) -> std::uint32_t { return x == 0 || y >= 8 ? 15 : 9; };
  recipe.transparent = [](int x, int) { return x < 16; };
  return recipe;
}

TEST(GdiIcon, DrawIconAndsTheMaskThenXorsTheImage) {
  const Bytes file = IcoFile({MaskedIcon()});
  HICON icon = gdi::CreateIconFromResource(file.data(), file.size());
  ASSERT_NE(icon, nullptr);
  Canvas canvas(40, 40);
  ASSERT_TRUE(DrawIcon(canvas.dc, 3, 4, icon));
  const gdi::Surface& s = canvas.surface;
  EXPECT_EQ(s.At(2, 4), kCanvasBackground) << "left of the icon";
  EXPECT_EQ(s.At(3, 4), kCanvasBackground ^ 0xFFFFFF) << "white under the mask inverts";
  EXPECT_EQ(s.At(3, 35), kCanvasBackground ^ 0xFFFFFF);
  EXPECT_EQ(s.At(4, 4), kCanvasBackground ^ 0xFF0000) << "red under the mask";
  EXPECT_EQ(s.At(3 + 16, 4), 0xFF0000u) << "top row, opaque: the image's top is drawn at the top";
  EXPECT_EQ(s.At(3 + 16, 4 + 7), 0xFF0000u);
  EXPECT_EQ(s.At(3 + 16, 4 + 8), 0xFFFFFFu);
  EXPECT_EQ(s.At(3 + 31, 4 + 31), 0xFFFFFFu);
  EXPECT_EQ(s.At(3 + 32, 4 + 31), kCanvasBackground) << "right of the icon";
  EXPECT_EQ(s.At(3 + 31, 4 + 32), kCanvasBackground) << "below the icon";
  EXPECT_TRUE(DestroyIcon(icon));
}

TEST(GdiIcon, ResourceImageAndFileDecodeAlike) {
  const Bytes file = IcoFile({MaskedIcon()});
  const Bytes resource = ImageBytes(MaskedIcon());
  const auto fromFile = gdi::DecodeIcon(file.data(), file.size());
  const auto fromResource = gdi::DecodeIcon(resource.data(), resource.size());
  ASSERT_TRUE(fromFile && fromResource);
  EXPECT_EQ(fromFile->colours, fromResource->colours);
  EXPECT_EQ(fromFile->mask, fromResource->mask);
}

TEST(GdiIcon, OtherDepthsDecode) {
  ImageRecipe mono;
  mono.width = mono.height = 8;
  mono.bits = 1;
  mono.palette = {0x000000, 0xFFFFFF};
  mono.value = [](int x, int) { return static_cast<std::uint32_t>(x % 2); };
  ImageRecipe indexed;
  indexed.bits = 8;
  for (std::uint32_t i = 0; i < 256; ++i) indexed.palette.push_back(i << 16 | (255 - i));
  indexed.value = [](int x, int y) { return static_cast<std::uint32_t>(y * 8 + x % 8); };
  ImageRecipe direct;
  direct.bits = 24;
  direct.value = [](int x, int y) { return static_cast<std::uint32_t>(x << 16 | y << 8 | 7); };

  const Bytes monoBytes = ImageBytes(mono);
  const auto m = gdi::DecodeIcon(monoBytes.data(), monoBytes.size());
  ASSERT_TRUE(m);
  EXPECT_EQ(m->colours[0], 0x000000u);
  EXPECT_EQ(m->colours[1], 0xFFFFFFu);
  const Bytes indexedBytes = ImageBytes(indexed);
  const auto i = gdi::DecodeIcon(indexedBytes.data(), indexedBytes.size());
  ASSERT_TRUE(i);
  EXPECT_EQ(i->colours[3 * 32 + 5], (29u << 16) | (255 - 29));
  const Bytes directBytes = ImageBytes(direct);
  const auto d = gdi::DecodeIcon(directBytes.data(), directBytes.size());
  ASSERT_TRUE(d);
  EXPECT_EQ(d->colours[2 * 32 + 9], 0x090207u);
  EXPECT_TRUE(d->alpha.empty());
}

TEST(GdiIcon, AlphaChannelBlendsOverTheScreen) {
  ImageRecipe recipe;
  recipe.bits = 32;
  // Columns 0-9 clear, 10-19 half, 20-31 opaque; all pure red.
  recipe.value = [](int x, int) -> std::uint32_t { return (x < 10 ? 0u : x < 20 ? 0x80u : 0xFFu) << 24 | 0xFF0000; };
  const Bytes file = IcoFile({recipe});
  HICON icon = gdi::CreateIconFromResource(file.data(), file.size());
  ASSERT_NE(icon, nullptr);
  Canvas canvas(32, 32);
  DrawIcon(canvas.dc, 0, 0, icon);
  EXPECT_EQ(canvas.surface.At(5, 5), kCanvasBackground);
  EXPECT_EQ(canvas.surface.At(15, 5), 0x891A2Bu);  // 0x80 of red over 0x123456, rounded
  EXPECT_EQ(canvas.surface.At(25, 5), 0xFF0000u);
  DestroyIcon(icon);
}

TEST(GdiIcon, FileGivesItsThirtyTwoPixelImageOfMostColours) {
  ImageRecipe small = MaskedIcon();
  small.width = small.height = 16;
  ImageRecipe sixteen = MaskedIcon();
  ImageRecipe many;
  many.bits = 8;
  many.palette.assign(256, 0x00FF00);
  many.value = [](int, int) { return 1u; };
  const Bytes file = IcoFile({small, many, sixteen});
  const auto image = gdi::DecodeIcon(file.data(), file.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 32);
  EXPECT_EQ(image->colours[0], 0x00FF00u);
}

TEST(GdiIcon, SmallerIconIsStretchedToTheIconSize) {
  ImageRecipe recipe;
  recipe.width = recipe.height = 16;
  recipe.palette = kSixteen;
  recipe.value = [](int x, int y) -> std::uint32_t { return x == 15 && y == 15 ? 9 : 15; };
  const Bytes file = IcoFile({recipe});
  HICON icon = gdi::CreateIconFromResource(file.data(), file.size());
  ASSERT_NE(icon, nullptr);
  Canvas canvas(33, 33);
  DrawIcon(canvas.dc, 0, 0, icon);
  EXPECT_EQ(canvas.surface.At(29, 29), 0xFFFFFFu);
  EXPECT_EQ(canvas.surface.At(30, 30), 0xFF0000u);
  EXPECT_EQ(canvas.surface.At(31, 31), 0xFF0000u);
  EXPECT_EQ(canvas.surface.At(32, 32), kCanvasBackground);
  DestroyIcon(icon);
}

TEST(GdiIcon, EveryTruncationIsRejected) {
  const Bytes file = IcoFile({MaskedIcon()});
  const Bytes resource = ImageBytes(MaskedIcon());
  for (std::size_t size = 0; size < file.size(); ++size) {
    // A copy of exactly `size` bytes, so a sanitizer sees any read past it.
    const Bytes prefix(file.begin(), file.begin() + size);
    EXPECT_FALSE(gdi::DecodeIcon(prefix.data(), prefix.size())) << size;
  }
  for (std::size_t size = 0; size < resource.size(); ++size) {
    const Bytes prefix(resource.begin(), resource.begin() + size);
    EXPECT_FALSE(gdi::DecodeIcon(prefix.data(), prefix.size())) << size;
  }
}

TEST(GdiIcon, MalformedFieldsAreRejected) {
  const std::size_t entry = 6, image = 22;
  struct Case {
    const char* what;
    std::size_t at;
    std::uint32_t value;
    int bytes;
  };
  const Case cases[] = {
      {"no images", 4, 0, 2},
      {"image offset past the end", entry + 12, 0x00FFFFFF, 4},
      {"image size past the end", entry + 8, 0xFFFFFFFF, 4},
      {"header size too small", image, 12, 4},
      {"header size past the end", image, 0xFFFFFFF0, 4},
      {"zero width", image + 4, 0, 4},
      {"width above 256", image + 4, 100000, 4},
      {"negative height", image + 8, 0xFFFFFFC0, 4},
      {"odd height", image + 8, 63, 4},
      {"two planes", image + 12, 2, 2},
      {"5 bits per pixel", image + 14, 5, 2},
      {"compressed", image + 16, 1, 4},
      {"more colours than the depth has", image + 32, 17, 4},
  };
  for (const Case& c : cases) {
    Bytes file = IcoFile({MaskedIcon()});
    for (int i = 0; i < c.bytes; ++i) file[c.at + i] = static_cast<std::uint8_t>(c.value >> (8 * i));
    EXPECT_FALSE(gdi::DecodeIcon(file.data(), file.size())) << c.what;
  }
  EXPECT_FALSE(gdi::DecodeIcon(nullptr, 100));
  EXPECT_EQ(gdi::CreateIconFromResource(nullptr, 0), nullptr);
}

TEST(GdiIcon, DestroyedIconIsGone) {
  const Bytes file = IcoFile({MaskedIcon()});
  HICON icon = gdi::CreateIconFromResource(file.data(), file.size());
  Canvas canvas(32, 32);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
  EXPECT_FALSE(DrawIcon(canvas.dc, 0, 0, icon));
  EXPECT_EQ(canvas.surface.At(16, 16), kCanvasBackground);
}

TEST(GdiSystemIcons, MessageBoxIconsAreSharedClassicPictures) {
  for (LPCSTR name : {IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK, IDI_APPLICATION}) {
    HICON icon = gdi::LoadSystemIcon(name);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(gdi::LoadSystemIcon(name), icon);
    EXPECT_TRUE(DestroyIcon(icon));
    const gdi::IconImage* image = gdi::FindIcon(icon);
    ASSERT_NE(image, nullptr) << "a shared icon outlives DestroyIcon";
    EXPECT_EQ(image->width, 32);
    EXPECT_EQ(image->height, 32);
    int opaque = 0;
    for (std::size_t i = 0; i < image->mask.size(); ++i) {
      opaque += image->mask[i] == 0;
      if (image->mask[i] != 0) {
        EXPECT_EQ(image->colours[i], 0u) << "transparent pixels leave the screen as it is";
      }
    }
    EXPECT_GT(opaque, 200);
    EXPECT_LT(opaque, 1024);
  }
  EXPECT_NE(gdi::LoadSystemIcon(IDI_HAND), gdi::LoadSystemIcon(IDI_QUESTION));
  EXPECT_EQ(gdi::LoadSystemIcon(MAKEINTRESOURCEA(32517)), nullptr);
  EXPECT_EQ(gdi::LoadSystemIcon("IDI_HAND"), nullptr);
}

TEST(GdiSystemIcons, HandIsARedDiscWithAWhiteCross) {
  Canvas canvas(32, 32);
  DrawIcon(canvas.dc, 0, 0, gdi::LoadSystemIcon(IDI_HAND));
  EXPECT_EQ(canvas.surface.At(15, 15), 0xFFFFFFu);
  EXPECT_EQ(canvas.surface.At(15, 5), 0xFF0000u);
  EXPECT_EQ(canvas.surface.At(0, 0), kCanvasBackground);
}

}  // namespace
}  // namespace vorn::testing
