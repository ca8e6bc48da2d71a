// The payload's integrity sum and the stamped value it must reach.
#pragma once

#include <cstdint>

// Where the image builder stamps the sum of the payload it appends to the head: it
// finds the record by its tag, which stands nowhere else in the program.
struct ChecksumStamp {
  char tag[16];
  std::uint32_t value;
};
extern volatile ChecksumStamp checksumStamp;
// The tag that opens the record (15 characters and the terminator).
#define CHECKSUM_STAMP_TAG "vorn-sum-stamp:"

// The built-in value of the payload integrity sum.
#define EXPECTED_CHECKSUM (static_cast<std::int32_t>(checksumStamp.value))

// Adds one byte to the weighted sum: weights run +1, +2, +3, -4 and repeat; the
// arithmetic wraps modulo 2^32.
void AddToChecksum(std::int32_t* checksum, int* weight, unsigned char byte);
