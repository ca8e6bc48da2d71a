// The guarded parse is a shortest-path search over (offset, item within the
// group, matcher state, control byte). A control byte precedes the eight items it
// describes, so its value is decided when its group opens: either it equals the
// one byte that would advance the matcher (the items must then follow that byte's
// bits), or it differs from it (the matcher falls back to 0 and the items must
// not, all eight, spell it). Back references enter the search by what the matcher
// sees of their two bytes, so each position offers few distinct choices.
#include "tools/szdd/guarded_parse.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "tools/szdd/optimal_parse.h"
#include "tools/szdd/signature.h"

namespace vorn::szdd {

namespace {

// What the matcher sees of a byte: 'S', 'Z', 'D' or anything else.
enum ByteClass : std::uint8_t { kOther = 0, kS = 1, kZ = 2, kD = 3 };
constexpr std::uint8_t kExpected[4] = {kS, kZ, kD, kD};

ByteClass ClassOf(unsigned char b) {
  return b == kSignature[0] ? kS : b == kSignature[1] ? kZ : b == kSignature[2] ? kD : kOther;
}
// The matcher's next state; kSignatureMatched means the signature is complete.
int Step(int state, std::uint8_t cls) { return cls == kExpected[state] ? state + 1 : 0; }

// The control byte a group may be pinned to: the byte that advances the matcher
// from the state before it, 'S', 'Z' or 'D'.
constexpr unsigned char kPinnable[3] = {kSignature[0], kSignature[1], kSignature[2]};
int PinnableFor(int stateBefore) { return std::min(stateBefore, 2); }

// Search states. At a group boundary only the matcher's state counts (ids 0-3).
// Inside a group: the item count k (1-7), the matcher's state, and what is known of
// the control byte: it differs from the pinnable byte p already (Free), it may
// still turn out equal to p and must not (Open + p), or it is p (Pinned + p).
enum Mode : int { kFree = 0, kOpen = 1, kPinned = 4 };
constexpr int kModes = 7;
constexpr int kBoundaryStates = 4;
constexpr int kStates = kBoundaryStates + 7 * 4 * kModes;

struct State {
  int k;
  int matcher;
  int mode;
};

int IdOf(const State& s) {
  return s.k == 0 ? s.matcher : kBoundaryStates + ((s.k - 1) * 4 + s.matcher) * kModes + s.mode;
}
State StateOf(int id) {
  if (id < kBoundaryStates) return State{0, id, kFree};
  const int t = id - kBoundaryStates;
  return State{t / (4 * kModes) + 1, (t / kModes) % 4, t % kModes};
}

// Whether a group of k items (unused control bits zero) may close in this mode.
bool MayClose(int mode, int k) {
  if (mode == kFree) return true;
  const unsigned rest = static_cast<unsigned>(kPinnable[(mode - 1) % 3]) >> k;
  return mode >= kPinned ? rest == 0 : rest != 0;
}

// One choice at a position: a literal, or a back reference of some length whose
// two bytes look to the matcher like (first, second).
struct Choice {
  std::uint8_t length;
  std::uint8_t first;
  std::uint8_t second;
  std::uint16_t distance;
};

struct Node {
  std::uint32_t cost;
  std::int32_t prev;
  std::uint16_t id;
  std::uint16_t length;
  std::uint16_t distance;
};

class Search {
 public:
  Search(const Text& text, std::size_t from, std::size_t limit) : text_(text), from_(from), limit_(limit) {
    CollectChoices();
    for (auto& row : rows_) row.fill(-1);
  }

  // A state the search may start from, at no cost.
  void Seed(std::size_t pos, int id) { Relax(pos, id, 0, -1, 0, 0); }

