// The encoder emits the optimal parse group by group and checks every closed
// group with the installer's matcher. Where a group completes the signature (or the
// stream would end inside a partial one), it re-parses a stretch around the place
// with the guarded parse, from a few groups before it to a boundary of the optimal
// parse after it, and widens the stretch until that succeeds. A stretch that starts
// at the first byte and still finds no way through proves there is none.
#include "tools/szdd/encoder.h"

#include <algorithm>
#include <limits>

#include "tools/szdd/format.h"
#include "tools/szdd/guarded_parse.h"
#include "tools/szdd/optimal_parse.h"
#include "tools/szdd/signature.h"

namespace vorn::szdd {

namespace {

// Writes items as groups of eight behind one control byte each, and follows the
// installer's matcher over every byte once its group is complete.
class GroupWriter {
 public:
  struct Group {
    std::size_t outAt;    // offset of its control byte
    std::size_t inputAt;  // data offset of its first item
    int stateBefore;      // the matcher's state before its control byte
  };
  // Where a closed group completed the signature, or the stream ended inside one.
  struct Fault {
    std::size_t group;        // the group that holds the first byte of the signature
    std::size_t inputOffset;  // the data offset of the item that wrote that byte
    bool trailing;            // the stream ends inside a partial signature
  };

  GroupWriter(const Text& text, std::vector<unsigned char>* out, int state) : text_(text), out_(*out), state_(state) {}

  std::size_t inputAt() const { return inputAt_; }
  const Group& group(std::size_t g) const { return groups_[g]; }

  // Appends one item; false when it closed a group that completes the signature.
  bool Append(const Item& item) {
    if (count_ == 0) {
      groups_.push_back(Group{out_.size(), inputAt_, state_});
      previous_ = current_;
      current_.count = 0;
      control_ = 0;
      out_.push_back(0);
    }
    current_.itemOutAt[count_] = out_.size();
    current_.itemInputAt[count_] = inputAt_;
    current_.count = count_ + 1;
    if (item.length == 1) {
      control_ |= 1u << count_;
      out_.push_back(*text_.at(inputAt_));
    } else {
      const unsigned position = RingPosition(inputAt_, item.distance);
      out_.push_back(MatchByte0(position));
      out_.push_back(MatchByte1(position, item.length));
    }
    inputAt_ += item.length;
    return ++count_ < 8 || CloseGroup();
  }

  // Closes the last group; false when the stream holds the signature or ends
  // inside a partial one.
  bool Finish() {
    if (count_ > 0 && !CloseGroup()) return false;
    if (state_ == 0) return true;
    fault_ = Locate(out_.size() - static_cast<std::size_t>(state_));
    fault_.trailing = true;
    return false;
  }

  const Fault& fault() const { return fault_; }

  // Takes back every group from `g` on.
  void RewindTo(std::size_t g) {
    const Group& group = groups_[g];
    out_.resize(group.outAt);
    inputAt_ = group.inputAt;
    state_ = group.stateBefore;
    groups_.resize(g);
    count_ = 0;
    current_.count = 0;
    previous_.count = 0;
  }

 private:
  struct ItemsOfGroup {
    std::size_t itemOutAt[8];
    std::size_t itemInputAt[8];
    int count = 0;
  };

  bool CloseGroup() {
    const std::size_t at = groups_.back().outAt;
    out_[at] = static_cast<unsigned char>(control_);
    count_ = 0;
    for (std::size_t i = at; i < out_.size(); ++i) {
      state_ = NextMatchState(state_, out_[i]);
      if (state_ == kSignatureMatched) {
        state_ = 0;
        fault_ = Locate(i + 1 - sizeof kSignature);
        return false;
      }
    }
    return true;
  }

  // The group and the item that wrote output byte `outAt`. A signature spans at
  // most two groups, so it lies in the last group or the one before; only when it
  // starts in the header's length field does it lie before them.
  Fault Locate(std::size_t outAt) const {
    const std::size_t last = groups_.size() - 1;
    const bool inLast = outAt >= groups_[last].outAt;
    if (!inLast && (last == 0 || outAt < groups_[last - 1].outAt)) return Fault{0, 0, false};
    const std::size_t g = inLast ? last : last - 1;
    const ItemsOfGroup& items = inLast ? current_ : previous_;
    std::size_t input = groups_[g].inputAt;  // a control byte counts as its group's start
    for (int j = 0; j < items.count && items.itemOutAt[j] <= outAt; ++j) input = items.itemInputAt[j];
    return Fault{g, input, false};
  }

