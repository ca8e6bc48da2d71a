// The conversation frames: what goes out comes back, in any slicing of the stream, and
// whatever is malformed or oversized is refused.
#include <gtest/gtest.h>

#include "platform/dde/frame.h"

namespace vorn::dde {
namespace {

Frame DecodeOne(const Bytes& bytes) {
  FrameDecoder decoder;
  decoder.Feed(bytes.data(), bytes.size());
  Frame frame;
  EXPECT_EQ(decoder.Next(&frame), FrameDecoder::Status::Frame);
  return frame;
}

Bytes Header(std::uint8_t type, std::uint32_t length) {
  return {'V', 'D', 1, type, static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
          static_cast<std::uint8_t>(length >> 16), static_cast<std::uint8_t>(length >> 24)};
}

Bytes WithPayload(std::uint8_t type, const Bytes& payload) {
  Bytes frame = Header(type, static_cast<std::uint32_t>(payload.size()));
  frame.insert(frame.end(), payload.begin(), payload.end());
  return frame;
}

TEST(DdeFrame, EveryFrameComesBackAsSent) {
  ConnectRequest connect{"PROGMAN", "Progman", true, {1, 49, 1004, 0x409, 77}};
  ConnectRequest decodedConnect;
  ASSERT_TRUE(ReadConnect(DecodeOne(ConnectFrame(connect)), &decodedConnect));
  EXPECT_EQ(decodedConnect.service, "PROGMAN");
  EXPECT_EQ(decodedConnect.topic, "Progman");
  EXPECT_TRUE(decodedConnect.hasContext);
  EXPECT_EQ(decodedConnect.context.countryId, 49u);
  EXPECT_EQ(decodedConnect.context.codePage, 1004);
  EXPECT_EQ(decodedConnect.context.security, 77u);

  bool accepted = false;
  ASSERT_TRUE(ReadConnectReply(DecodeOne(ConnectReplyFrame(true)), &accepted));
  EXPECT_TRUE(accepted);

  ExecuteRequest execute{7, 1, {'[', 'x', ']', 0}};
  ExecuteRequest decodedExecute;
  ASSERT_TRUE(ReadExecute(DecodeOne(ExecuteFrame(execute)), &decodedExecute));
  EXPECT_EQ(decodedExecute.transaction, 7u);
  EXPECT_EQ(decodedExecute.format, 1u);
  EXPECT_EQ(decodedExecute.data, execute.data);

  ExecuteReply reply;
  ASSERT_TRUE(ReadExecuteReply(DecodeOne(ExecuteReplyFrame({9, 0x8000})), &reply));
  EXPECT_EQ(reply.transaction, 9u);
  EXPECT_EQ(reply.status, 0x8000);
}

TEST(DdeFrame, AStreamFedByteByByteGivesTheSameFrames) {
  Bytes stream = ExecuteFrame({1, 1, Bytes(5000, 'a')});
  const Bytes second = ExecuteReplyFrame({2, 0});
  stream.insert(stream.end(), second.begin(), second.end());
  FrameDecoder decoder;
  std::vector<Frame> frames;
  for (std::uint8_t byte : stream) {
    decoder.Feed(&byte, 1);
    Frame frame;
    while (decoder.Next(&frame) == FrameDecoder::Status::Frame) frames.push_back(frame);
  }
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].payload.size(), 8u + 5000u);
  EXPECT_EQ(frames[1].type, FrameType::ExecuteReply);
}

TEST(DdeFrame, BadHeadersAreRefusedAndSoIsEverythingAfter) {
  const struct {
    const char* what;
    Bytes header;
  } cases[] = {
      {"magic", {'X', 'D', 1, 3, 0, 0, 0, 0}},
      {"version", {'V', 'D', 2, 3, 0, 0, 0, 0}},
      {"type 0", Header(0, 0)},
      {"type 5", Header(5, 0)},
      {"one byte over the limit", Header(3, kMaxPayload + 1)},
      {"four gigabytes", Header(3, 0xFFFFFFFF)},
  };
  for (const auto& c : cases) {
    FrameDecoder decoder;
    decoder.Feed(c.header.data(), c.header.size());
    Frame frame;
    // The verdict comes from the header alone: no payload is waited for.
    EXPECT_EQ(decoder.Next(&frame), FrameDecoder::Status::Malformed) << c.what;
    const Bytes good = ConnectReplyFrame(true);
    decoder.Feed(good.data(), good.size());
    EXPECT_EQ(decoder.Next(&frame), FrameDecoder::Status::Malformed) << c.what;
  }
}

TEST(DdeFrame, TheLargestPayloadIsAccepted) {
  const Bytes frame = ExecuteFrame({1, 1, Bytes(kMaxExecuteData, 'x')});
  ExecuteRequest request;
  ASSERT_TRUE(ReadExecute(DecodeOne(frame), &request));
  EXPECT_EQ(request.data.size(), kMaxExecuteData);
}

TEST(DdeFrame, MalformedPayloadsAreRefused) {
  const Bytes name = {7, 0, 'P', 'R', 'O', 'G', 'M', 'A', 'N'};
  auto connect = [&](Bytes tail, Bytes first = {}) {
    Bytes payload = first.empty() ? name : first;
    payload.insert(payload.end(), name.begin(), name.end());
    payload.insert(payload.end(), tail.begin(), tail.end());
    return WithPayload(1, payload);
  };
  const struct {
    const char* what;
    Bytes frame;
  } cases[] = {
      {"connect without its context flag", connect({})},
      {"context flag 2", connect({2})},
      {"context cut short", connect({1, 0, 0, 0})},
      {"trailing byte", connect({0, 0})},
      {"empty service name", connect({0}, {0, 0})},
      {"name longer than it says", WithPayload(1, {9, 0, 'P', 'R'})},
      {"NUL inside a name", connect({0}, {2, 0, 'P', 0})},
      {"name over 255 bytes", connect({0}, [] {
         Bytes b = {0, 1};
         b.resize(2 + 256, 'a');
         return b;
       }())},
      {"reply 2", WithPayload(2, {2})},
      {"reply with a trailing byte", WithPayload(2, {1, 0})},
      {"execute without its format", WithPayload(3, {1, 0, 0, 0})},
      {"execute reply cut short", WithPayload(4, {1, 0, 0, 0, 0})},
  };
  for (const auto& c : cases) {
    const Frame frame = DecodeOne(c.frame);
    ConnectRequest connectRequest;
    bool accepted;
    ExecuteRequest execute;
    ExecuteReply reply;
    const bool read = ReadConnect(frame, &connectRequest) || ReadConnectReply(frame, &accepted) ||
                      ReadExecute(frame, &execute) || ReadExecuteReply(frame, &reply);
    EXPECT_FALSE(read) << c.what;
  }
}

TEST(DdeFrame, AReaderTakesOnlyItsOwnType) {
  ConnectRequest connect;
  EXPECT_FALSE(ReadConnect(DecodeOne(ExecuteReplyFrame({1, 0})), &connect));
  ExecuteRequest execute;
  EXPECT_FALSE(ReadExecute(DecodeOne(ConnectReplyFrame(true)), &execute));
}

}  // namespace
}  // namespace vorn::dde
