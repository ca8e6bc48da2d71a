// The SZDD header and the encoder's view of the data.
#include "tools/szdd/format.h"

#include <cstring>

namespace vorn::szdd {

void AppendHeader(std::vector<unsigned char>* out, std::uint32_t length) {
  static const unsigned char kMagic[] = {0x53, 0x5A, 0x44, 0x44, 0x88, 0xF0, 0x27, 0x33, 0x41, 0x00};
  out->insert(out->end(), kMagic, kMagic + sizeof kMagic);
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<unsigned char>(length >> (8 * i)));
}

Text::Text(const unsigned char* data, std::size_t size) : bytes_(kWindowSize + size, kWindowFill), size_(size) {
  if (size > 0) std::memcpy(bytes_.data() + kWindowSize, data, size);
}

}  // namespace vorn::szdd
