// Binary-tree match finder. Every position is inserted into the tree of its hash
// bucket, ordered by the string that starts there; the search for the longest
// match is the walk that inserts it, so it costs nothing extra.
#include "tools/szdd/match_finder.h"

#include <algorithm>
#include <cstring>

namespace vorn::szdd {

namespace {

// The window holds 4096 strings; as many buckets keep the table small and the trees shallow.
constexpr unsigned kHashBits = 12;

unsigned Hash3(const unsigned char* p) {
  const std::uint32_t v = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                          static_cast<std::uint32_t>(p[2]) << 16;
  return (v * 2654435761u) >> (32 - kHashBits);
}

// How far a and b agree, from `from` up to `limit` (at most 18) bytes.
std::size_t CommonLength(const unsigned char* a, const unsigned char* b, std::size_t from, std::size_t limit) {
  std::size_t len = from;
  while (len + 8 <= limit) {
    std::uint64_t x, y;
    std::memcpy(&x, a + len, 8);
    std::memcpy(&y, b + len, 8);
    if (x != y) return len + static_cast<std::size_t>(__builtin_ctzll(x ^ y) / 8);
    len += 8;
  }
  while (len < limit && a[len] == b[len]) ++len;
  return len;
}

}  // namespace

MatchFinder::MatchFinder(const Text& text)
    : bytes_(text.whole()), size_(text.wholeSize()), head_(std::size_t{1} << kHashBits, kNone), tree_(2 * kTreeSlots, kNone) {
  // The initial spaces are strings like any other: a match may start in them.
  for (std::uint32_t pos = 0; pos < kWindowSize; ++pos) {
    unsigned distance;
    InsertAndMatch(pos, &distance);
  }
}

void MatchFinder::Find(std::size_t from, std::size_t count, std::uint8_t* length, std::uint16_t* distance) {
  for (std::size_t j = 0; j < count; ++j) {
    unsigned d = 0;
    const unsigned len = InsertAndMatch(static_cast<std::uint32_t>(kWindowSize + from + j), &d);
    length[j] = static_cast<std::uint8_t>(len >= kMinMatch ? len : 0);
    distance[j] = static_cast<std::uint16_t>(len >= kMinMatch ? d : 0);
  }
}

unsigned MatchFinder::InsertAndMatch(std::uint32_t pos, unsigned* distance) {
  const std::size_t limit = std::min<std::size_t>(kMaxMatch, size_ - pos);
  if (limit < kMinMatch) return 0;
  const unsigned char* cur = bytes_ + pos;
  std::uint32_t& bucket = head_[Hash3(cur)];
  std::uint32_t candidate = bucket;
  bucket = pos;

  const std::size_t mask = kTreeSlots - 1;
  std::uint32_t* smaller = &tree_[2 * (pos & mask)];
  std::uint32_t* greater = &tree_[2 * (pos & mask) + 1];
  std::size_t smallerLen = 0;  // the prefix every string on the smaller side shares
  std::size_t greaterLen = 0;
  unsigned best = 0;
  for (int depth = kSearchDepth;; --depth) {
    if (candidate == kNone || pos - candidate > kWindowSize || depth == 0) {
      *smaller = kNone;
      *greater = kNone;
      break;
    }
    std::uint32_t* pair = &tree_[2 * (candidate & mask)];
    const unsigned char* other = bytes_ + candidate;
    const std::size_t len = CommonLength(other, cur, std::min(smallerLen, greaterLen), limit);
    if (len > best) {
      best = static_cast<unsigned>(len);
      *distance = pos - candidate;
      if (len == limit) {
        // The candidate equals the new string as far as we look: the new node
        // takes over its subtrees.
        *smaller = pair[0];
        *greater = pair[1];
        break;
      }
    }
    if (other[len] < cur[len]) {
      *smaller = candidate;
      smaller = &pair[1];
      candidate = *smaller;
      smallerLen = len;
    } else {
      *greater = candidate;
      greater = &pair[0];
      candidate = *greater;
      greaterLen = len;
    }
  }
  return best;
}

}  // namespace vorn::szdd
