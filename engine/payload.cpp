// The integrity sum over the payload, and the record that carries its expected value.
#include "engine/payload.h"

volatile ChecksumStamp checksumStamp = {CHECKSUM_STAMP_TAG, 0x025B9447u};

void AddToChecksum(std::int32_t* checksum, int* weight, unsigned char byte) {
  std::uint32_t sum = static_cast<std::uint32_t>(*checksum);
  if (*weight < 4) {
    sum += static_cast<std::uint32_t>(byte) * static_cast<std::uint32_t>(*weight);
    *weight += 1;
  } else {
    sum -= static_cast<std::uint32_t>(byte) * 4u;
    *weight = 1;
  }
  *checksum = static_cast<std::int32_t>(sum);
}
