// Encoding and decoding of the conversation frames.
#include "platform/dde/frame.h"

namespace vorn::dde {

namespace {

constexpr std::uint8_t kMagic0 = 'V';
constexpr std::uint8_t kMagic1 = 'D';
constexpr std::uint8_t kVersion = 1;

bool KnownType(std::uint8_t type) {
  return type >= static_cast<std::uint8_t>(FrameType::Connect) &&
         type <= static_cast<std::uint8_t>(FrameType::ExecuteReply);
}

class Writer {
 public:
  void U8(std::uint8_t v) { bytes_.push_back(v); }
  void U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(static_cast<std::uint16_t>(v));
    U16(static_cast<std::uint16_t>(v >> 16));
  }
  void Name(const std::string& name) {
    U16(static_cast<std::uint16_t>(name.size()));
    bytes_.insert(bytes_.end(), name.begin(), name.end());
  }
  void Raw(const Bytes& data) { bytes_.insert(bytes_.end(), data.begin(), data.end()); }

  Bytes Finish(FrameType type) const {
    Bytes frame = {kMagic0, kMagic1, kVersion, static_cast<std::uint8_t>(type)};
    const auto length = static_cast<std::uint32_t>(bytes_.size());
    for (int shift = 0; shift < 32; shift += 8) frame.push_back(static_cast<std::uint8_t>(length >> shift));
    frame.insert(frame.end(), bytes_.begin(), bytes_.end());
    return frame;
  }

 private:
  Bytes bytes_;
};

// Reads a payload front to back; any read past its end fails the whole reader.
class Reader {
 public:
  explicit Reader(const Bytes& bytes) : bytes_(bytes) {}

  bool U8(std::uint8_t* v) {
    if (!Need(1)) return false;
    *v = bytes_[pos_++];
    return true;
  }
  bool U16(std::uint16_t* v) {
    std::uint8_t lo, hi;
    if (!U8(&lo) || !U8(&hi)) return false;
    *v = static_cast<std::uint16_t>(lo | hi << 8);
    return true;
  }
  bool U32(std::uint32_t* v) {
    std::uint16_t lo, hi;
    if (!U16(&lo) || !U16(&hi)) return false;
    *v = static_cast<std::uint32_t>(lo) | static_cast<std::uint32_t>(hi) << 16;
    return true;
  }
  bool Name(std::string* name) {
    std::uint16_t length;
    if (!U16(&length) || length == 0 || length > kMaxName || !Need(length)) return false;
    name->assign(reinterpret_cast<const char*>(&bytes_[pos_]), length);
    pos_ += length;
    return name->find('\0') == std::string::npos;
  }
  void Rest(Bytes* data) {
    data->assign(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_), bytes_.end());
    pos_ = bytes_.size();
  }
  bool AtEnd() const { return pos_ == bytes_.size(); }

 private:
  bool Need(std::size_t n) const { return bytes_.size() - pos_ >= n; }

  const Bytes& bytes_;
  std::size_t pos_ = 0;
};

}  // namespace

Bytes ConnectFrame(const ConnectRequest& request) {
  Writer w;
  w.Name(request.service);
  w.Name(request.topic);
  w.U8(request.hasContext ? 1 : 0);
  if (request.hasContext) {
    w.U32(request.context.flags);
    w.U32(request.context.countryId);
    w.U32(static_cast<std::uint32_t>(request.context.codePage));
    w.U32(request.context.languageId);
    w.U32(request.context.security);
  }
  return w.Finish(FrameType::Connect);
}

Bytes ConnectReplyFrame(bool accepted) {
  Writer w;
  w.U8(accepted ? 1 : 0);
  return w.Finish(FrameType::ConnectReply);
}

Bytes ExecuteFrame(const ExecuteRequest& request) {
  Writer w;
  w.U32(request.transaction);
  w.U32(request.format);
  w.Raw(request.data);
  return w.Finish(FrameType::Execute);
}

Bytes ExecuteReplyFrame(const ExecuteReply& reply) {
  Writer w;
  w.U32(reply.transaction);
  w.U16(reply.status);
  return w.Finish(FrameType::ExecuteReply);
}

bool ReadConnect(const Frame& frame, ConnectRequest* request) {
  if (frame.type != FrameType::Connect) return false;
  Reader r(frame.payload);
  std::uint8_t hasContext;
  if (!r.Name(&request->service) || !r.Name(&request->topic) || !r.U8(&hasContext) || hasContext > 1) return false;
  request->hasContext = hasContext == 1;
  if (request->hasContext) {
    std::uint32_t codePage;
    if (!r.U32(&request->context.flags) || !r.U32(&request->context.countryId) || !r.U32(&codePage) ||
        !r.U32(&request->context.languageId) || !r.U32(&request->context.security)) {
      return false;
    }
    request->context.codePage = static_cast<std::int32_t>(codePage);
  }
  return r.AtEnd();
}

bool ReadConnectReply(const Frame& frame, bool* accepted) {
  if (frame.type != FrameType::ConnectReply) return false;
  Reader r(frame.payload);
  std::uint8_t value;
  if (!r.U8(&value) || value > 1) return false;
  *accepted = value == 1;
  return r.AtEnd();
}

bool ReadExecute(const Frame& frame, ExecuteRequest* request) {
  if (frame.type != FrameType::Execute) return false;
  Reader r(frame.payload);
  if (!r.U32(&request->transaction) || !r.U32(&request->format)) return false;
  r.Rest(&request->data);
  return true;
}

bool ReadExecuteReply(const Frame& frame, ExecuteReply* reply) {
  if (frame.type != FrameType::ExecuteReply) return false;
  Reader r(frame.payload);
  return r.U32(&reply->transaction) && r.U16(&reply->status) && r.AtEnd();
}

void FrameDecoder::Feed(const std::uint8_t* data, std::size_t size) {
  if (!broken_) buffer_.insert(buffer_.end(), data, data + size);
}

FrameDecoder::Status FrameDecoder::Next(Frame* frame) {
  if (broken_) return Status::Malformed;
  if (buffer_.size() < kHeaderSize) return Status::NeedMore;
  const std::uint32_t length = static_cast<std::uint32_t>(buffer_[4]) | static_cast<std::uint32_t>(buffer_[5]) << 8 |
                               static_cast<std::uint32_t>(buffer_[6]) << 16 |
                               static_cast<std::uint32_t>(buffer_[7]) << 24;
  if (buffer_[0] != kMagic0 || buffer_[1] != kMagic1 || buffer_[2] != kVersion || !KnownType(buffer_[3]) ||
      length > kMaxPayload) {
    broken_ = true;
    buffer_.clear();
    return Status::Malformed;
  }
  if (buffer_.size() - kHeaderSize < length) return Status::NeedMore;
  frame->type = static_cast<FrameType>(buffer_[3]);
  const auto payloadBegin = buffer_.begin() + static_cast<std::ptrdiff_t>(kHeaderSize);
  const auto payloadEnd = payloadBegin + static_cast<std::ptrdiff_t>(length);
  frame->payload.assign(payloadBegin, payloadEnd);
  buffer_.erase(buffer_.begin(), payloadEnd);
  return Status::Frame;
}

}  // namespace vorn::dde