  GuardedParse Run(const std::vector<std::size_t>& joins, bool mayEndStream) {
    GuardedParse out;
    auto join = joins.begin();
    for (std::size_t pos = from_; pos <= limit_; ++pos) {
      if (pos > reach_) {
        out.result = StretchResult::DeadEnd;
        return out;
      }
      auto& row = rows_[pos % kRows];
      while (join != joins.end() && *join < pos) ++join;
      const bool atJoin = join != joins.end() && *join == pos;
      const bool atEnd = mayEndStream && pos == text_.size();
      std::int32_t accepted = -1;
      for (int id = 0; id < kStates; ++id) {
        const std::int32_t n = row[id];
        if (n < 0) continue;
        const State s = StateOf(id);
        const bool ok = atEnd ? s.matcher == 0 && MayClose(s.mode, s.k) : atJoin && s.k == 0;
        if (ok && (accepted < 0 || nodes_[n].cost < nodes_[accepted].cost)) accepted = n;
      }
      if (accepted >= 0) {
        out.result = StretchResult::Found;
        out.end = pos;
        out.endState = StateOf(nodes_[accepted].id).matcher;
        for (std::int32_t n = accepted; n >= 0 && nodes_[n].length != 0; n = nodes_[n].prev) {
          out.items.push_back(Item{nodes_[n].length, nodes_[n].distance});
        }
        std::reverse(out.items.begin(), out.items.end());
        return out;
      }
      if (pos < limit_) {
        for (int id = 0; id < kStates; ++id) {
          if (row[id] >= 0) Expand(pos, id, row[id]);
        }
      }
      row.fill(-1);
    }
    out.result = StretchResult::NoJoin;
    return out;
  }

 private:
  static constexpr std::size_t kRows = 32;  // more than the longest item ahead

  // All distinct choices at every position of the stretch, from the run length of
  // every distance (the match length there, capped at 18), computed backwards.
  void CollectChoices() {
    const std::size_t count = limit_ - from_;
    begin_.assign(count + 1, 0);
    std::vector<std::vector<Choice>> perPos(count);
    std::array<std::uint8_t, kWindowSize + 1> run{};
    const std::size_t top = std::min(text_.size(), limit_ + kMaxMatch);
    for (std::size_t i = top; i-- > from_;) {
      const unsigned char* here = text_.at(i);
      const unsigned char c = *here;
      for (unsigned d = 1; d <= kWindowSize; ++d) {
        run[d] = *(here - d) == c ? static_cast<std::uint8_t>(std::min<unsigned>(run[d] + 1u, kMaxMatch)) : 0;
      }
      if (i >= limit_) continue;
      // Longest run per (class of the first byte, high nibble of the position).
      std::array<std::uint8_t, 64> bestLength{};
      std::array<std::uint16_t, 64> bestDistance{};
      for (unsigned d = 1; d <= kWindowSize; ++d) {
        if (run[d] < kMinMatch) continue;
        const unsigned p = RingPosition(i, d);
        const unsigned key = ClassOf(MatchByte0(p)) * 16 + (p >> 8);
        if (run[d] > bestLength[key]) {
          bestLength[key] = run[d];
          bestDistance[key] = static_cast<std::uint16_t>(d);
        }
      }
      std::array<std::uint16_t, 16 * 16> byLook{};  // [length - 3][first][second]
      for (unsigned key = 0; key < 64; ++key) {
        const unsigned p = RingPosition(i, bestDistance[key]);
        for (unsigned length = kMinMatch; length <= bestLength[key]; ++length) {
          const unsigned slot = (length - kMinMatch) * 16 + (key / 16) * 4 + ClassOf(MatchByte1(p, length));
          if (byLook[slot] == 0) byLook[slot] = bestDistance[key];
        }
      }
      auto& choices = perPos[i - from_];
      choices.push_back(Choice{1, ClassOf(c), kOther, 0});
      for (unsigned slot = 0; slot < byLook.size(); ++slot) {
        if (byLook[slot] == 0) continue;
        choices.push_back(Choice{static_cast<std::uint8_t>(slot / 16 + kMinMatch), static_cast<std::uint8_t>(slot / 4 % 4),
                                 static_cast<std::uint8_t>(slot % 4), byLook[slot]});
      }
    }
    for (std::size_t j = 0; j < count; ++j) {
      begin_[j] = choices_.size();
      choices_.insert(choices_.end(), perPos[j].begin(), perPos[j].end());
    }
    begin_[count] = choices_.size();
  }

