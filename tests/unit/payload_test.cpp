// The integrity sum's weights and wrap-around.
#include <gtest/gtest.h>

#include <string>

#include "engine/payload.h"

namespace {

std::int32_t SumOf(const std::string& bytes, int* weight) {
  std::int32_t sum = 0;
  for (unsigned char b : bytes) AddToChecksum(&sum, weight, b);
  return sum;
}

TEST(Checksum, WorkedValues) {
  int weight = 1;
  std::int32_t sum = SumOf("abc", &weight);
  EXPECT_EQ(sum, 590);
  EXPECT_EQ(weight, 4);
  AddToChecksum(&sum, &weight, 'd');
  EXPECT_EQ(sum, 190);
  EXPECT_EQ(weight, 1);

  weight = 1;
  EXPECT_EQ(static_cast<std::uint32_t>(SumOf(std::string("\0\0\0\xff", 4), &weight)), 0xFFFFFC04u);
}

TEST(Checksum, WrapsModulo32Bits) {
  std::int32_t sum = 0x7FFFFFFF;
  int weight = 1;
  AddToChecksum(&sum, &weight, 1);
  EXPECT_EQ(static_cast<std::uint32_t>(sum), 0x80000000u);
}

TEST(Checksum, StampedDefaultIsTheShippedSum) { EXPECT_EQ(EXPECTED_CHECKSUM, 39556167); }

}  // namespace
