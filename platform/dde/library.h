// The state of the DDE library inside one process: instances, string atoms, data
// objects and conversations, shared by the client calls and the server loop.
// The library is used from one thread, like the real one from its instance's thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/api/dde.h"
#include "platform/dde/frame.h"
#include "platform/dde/transport.h"

namespace vorn::dde {

struct Instance {
  PFNCALLBACK callback = nullptr;
  DWORD flags = 0;
  UINT lastError = DMLERR_NO_ERROR;
  std::vector<HSZ> strings;  // one entry per DdeCreateStringHandleA not yet freed
  std::vector<std::pair<HSZ, Listener>> services;
};

struct Conversation {
  DWORD instance = 0;
  bool server = false;     // our end answers it
  bool connected = false;  // the server side has accepted XTYP_CONNECT
  int fd = -1;
  HSZ service = nullptr;  // references held for the conversation's life
  HSZ topic = nullptr;
  FrameDecoder decoder;
  std::uint32_t nextTransaction = 1;
};

// How long DdeConnect waits for a server to accept or refuse.
constexpr int kConnectTimeoutMs = 2000;

Instance* FindInstance(DWORD id);
// Records the error as the instance's last one (DdeGetLastError) when the instance exists.
void Fail(DWORD instance, UINT error);

// String atoms: one per name ignoring case, counted references.
HSZ AddStringReference(std::string_view text);
void ReleaseStringReference(HSZ hsz);
// The text of a live atom, or nullptr.
const std::string* StringOf(HSZ hsz);

HDDEDATA NewData(Bytes bytes);
void FreeData(HDDEDATA data);

HCONV AddConversation(Conversation conversation);
Conversation* FindConversation(HCONV hConv);
// Closes the socket and forgets the conversation; a server end that had accepted tells
// its callback with XTYP_DISCONNECT when asked to and the instance does not skip it.
void EndConversation(HCONV hConv, bool notify);
// The conversations of an instance, by handle.
std::vector<HCONV> ConversationsOf(DWORD instance);

// Closes every registered service of the instance (server.cpp).
void CloseServices(Instance* instance);

}  // namespace vorn::dde