  void Expand(std::size_t pos, int id, std::int32_t from) {
    const State s = StateOf(id);
    // At a boundary the control byte is decided: different from the pinnable byte
    // (the matcher drops to 0), or equal to it (the matcher advances).
    State variants[2];
    int nv = 0;
    if (s.k == 0) {
      const int p = PinnableFor(s.matcher);
      variants[nv++] = State{0, 0, kOpen + p};
      if (Step(s.matcher, ClassOf(kPinnable[p])) != kSignatureMatched) {
        variants[nv++] = State{0, s.matcher + 1, kPinned + p};
      }
    } else {
      variants[nv++] = s;
    }
    const std::uint32_t base = nodes_[from].cost;
    for (std::size_t c = begin_[pos - from_]; c < begin_[pos - from_ + 1]; ++c) {
      const Choice& choice = choices_[c];
      const std::size_t to = pos + choice.length;
      if (to > limit_) continue;
      const bool literal = choice.length == 1;
      for (int v = 0; v < nv; ++v) {
        State next = variants[v];
        if (next.mode != kFree) {
          const int p = (next.mode - 1) % 3;
          const bool bit = (kPinnable[p] >> next.k) & 1;
          if (bit != literal) {
            if (next.mode >= kPinned) continue;
            next.mode = kFree;
          }
        }
        next.matcher = Step(next.matcher, choice.first);
        if (next.matcher == kSignatureMatched) continue;
        if (!literal) {
          next.matcher = Step(next.matcher, choice.second);
          if (next.matcher == kSignatureMatched) continue;
        }
        next.k += 1;
        if (next.k == 8) {
          if (!MayClose(next.mode, 8)) continue;
          next.k = 0;
          next.mode = kFree;
        }
        Relax(to, IdOf(next), base + (literal ? kLiteralBits : kMatchBits), from, choice.length, choice.distance);
      }
    }
  }

  void Relax(std::size_t pos, int id, std::uint32_t cost, std::int32_t prev, unsigned length, unsigned distance) {
    std::int32_t& slot = rows_[pos % kRows][id];
    if (slot >= 0 && nodes_[slot].cost <= cost) return;
    slot = static_cast<std::int32_t>(nodes_.size());
    nodes_.push_back(Node{cost, prev, static_cast<std::uint16_t>(id), static_cast<std::uint16_t>(length),
                          static_cast<std::uint16_t>(distance)});
    reach_ = std::max(reach_, pos);
  }

  const Text& text_;
  std::size_t from_;
  std::size_t limit_;
  std::vector<Choice> choices_;
  std::vector<std::size_t> begin_;
  std::vector<Node> nodes_;
  std::array<std::array<std::int32_t, kStates>, kRows> rows_;
  std::size_t reach_ = 0;  // the furthest offset any state has reached
};

}  // namespace

GuardedParse ParseGuarded(const Text& text, const Stretch& stretch) {
  Search search(text, stretch.start, stretch.limit);
  search.Seed(stretch.start, stretch.stateBefore);
  return search.Run(stretch.joins, stretch.mayEndStream);
}

bool CanEndClean(const Text& text, std::size_t from) {
  // Every parse has an item boundary among any 18 consecutive offsets, so starting
  // from every state at each of them covers whatever precedes.
  Search search(text, from, text.size());
  for (std::size_t pos = from; pos < from + kMaxMatch && pos < text.size(); ++pos) {
    for (int id = 0; id < kStates; ++id) search.Seed(pos, id);
  }
  return search.Run({}, true).result == StretchResult::Found;
}

}  // namespace vorn::szdd
