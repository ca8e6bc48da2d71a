// Building and checking installer images.
#include "tools/mkimage/image.h"

#include <cinttypes>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "engine/manifest.h"
#include "engine/payload.h"
#include "platform/lz/szdd.h"
#include "tools/szdd/encoder.h"
#include "tools/szdd/signature.h"

namespace vorn::mkimage {

namespace {

// The record the head carries for the sum: the tag with its terminator, then the
// value, little-endian.
constexpr std::string_view kStampTag{CHECKSUM_STAMP_TAG, sizeof CHECKSUM_STAMP_TAG};
constexpr std::size_t kStampSize = sizeof(ChecksumStamp);
static_assert(offsetof(ChecksumStamp, value) == sizeof CHECKSUM_STAMP_TAG, "the value follows the tag");

std::vector<std::size_t> FindStampTags(const Bytes& bytes, std::size_t end) {
  std::vector<std::size_t> found;
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), end);
  for (std::size_t at = text.find(kStampTag); at != std::string_view::npos; at = text.find(kStampTag, at + 1)) {
    found.push_back(at);
  }
  return found;
}

std::string Offset(std::uint64_t offset) { return "offset " + std::to_string(offset); }

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08" PRIX32, value);
  return text;
}

int MatchStateAtEnd(const Bytes& bytes) {
  int state = 0;
  for (unsigned char b : bytes) {
    state = szdd::NextMatchState(state, b);
    if (state == szdd::kSignatureMatched) state = 0;
  }
  return state;
}

std::uint32_t PayloadSum(const Bytes& image, std::size_t firstSignature) {
  std::int32_t sum = 0;
  int weight = 1;
  for (std::size_t i = firstSignature + sizeof szdd::kSignature; i < image.size(); ++i) {
    AddToChecksum(&sum, &weight, image[i]);
  }
  return static_cast<std::uint32_t>(sum);
}

// The stream's compressed data, read from memory; the expansion is kept or counted.
class ChunkIo : public lz::Io {
 public:
  ChunkIo(const unsigned char* data, std::size_t size, Bytes* out) : data_(data), size_(size), out_(out) {}
  long Read(unsigned char* buffer, std::size_t size) override {
    const std::size_t n = std::min(size, size_ - pos_);
    std::memcpy(buffer, data_ + pos_, n);
    pos_ += n;
    return static_cast<long>(n);
  }
  bool Write(const unsigned char* buffer, std::size_t size) override {
    if (out_ != nullptr) out_->insert(out_->end(), buffer, buffer + size);
    return true;
  }

 private:
  const unsigned char* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  Bytes* out_;
};

// Checks the chunk that starts at a signature: a mode "A" header whose data
// expands to the declared length before the chunk ends. The first signature that
// begins no header most likely stands in the head.
std::string CheckStream(const Bytes& image, bool first, StreamInfo* stream, Bytes* expanded) {
  const unsigned char* at = image.data() + stream->offset;
  lz::Header header;
  if (!lz::ParseHeader(at, stream->chunkSize, &header)) {
    return Offset(stream->offset) + ": the signature does not begin an SZDD header" +
           (first ? " (a signature in the head?)" : "");
  }
  if (header.mode != lz::kModeA) {
    return Offset(stream->offset) + ": the stream's compression mode is not \"A\"";
  }
  stream->length = header.length;
  ChunkIo io(at + lz::kHeaderSize, stream->chunkSize - lz::kHeaderSize, expanded);
  std::uint64_t written = 0;
  if (lz::ExpandModeA(io, header.length, &written) != lz::Status::Ok || written != header.length) {
    return Offset(stream->offset) + ": the stream's data ends before the " + std::to_string(header.length) +
           " bytes its header declares";
  }
  return {};
}

}  // namespace

