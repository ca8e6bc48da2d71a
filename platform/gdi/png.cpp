// PNG encoding and decoding over zlib: one IDAT of unfiltered rows when writing;
// all five filters, any IDAT split and ancillary chunks when reading.
#include "platform/gdi/png.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace vorn::gdi {
namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Larger images are refused before anything is allocated for them.
constexpr std::uint32_t kMaxSide = 16384;
constexpr std::uint64_t kMaxPixels = 64u * 1024 * 1024;

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}
std::uint32_t GetU32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

void PutChunk(std::vector<std::uint8_t>& out, const char type[4], const std::vector<std::uint8_t>& body) {
  PutU32(out, static_cast<std::uint32_t>(body.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  const uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
  PutU32(out, static_cast<std::uint32_t>(crc));
}

std::uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
  return static_cast<std::uint8_t>(pb <= pc ? b : c);
}

// Undoes the filter of each row in place; false for an unknown filter type.
bool Unfilter(std::vector<std::uint8_t>& data, std::size_t rowBytes, std::size_t rows, std::size_t pixelBytes) {
  const std::size_t stride = rowBytes + 1;
  for (std::size_t y = 0; y < rows; ++y) {
    std::uint8_t* row = data.data() + y * stride + 1;
    const std::uint8_t* above = y > 0 ? row - stride : nullptr;
    const std::uint8_t filter = row[-1];
    for (std::size_t i = 0; i < rowBytes; ++i) {
      const int a = i >= pixelBytes ? row[i - pixelBytes] : 0;
      const int b = above != nullptr ? above[i] : 0;
      const int c = above != nullptr && i >= pixelBytes ? above[i - pixelBytes] : 0;
      switch (filter) {
        case 0: break;
        case 1: row[i] = static_cast<std::uint8_t>(row[i] + a); break;
        case 2: row[i] = static_cast<std::uint8_t>(row[i] + b); break;
        case 3: row[i] = static_cast<std::uint8_t>(row[i] + (a + b) / 2); break;
        case 4: row[i] = static_cast<std::uint8_t>(row[i] + Paeth(a, b, c)); break;
        default: return false;
      }
    }
  }
  return true;
}

// Inflates exactly `expected` bytes; trailing data or a short stream is an error.
bool Inflate(const std::vector<std::uint8_t>& compressed, std::vector<std::uint8_t>& out, std::size_t expected) {
  out.assign(expected, 0);
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return false;
  stream.next_in = const_cast<Bytef*>(compressed.data());
  stream.avail_in = static_cast<uInt>(compressed.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(expected);
  const int result = inflate(&stream, Z_FINISH);
  const bool complete = result == Z_STREAM_END && stream.avail_out == 0;
  inflateEnd(&stream);
  return complete;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Surface& surface) {
  const std::size_t width = static_cast<std::size_t>(surface.width);
  const std::size_t height = static_cast<std::size_t>(surface.height);
  std::vector<std::uint8_t> raw;
  raw.reserve(height * (1 + width * 3));
  for (std::size_t y = 0; y < height; ++y) {
    raw.push_back(0);
    for (std::size_t x = 0; x < width; ++x) {
      const std::uint32_t pixel = surface.pixels[y * width + x];
      raw.push_back(static_cast<std::uint8_t>(pixel >> 16));
      raw.push_back(static_cast<std::uint8_t>(pixel >> 8));
      raw.push_back(static_cast<std::uint8_t>(pixel));
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> packed(packedSize);
  compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION);
  packed.resize(packedSize);

  std::vector<std::uint8_t> header;
  PutU32(header, static_cast<std::uint32_t>(width));
  PutU32(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter choice, no interlace

  std::vector<std::uint8_t> out(kSignature, kSignature + 8);
  PutChunk(out, "IHDR", header);
  PutChunk(out, "IDAT", packed);
  PutChunk(out, "IEND", {});
  return out;
}

Error DecodePng(const std::uint8_t* data, std::size_t size, Surface* surface) {
  if (data == nullptr || size < 8 || std::memcmp(data, kSignature, 8) != 0) return Error::ReadFault;
  std::uint32_t width = 0, height = 0;
  std::size_t channels = 0;
  bool seenHeader = false, seenEnd = false;
  std::vector<std::uint8_t> compressed;
  for (std::size_t at = 8; !seenEnd;) {
    if (size - at < 12) return Error::ReadFault;
    const std::uint32_t length = GetU32(data + at);
    if (length > size - at - 12) return Error::ReadFault;
    const std::uint8_t* type = data + at + 4;
    const std::uint8_t* body = data + at + 8;
    if (crc32(0, type, length + 4) != GetU32(body + length)) return Error::ReadFault;
    at += 12 + std::size_t{length};

    if (std::memcmp(type, "IHDR", 4) == 0) {
      if (seenHeader || length != 13) return Error::ReadFault;
      seenHeader = true;
      width = GetU32(body);
      height = GetU32(body + 4);
      const std::uint8_t depth = body[8], colourType = body[9];
      if (width == 0 || height == 0 || body[10] != 0 || body[11] != 0) return Error::ReadFault;
      if (depth != 8 || (colourType != 2 && colourType != 6) || body[12] != 0) return Error::Unsupported;
      if (width > kMaxSide || height > kMaxSide || std::uint64_t{width} * height > kMaxPixels) {
        return Error::Unsupported;
      }
      channels = colourType == 6 ? 4 : 3;
    } else if (!seenHeader) {
      return Error::ReadFault;
    } else if (std::memcmp(type, "IDAT", 4) == 0) {
      compressed.insert(compressed.end(), body, body + length);
    } else if (std::memcmp(type, "IEND", 4) == 0) {
      seenEnd = true;
    } else if ((type[0] & 0x20) == 0 && std::memcmp(type, "PLTE", 4) != 0) {
      // An unknown critical chunk changes the meaning of the image.
      return Error::Unsupported;
    }
  }

  const std::size_t rowBytes = std::size_t{width} * channels;
  std::vector<std::uint8_t> raw;
  if (!Inflate(compressed, raw, (rowBytes + 1) * height)) return Error::ReadFault;
  if (!Unfilter(raw, rowBytes, height, channels)) return Error::ReadFault;

  surface->Resize(static_cast<int>(width), static_cast<int>(height), 0);
  for (std::size_t y = 0; y < height; ++y) {
    const std::uint8_t* row = raw.data() + y * (rowBytes + 1) + 1;
    for (std::size_t x = 0; x < width; ++x) {
      const std::uint8_t* p = row + x * channels;
      surface->pixels[y * width + x] = std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
    }
  }
  return Error::None;
}

Error WritePng(const Surface& surface, const std::string& path) {
  const std::vector<std::uint8_t> bytes = EncodePng(surface);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!file) return Error::WriteFault;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return Error::WriteFault;
  return std::fclose(file.release()) == 0 ? Error::None : Error::WriteFault;
}

Error ReadPng(const std::string& path, Surface* surface) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) return Error::NotFound;
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
  if (std::ferror(file.get())) return Error::ReadFault;
  return DecodePng(bytes.data(), bytes.size(), surface);
}

}  // namespace vorn::gdi
