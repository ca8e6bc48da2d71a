// Decoding of icon files and resources, icon handles and DrawIcon.
#include "platform/gdi/icon.h"

#include <memory>
#include <unordered_map>

#include "platform/api/user.h"
#include "platform/gdi/device_context.h"

namespace vorn::gdi {
namespace {

constexpr std::size_t kInfoHeaderSize = 40;
constexpr int kMaxIconSide = 256;

// Little-endian reads that fail instead of leaving the buffer.
class Bytes {
 public:
  Bytes(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
  bool Has(std::size_t offset, std::size_t count) const { return offset <= size_ && count <= size_ - offset; }
  std::uint32_t U8(std::size_t at) const { return data_[at]; }
  std::uint32_t U16(std::size_t at) const { return data_[at] | data_[at + 1] << 8; }
  std::uint32_t U32(std::size_t at) const { return U16(at) | U16(at + 2) << 16; }
  const unsigned char* At(std::size_t offset) const { return data_ + offset; }
  std::size_t size() const { return size_; }

 private:
  const unsigned char* data_;
  std::size_t size_;
};

std::size_t Stride(int width, int bits) { return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4; }

// One icon image: BITMAPINFOHEADER, colour table, XOR bitmap (bottom-up), AND mask.
std::optional<IconImage> DecodeImage(const Bytes& in) {
  if (!in.Has(0, kInfoHeaderSize)) return std::nullopt;
  const std::uint32_t headerSize = in.U32(0);
  const auto width = static_cast<std::int32_t>(in.U32(4));
  const auto doubleHeight = static_cast<std::int32_t>(in.U32(8));
  const std::uint32_t planes = in.U16(12);
  const int bits = static_cast<int>(in.U16(14));
  const std::uint32_t compression = in.U32(16);
  const std::uint32_t coloursUsed = in.U32(32);
  if (headerSize < kInfoHeaderSize || !in.Has(0, headerSize) || planes != 1 || compression != 0) {
    return std::nullopt;
  }
  if (width < 1 || width > kMaxIconSide || doubleHeight < 2 || doubleHeight % 2 != 0 ||
      doubleHeight / 2 > kMaxIconSide) {
    return std::nullopt;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
  const int height = doubleHeight / 2;

  const std::size_t paletteLimit = bits <= 8 ? std::size_t{1} << bits : 256;
  const std::size_t paletteSize = coloursUsed != 0 ? coloursUsed : (bits <= 8 ? paletteLimit : 0);
  if (paletteSize > paletteLimit) return std::nullopt;
  const std::size_t paletteAt = headerSize;
  const std::size_t xorAt = paletteAt + paletteSize * 4;
  const std::size_t xorStride = Stride(width, bits);
  const std::size_t andAt = xorAt + xorStride * height;
  const std::size_t andStride = Stride(width, 1);
  if (!in.Has(xorAt, xorStride * height)) return std::nullopt;
  // A 32-bit image may leave out its mask and rely on its alpha alone.
  const bool hasMask = in.Has(andAt, andStride * height);
  if (!hasMask && bits != 32) return std::nullopt;

  IconImage image;
  image.width = width;
  image.height = height;
  const std::size_t pixels = static_cast<std::size_t>(width) * height;
  image.colours.assign(pixels, 0);
  image.mask.assign(pixels, 0);
  std::vector<std::uint8_t> alpha(pixels, 0);
  bool anyAlpha = false;

  for (int y = 0; y < height; ++y) {
    // Rows are stored bottom-up.
    const std::size_t row = xorAt + xorStride * (height - 1 - y);
    const std::size_t maskRow = andAt + andStride * (height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * width + x;
      std::uint32_t b = 0, g = 0, r = 0;
      if (bits <= 8) {
        const std::size_t bit = static_cast<std::size_t>(x) * bits;
        const std::uint32_t index = (in.U8(row + bit / 8) >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        // An index past a short colour table is black rather than a read beyond it.
        if (index < paletteSize) {
          b = in.U8(paletteAt + index * 4);
          g = in.U8(paletteAt + index * 4 + 1);
          r = in.U8(paletteAt + index * 4 + 2);
        }
      } else {
        const std::size_t at = row + static_cast<std::size_t>(x) * (bits / 8);
        b = in.U8(at);
        g = in.U8(at + 1);
        r = in.U8(at + 2);
        if (bits == 32) {
          alpha[i] = static_cast<std::uint8_t>(in.U8(at + 3));
          anyAlpha = anyAlpha || alpha[i] != 0;
        }
      }
      image.colours[i] = r << 16 | g << 8 | b;
      if (hasMask) image.mask[i] = (in.U8(maskRow + x / 8) >> (7 - x % 8)) & 1;
    }
  }
  if (anyAlpha) {
    image.alpha = std::move(alpha);
  } else if (!hasMask) {
    return std::nullopt;
  }
  return image;
}

// Better for DrawIcon: the right size first, then more colours, then larger.
bool Better(const IconImage& a, int aBits, const IconImage& b, int bBits) {
  const bool aFits = a.width == kIconSize && a.height == kIconSize;
  const bool bFits = b.width == kIconSize && b.height == kIconSize;
  if (aFits != bFits) return aFits;
  if (aBits != bBits) return aBits > bBits;
  return a.width * a.height > b.width * b.height;
}

std::optional<IconImage> DecodeIconFile(const Bytes& in) {
  constexpr std::size_t kDirectorySize = 6, kEntrySize = 16;
  const std::size_t count = in.U16(4);
  if (count == 0 || !in.Has(kDirectorySize, count * kEntrySize)) return std::nullopt;
  std::optional<IconImage> best;
  int bestBits = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = kDirectorySize + i * kEntrySize;
    const std::size_t length = in.U32(entry + 8);
    const std::size_t offset = in.U32(entry + 12);
    if (!in.Has(offset, length)) return std::nullopt;
    const Bytes image(in.At(offset), length);
    std::optional<IconImage> decoded = DecodeImage(image);
    if (!decoded) continue;
    const int bits = static_cast<int>(image.U16(14));
    if (!best || Better(*decoded, bits, *best, bestBits)) {
      best = std::move(decoded);
      bestBits = bits;
    }
  }
  return best;
}

struct IconObject {
  IconImage image;
  bool shared;
};

std::unordered_map<const void*, std::unique_ptr<IconObject>>& Icons() {
  static std::unordered_map<const void*, std::unique_ptr<IconObject>> icons;
  return icons;
}

IconObject* FindIconObject(HICON icon) {
  auto found = Icons().find(icon);
  return found == Icons().end() ? nullptr : found->second.get();
}

std::uint32_t Blend(std::uint32_t under, std::uint32_t over, std::uint32_t alpha) {
  std::uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const std::uint32_t a = (over >> shift) & 0xFF, b = (under >> shift) & 0xFF;
    out |= ((a * alpha + b * (255 - alpha) + 127) / 255) << shift;
  }
  return out;
}

}  // namespace

std::optional<IconImage> DecodeIcon(const unsigned char* data, std::size_t size) {
  if (data == nullptr) return std::nullopt;
  const Bytes in(data, size);
  if (!in.Has(0, 6)) return std::nullopt;
  if (in.U16(0) == 0 && in.U16(2) == 1) return DecodeIconFile(in);
  return DecodeImage(in);
}

HICON CreateIconFromImage(IconImage image, bool shared) {
  auto object = std::make_unique<IconObject>(IconObject{std::move(image), shared});
  HICON handle = reinterpret_cast<HICON>(object.get());
  Icons().emplace(handle, std::move(object));
  return handle;
}

HICON CreateIconFromResource(const unsigned char* data, std::size_t size, bool shared) {
  std::optional<IconImage> image = DecodeIcon(data, size);
  return image ? CreateIconFromImage(std::move(*image), shared) : nullptr;
}

const IconImage* FindIcon(HICON icon) {
  IconObject* object = FindIconObject(icon);
  return object == nullptr ? nullptr : &object->image;
}

}  // namespace vorn::gdi

using namespace vorn::gdi;

BOOL WINAPI DrawIcon(HDC dc, int x, int y, HICON icon) {
  DeviceContext* context = FindDeviceContext(dc);
  const IconImage* image = FindIcon(icon);
  if (context == nullptr || image == nullptr) return FALSE;
  const Box area = Intersect(DrawableBox(*context),
                             Box{std::int64_t{x} + context->origin.x, std::int64_t{y} + context->origin.y,
                                 std::int64_t{x} + context->origin.x + kIconSize,
                                 std::int64_t{y} + context->origin.y + kIconSize});
  for (std::int64_t sy = area.top; sy < area.bottom; ++sy) {
    // Icons of another size are stretched to the icon metrics, nearest pixel.
    const std::int64_t iy = (sy - y - context->origin.y) * image->height / kIconSize;
    for (std::int64_t sx = area.left; sx < area.right; ++sx) {
      const std::int64_t ix = (sx - x - context->origin.x) * image->width / kIconSize;
      const std::size_t i = static_cast<std::size_t>(iy * image->width + ix);
      std::uint32_t& pixel = context->surface->pixels[static_cast<std::size_t>(sy * context->surface->width + sx)];
      if (!image->alpha.empty()) {
        pixel = Blend(pixel, image->colours[i], image->alpha[i]);
      } else {
        // The screen is ANDed with the mask, then XORed with the image.
        pixel = ((image->mask[i] != 0 ? pixel : 0) ^ image->colours[i]) & 0xFFFFFF;
      }
    }
  }
  return TRUE;
}

BOOL WINAPI DestroyIcon(HICON icon) {
  IconObject* object = FindIconObject(icon);
  if (object == nullptr) return FALSE;
  if (!object->shared) Icons().erase(icon);
  return TRUE;
}