Inspection InspectImage(const Bytes& image, std::vector<Bytes>* expanded) {
  Inspection result;
  const std::vector<std::uint64_t> starts = szdd::FindSignatures(image.data(), image.size());
  if (starts.empty()) {
    result.problem = "no stream signature in the image";
    return result;
  }
  result.headSize = starts[0];
  for (std::size_t i = 0; i < starts.size(); ++i) {
    StreamInfo stream;
    stream.offset = starts[i];
    stream.chunkSize = (i + 1 < starts.size() ? starts[i + 1] : image.size()) - starts[i];
    stream.name = i < kManifestEntries ? InstallManifest[i] : "(no manifest entry)";
    Bytes* out = nullptr;
    if (expanded != nullptr) out = &expanded->emplace_back();
    result.problem = CheckStream(image, i == 0, &stream, out);
    result.streams.push_back(stream);
    if (!result.ok()) return result;
  }
  if (starts.size() != kManifestEntries) {
    result.problem = "the image holds " + std::to_string(starts.size()) + " streams, not " +
                     std::to_string(kManifestEntries) + "; the first at " + Offset(starts[0]);
    return result;
  }
  const std::vector<std::size_t> tags = FindStampTags(image, result.headSize);
  if (tags.size() != 1) {
    result.problem = "the head holds the checksum record's tag " + std::to_string(tags.size()) + " times, not once";
    return result;
  }
  const unsigned char* value = image.data() + tags[0] + kStampTag.size();
  result.stamped = static_cast<std::uint32_t>(value[0]) | static_cast<std::uint32_t>(value[1]) << 8 |
                   static_cast<std::uint32_t>(value[2]) << 16 | static_cast<std::uint32_t>(value[3]) << 24;
  result.sum = PayloadSum(image, result.headSize);
  if (result.sum != result.stamped) {
    result.problem = "the payload's sum is " + Hex(result.sum) + ", the head (" + Offset(tags[0]) + ") expects " +
                     Hex(result.stamped);
  }
  return result;
}

std::string Summary(const Inspection& inspection) {
  const std::uint64_t payload =
      inspection.streams.empty() ? 0 : inspection.streams.back().offset + inspection.streams.back().chunkSize -
                                           inspection.headSize;
  return "ok: head " + std::to_string(inspection.headSize) + " bytes, " + std::to_string(inspection.streams.size()) +
         " streams, payload " + std::to_string(payload) + " bytes, sum " + Hex(inspection.sum);
}

bool BuildImage(const Bytes& head, const std::vector<PackageFile>& files, Bytes* image, std::string* error) {
  image->clear();
  if (files.size() != kManifestEntries) {
    *error = "a package has " + std::to_string(kManifestEntries) + " files, not " + std::to_string(files.size());
    return false;
  }
  const std::vector<std::size_t> tags = FindStampTags(head, head.size());
  if (tags.size() != 1 || tags[0] + kStampSize > head.size()) {
    *error = "the head holds the checksum record's tag " + std::to_string(tags.size()) + " times, not once";
    return false;
  }

  const std::vector<std::uint64_t> inHead = szdd::FindSignatures(head.data(), head.size());
  if (!inHead.empty()) {
    *error = "the head holds the signature at " + Offset(inHead[0]);
    return false;
  }
  if (MatchStateAtEnd(head) != 0) {
    *error = "the head ends in the first bytes of the signature, which would hide the first stream's";
    return false;
  }

  Bytes built = head;
  for (const PackageFile& file : files) {
    szdd::EncodeResult stream = szdd::Encode(file.name, file.data.data(), file.data.size());
    if (!stream.ok()) {
      *error = stream.error;
      return false;
    }
    built.insert(built.end(), stream.stream.begin(), stream.stream.end());
  }
  const std::uint32_t sum = PayloadSum(built, head.size());
  for (int i = 0; i < 4; ++i) {
    built[tags[0] + kStampTag.size() + i] = static_cast<unsigned char>(sum >> (8 * i));
  }

  std::vector<Bytes> expanded;
  const Inspection inspection = InspectImage(built, &expanded);
  if (!inspection.ok()) {
    *error = "the image fails its check: " + inspection.problem;
    return false;
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (expanded[i] != files[i].data) {
      *error = files[i].name + ": its stream does not expand to the file";
      return false;
    }
  }
  *image = std::move(built);
  return true;
}

}  // namespace vorn::mkimage
