// Parses of a stretch of the data whose encoded bytes, control bytes included,
// never complete the installer's signature. The encoder uses them to repair the
// places where the optimal parse would.
#pragma once

#include <cstddef>
#include <vector>

#include "tools/szdd/format.h"

namespace vorn::szdd {

// A stretch to re-parse. It starts at a group boundary; it ends at the first of
// `joins` (ascending data offsets) where a group closes, or at the end of the data
// with the matcher back at 0 when `mayEndStream` is set. No item crosses `limit`.
struct Stretch {
  std::size_t start = 0;
  int stateBefore = 0;  // the matcher's state before the first group's control byte
  std::vector<std::size_t> joins;
  bool mayEndStream = false;
  std::size_t limit = 0;
};

enum class StretchResult {
  Found,
  // No encoding of the data from `start` gets past some offset without the signature.
  DeadEnd,
  // Encodings get through, but none closes a group at a join (or ends the stream cleanly).
  NoJoin,
};

struct GuardedParse {
  StretchResult result = StretchResult::NoJoin;
  std::vector<Item> items;
  std::size_t end = 0;  // where the items end: a join or the end of the data
  int endState = 0;     // the matcher's state there
};

// The cheapest such parse of the stretch (9 bits a literal, 17 a back reference).
GuardedParse ParseGuarded(const Text& text, const Stretch& stretch);

// Whether the data from offset `from` on has an encoding, whatever precedes it,
// that ends the stream with the matcher at 0 (so that the next stream's signature
// is seen). `from` must lie at least 18 bytes before the end.
bool CanEndClean(const Text& text, std::size_t from);

}  // namespace vorn::szdd
