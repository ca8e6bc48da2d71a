// The longest back reference at every position of a Text, from a binary tree over
// the strings that start in the last 4096 positions (the ring's initial spaces
// included), as the optimal parse needs it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/szdd/format.h"

namespace vorn::szdd {

class MatchFinder {
 public:
  explicit MatchFinder(const Text& text);

  // Fills length[j] and distance[j] for data offsets from + j, j < count, with the
  // longest match (0 when shorter than 3) and one distance that gives it. Calls
  // must cover the data in order, from offset 0 on.
  void Find(std::size_t from, std::size_t count, std::uint8_t* length, std::uint16_t* distance);

 private:
  static constexpr std::size_t kTreeSlots = 2 * kWindowSize;  // a power of two above the window
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
  static constexpr int kSearchDepth = 48;

  // Inserts the string at whole-buffer offset pos and returns the longest match.
  unsigned InsertAndMatch(std::uint32_t pos, unsigned* distance);

  const unsigned char* bytes_;
  std::size_t size_;
  std::vector<std::uint32_t> head_;
  std::vector<std::uint32_t> tree_;  // per slot: the smaller, then the greater subtree
};

}  // namespace vorn::szdd
