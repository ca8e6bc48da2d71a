// Test images.
#include "tests/support/test_image.h"

#include "engine/payload.h"

namespace vorn::testing {

std::string Signature() { return std::string("S") + "ZDD"; }

std::string LiteralStream(const std::string& data) {
  return LiteralStream(data, 0x41, static_cast<std::uint32_t>(data.size()));
}

std::string LiteralStream(const std::string& data, unsigned char mode, std::uint32_t declaredLength) {
  std::string stream = Signature();
  stream += std::string("\x88\xF0\x27\x33", 4);
  stream += static_cast<char>(mode);
  stream += '\0';
  for (int i = 0; i < 4; ++i) stream += static_cast<char>((declaredLength >> (8 * i)) & 0xFF);
  for (std::size_t i = 0; i < data.size(); i += 8) {
    stream += '\xFF';
    stream += data.substr(i, 8);
  }
  return stream;
}

std::string TestImage::Bytes() const {
  std::string image = head;
  for (const std::string& chunk : chunks) image += chunk;
  return image;
}

std::int32_t TestImage::Sum() const { return ImageSum(Bytes()); }

std::int32_t ImageSum(const std::string& image) {
  const std::size_t first = image.find(Signature());
  std::int32_t sum = 0;
  int weight = 1;
  if (first == std::string::npos) return sum;
  for (std::size_t i = first + 4; i < image.size(); ++i) {
    AddToChecksum(&sum, &weight, static_cast<unsigned char>(image[i]));
  }
  return sum;
}

}  // namespace vorn::testing
