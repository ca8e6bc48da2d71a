// The frames that carry a DDE conversation over a Unix-domain stream socket.
//
// Every frame is an eight-byte header followed by its payload:
//   bytes 0-1  magic "VD"
//   byte  2    version, 1
//   byte  3    type (FrameType)
//   bytes 4-7  payload length, little-endian, at most kMaxPayload
// Payload integers are little-endian; a name is a 16-bit length (1 to kMaxName) and
// that many bytes, none of them zero. A payload must be consumed exactly: trailing
// bytes make it malformed. Closing the socket ends the conversation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vorn::dde {

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kMaxPayload = 64 * 1024;
constexpr std::size_t kMaxName = 255;
// The most execute data one frame carries: the payload less its two integers.
constexpr std::size_t kMaxExecuteData = kMaxPayload - 8;

enum class FrameType : std::uint8_t {
  Connect = 1,       // client: service, topic, optional context
  ConnectReply = 2,  // server: accepted (1) or refused (0)
  Execute = 3,       // client: transaction id, format, command data
  ExecuteReply = 4,  // server: transaction id, acknowledgement flags
};

using Bytes = std::vector<std::uint8_t>;

struct Frame {
  FrameType type;
  Bytes payload;
};

// The conversation context a client may send (CONVCONTEXT without its size and
// quality of service).
struct ConnectContext {
  std::uint32_t flags = 0;
  std::uint32_t countryId = 0;
  std::int32_t codePage = 0;
  std::uint32_t languageId = 0;
  std::uint32_t security = 0;
};

struct ConnectRequest {
  std::string service;
  std::string topic;
  bool hasContext = false;
  ConnectContext context;
};

struct ExecuteRequest {
  std::uint32_t transaction = 0;
  std::uint32_t format = 0;
  Bytes data;
};

struct ExecuteReply {
  std::uint32_t transaction = 0;
  std::uint16_t status = 0;  // DDE_FACK, DDE_FBUSY and the application bits
};

// Whole frames, header included. Names and data must be within the limits.
Bytes ConnectFrame(const ConnectRequest& request);
Bytes ConnectReplyFrame(bool accepted);
Bytes ExecuteFrame(const ExecuteRequest& request);
Bytes ExecuteReplyFrame(const ExecuteReply& reply);

// Payload readers; false when the payload is malformed for its type.
bool ReadConnect(const Frame& frame, ConnectRequest* request);
bool ReadConnectReply(const Frame& frame, bool* accepted);
bool ReadExecute(const Frame& frame, ExecuteRequest* request);
bool ReadExecuteReply(const Frame& frame, ExecuteReply* reply);

// Cuts a byte stream into frames. A header with a wrong magic or version, an unknown
// type or an oversized length is refused before any of its payload is buffered, and
// the decoder then refuses everything after it: the peer is to be dropped.
class FrameDecoder {
 public:
  enum class Status { Frame, NeedMore, Malformed };

  void Feed(const std::uint8_t* data, std::size_t size);
  Status Next(Frame* frame);

 private:
  Bytes buffer_;
  bool broken_ = false;
};

}  // namespace vorn::dde
