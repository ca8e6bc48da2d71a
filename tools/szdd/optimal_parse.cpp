// Optimal parse: with the longest match known at every position, every shorter
// length from the same distance is available too, so a backward pass over the
// cost to the end of the block finds the cheapest parse exactly.
#include "tools/szdd/optimal_parse.h"

#include <algorithm>
#include <cstdint>

#include "tools/szdd/match_finder.h"

namespace vorn::szdd {

namespace {

constexpr std::size_t kBlockSize = 256 * 1024;
constexpr std::uint32_t kUnreachable = 0x3FFFFFFF;

}  // namespace

std::vector<Item> OptimalParse(const Text& text) {
  std::vector<Item> items;
  items.reserve(text.size() / 2);
  MatchFinder finder(text);
  const std::size_t block = std::min(kBlockSize, text.size());
  std::vector<std::uint8_t> longest(block);
  std::vector<std::uint16_t> distance(block);
  std::vector<std::uint32_t> cost(block + 1 + kMaxMatch);
  std::vector<std::uint8_t> choice(block);

  for (std::size_t from = 0; from < text.size(); from += kBlockSize) {
    const std::size_t count = std::min(kBlockSize, text.size() - from);
    finder.Find(from, count, longest.data(), distance.data());

    // Costs past the end of the block are out of reach; a fixed-length minimum
    // over them needs no branch per length.
    std::fill(cost.begin() + count, cost.end(), kUnreachable);
    cost[count] = 0;
    for (std::size_t j = count; j-- > 0;) {
      const unsigned maxLength = longest[j];
      std::uint32_t nearest = kUnreachable;
      for (unsigned length = kMinMatch; length <= kMaxMatch; ++length) {
        const std::uint32_t c = length <= maxLength ? cost[j + length] : kUnreachable;
        nearest = std::min(nearest, c);
      }
      std::uint32_t best = cost[j + 1] + kLiteralBits;
      std::uint8_t take = 1;
      if (nearest + kMatchBits < best) {
        best = nearest + kMatchBits;
        take = static_cast<std::uint8_t>(maxLength);
        while (cost[j + take] != nearest) --take;  // the longest of the cheapest
      }
      cost[j] = best;
      choice[j] = take;
    }
    for (std::size_t j = 0; j < count; j += choice[j]) {
      items.push_back(Item{choice[j], static_cast<std::uint16_t>(choice[j] == 1 ? 0 : distance[j])});
    }
  }
  return items;
}

}  // namespace vorn::szdd