  const Text& text_;
  std::vector<unsigned char>& out_;
  int state_;
  std::size_t inputAt_ = 0;
  std::vector<Group> groups_;
  ItemsOfGroup current_;
  ItemsOfGroup previous_;
  unsigned control_ = 0;
  int count_ = 0;
  Fault fault_{0, 0, false};
};

// The optimal parse, walked from one item boundary to the next.
class ParseCursor {
 public:
  explicit ParseCursor(const std::vector<Item>& items) : items_(items) {}
  bool done() const { return index_ == items_.size(); }
  const Item& item() const { return items_[index_]; }
  void Next() { at_ += items_[index_++].length; }
  // Moves to the item boundary at `offset`, which must be one.
  void MoveTo(std::size_t offset) {
    while (at_ < offset) Next();
  }
  // The item boundaries from `lo` to `hi`, ahead of the cursor.
  std::vector<std::size_t> BoundariesIn(std::size_t lo, std::size_t hi) const {
    std::vector<std::size_t> out;
    std::size_t at = at_;
    for (std::size_t i = index_; at <= hi; at += items_[i++].length) {
      if (at >= lo) out.push_back(at);
      if (i == items_.size()) break;
    }
    return out;
  }

 private:
  const std::vector<Item>& items_;
  std::size_t index_ = 0;
  std::size_t at_ = 0;
};

// How far before the end the probe for a clean end of the stream starts.
constexpr std::size_t kTailProbe = 4 * kMaxMatch;

EncodeResult Refuse(const std::string& name, const GroupWriter::Fault& fault) {
  EncodeResult result;
  result.error = name + ": offset " + std::to_string(fault.inputOffset) + ": " +
                 (fault.trailing ? "no encoding avoids ending the stream in the first bytes of the signature \"SZDD\""
                                 : "no encoding avoids the signature bytes \"SZDD\" here");
  return result;
}

}  // namespace

EncodeResult Encode(const std::string& name, const unsigned char* data, std::size_t size) {
  EncodeResult result;
  if (size > std::numeric_limits<std::uint32_t>::max()) {
    result.error = name + ": " + std::to_string(size) + " bytes is more than a stream's length field holds";
    return result;
  }
  std::vector<unsigned char>& out = result.stream;
  out.reserve(kHeaderSize + size + size / 8 + 1);
  AppendHeader(&out, static_cast<std::uint32_t>(size));
  // The scanner matches the signature at the stream start and starts again from 0.
  int state = 0;
  for (std::size_t i = sizeof kSignature; i < out.size(); ++i) {
    state = NextMatchState(state, out[i]);
    if (state == kSignatureMatched) {
      result.stream.clear();
      result.error = name + ": its length, " + std::to_string(size) + ", spells the signature in the stream header";
      return result;
    }
  }

  const Text text(data, size);
  const std::vector<Item> parse = OptimalParse(text);
  ParseCursor cursor(parse);
  GroupWriter writer(text, &out, state);

  // Re-parses around the last fault; false when no encoding avoids it.
  auto repair = [&]() {
    const GroupWriter::Fault fault = writer.fault();
    const bool atEnd = cursor.done();
    if (atEnd && size >= kTailProbe + kMaxMatch && !CanEndClean(text, size - kTailProbe)) return false;
    const std::size_t after = std::min(size, writer.inputAt() + 2 * kMaxMatch);
    for (unsigned widen = 0;; ++widen) {
      const unsigned shift = std::min(widen, 40u);
      const std::size_t back = std::size_t{2} << shift;
      const std::size_t ahead = std::size_t{64} << shift;
      const std::size_t g = fault.group > back ? fault.group - back : 0;
      Stretch stretch;
      stretch.start = writer.group(g).inputAt;
      stretch.stateBefore = writer.group(g).stateBefore;
      stretch.limit = size - after > ahead ? after + ahead : size;
      stretch.mayEndStream = stretch.limit == size;
      if (!atEnd) stretch.joins = cursor.BoundariesIn(after, std::min(stretch.limit, size - 1));
      const GuardedParse guarded = ParseGuarded(text, stretch);
      if (guarded.result == StretchResult::Found) {
        writer.RewindTo(g);
        for (const Item& item : guarded.items) {
          if (!writer.Append(item)) return false;  // cannot happen: the parse was guarded
        }
        cursor.MoveTo(guarded.end);
        return true;
      }
      // From the first byte, a dead end, or no clean end of the whole stream, is proof.
      if (g == 0 && (guarded.result == StretchResult::DeadEnd || stretch.mayEndStream)) return false;
    }
  };

  for (;;) {
    while (!cursor.done()) {
      const Item item = cursor.item();
      cursor.Next();
      if (!writer.Append(item) && !repair()) return Refuse(name, writer.fault());
    }
    if (writer.Finish()) break;
    if (!repair()) return Refuse(name, writer.fault());
  }
  return result;
}

}  // namespace vorn::szdd
