// The DDE library's server side: registered service names and the loop that answers
// clients through the instance callback.
//
// A client is admitted only when its process runs as our user. It must open with one
// Connect frame and may then send Execute frames; anything else, or a malformed frame,
// drops that client and leaves the others and the server unharmed.
#include "platform/dde/server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/dde/library.h"

namespace vorn::dde {

namespace {

// Clients served at once by one instance; more are turned away at the door.
constexpr std::size_t kMaxClients = 64;
// How long a reply may take to leave when a client does not read its socket.
constexpr int kReplyTimeoutMs = 500;

Listener* FindService(Instance* instance, HSZ service) {
  for (auto& [hsz, listener] : instance->services) {
    if (hsz == service) return &listener;
  }
  return nullptr;
}

std::size_t ClientCount(DWORD id) {
  std::size_t count = 0;
  for (HCONV hConv : ConversationsOf(id)) count += FindConversation(hConv)->server ? 1 : 0;
  return count;
}

void AcceptClients(DWORD id, HSZ service) {
  for (;;) {
    Instance* instance = FindInstance(id);
    Listener* listener = instance != nullptr ? FindService(instance, service) : nullptr;
    if (listener == nullptr) return;
    const int fd = accept4(listener->fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    if (!PeerIsOurUser(fd) || ClientCount(id) >= kMaxClients) {
      close(fd);
      continue;
    }
    Conversation conversation;
    conversation.instance = id;
    conversation.server = true;
    conversation.fd = fd;
    conversation.service = AddStringReference(*StringOf(service));
    AddConversation(std::move(conversation));
  }
}

bool Reply(HCONV hConv, const Bytes& frame) {
  Conversation* conversation = FindConversation(hConv);
  if (conversation == nullptr) return false;
  if (SendAll(conversation->fd, frame, NowMs() + kReplyTimeoutMs)) return true;
  EndConversation(hConv, true);
  return false;
}

CONVCONTEXT ContextOf(const ConnectRequest& request) {
  CONVCONTEXT context{};
  context.cb = sizeof context;
  context.iCodePage = CP_WINANSI;
  if (request.hasContext) {
    context.wFlags = request.context.flags;
    context.wCountryID = request.context.countryId;
    context.iCodePage = request.context.codePage;
    context.dwLangID = request.context.languageId;
    context.dwSecurity = request.context.security;
  }
  context.qos.Length = sizeof context.qos;
  context.qos.ImpersonationLevel = SecurityImpersonation;
  return context;
}

void HandleConnect(HCONV hConv, const Frame& frame) {
  Conversation* conversation = FindConversation(hConv);
  ConnectRequest request;
  if (!ReadConnect(frame, &request)) {
    EndConversation(hConv, false);
    return;
  }
  Instance* instance = FindInstance(conversation->instance);
  // Names that share an atom are the same name ignoring case.
  HSZ asked = AddStringReference(request.service);
  const bool ours = asked == conversation->service;
  ReleaseStringReference(asked);
  if (!ours || (instance->flags & CBF_FAIL_CONNECTIONS) != 0) {
    Reply(hConv, ConnectReplyFrame(false));
    EndConversation(hConv, false);
    return;
  }
  conversation->topic = AddStringReference(request.topic);
  const HSZ topic = conversation->topic;
  const HSZ service = conversation->service;
  CONVCONTEXT context = ContextOf(request);
  const HDDEDATA answer = instance->callback(XTYP_CONNECT, 0, nullptr, topic, service, nullptr,
                                             reinterpret_cast<ULONG_PTR>(&context), 0);
  conversation = FindConversation(hConv);
  if (conversation == nullptr) return;
  if (answer == nullptr) {
    Reply(hConv, ConnectReplyFrame(false));
    EndConversation(hConv, false);
    return;
  }
  conversation->connected = true;
  if (!Reply(hConv, ConnectReplyFrame(true))) return;
  instance = FindInstance(conversation->instance);
  if (instance != nullptr && (instance->flags & CBF_SKIP_CONNECT_CONFIRMS) == 0) {
    instance->callback(XTYP_CONNECT_CONFIRM, 0, hConv, topic, service, nullptr, 0, 0);
  }
}

void HandleExecute(HCONV hConv, const Frame& frame) {
  Conversation* conversation = FindConversation(hConv);
  ExecuteRequest request;
  if (!ReadExecute(frame, &request)) {
    EndConversation(hConv, true);
    return;
  }
  Instance* instance = FindInstance(conversation->instance);
  std::uint16_t status = DDE_FNOTPROCESSED;
  if ((instance->flags & CBF_FAIL_EXECUTES) == 0) {
    const HDDEDATA data = NewData(std::move(request.data));
    const HDDEDATA answer =
        instance->callback(XTYP_EXECUTE, request.format, hConv, conversation->topic, nullptr, data, 0, 0);
    FreeData(data);
    if (answer == CBR_BLOCK) {
      // Deferred answers are not kept; the client may try again.
      status = DDE_FBUSY;
    } else {
      status = static_cast<std::uint16_t>(reinterpret_cast<std::uintptr_t>(answer) &
                                          (DDE_FACK | DDE_FBUSY | DDE_APPSTATUS));
    }
  }
  Reply(hConv, ExecuteReplyFrame({request.transaction, status}));
}

void ServeConversation(HCONV hConv) {
  Conversation* conversation = FindConversation(hConv);
  std::uint8_t buffer[4096];
  const ssize_t n = recv(conversation->fd, buffer, sizeof buffer, 0);
  if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
    EndConversation(hConv, true);
    return;
  }
  if (n > 0) conversation->decoder.Feed(buffer, static_cast<std::size_t>(n));
  while ((conversation = FindConversation(hConv)) != nullptr) {
    Frame frame;
    switch (conversation->decoder.Next(&frame)) {
      case FrameDecoder::Status::NeedMore: return;
      case FrameDecoder::Status::Malformed: EndConversation(hConv, true); return;
      case FrameDecoder::Status::Frame: break;
    }
    if (!conversation->connected) {
      HandleConnect(hConv, frame);
    } else {
      HandleExecute(hConv, frame);
    }
  }
}

}  // namespace

void CloseServices(Instance* instance) {
  for (auto& [hsz, listener] : instance->services) {
    Close(&listener);
    ReleaseStringReference(hsz);
  }
  instance->services.clear();
}

bool Serve(DWORD id, int timeoutMs) {
  Instance* instance = FindInstance(id);
  if (instance == nullptr) return false;
  std::vector<pollfd> fds;
  std::vector<HSZ> services;    // the source of each of the first entries
  std::vector<HCONV> clients;   // and of the rest
  for (const auto& [hsz, listener] : instance->services) {
    fds.push_back({listener.fd, POLLIN, 0});
    services.push_back(hsz);
  }
  for (HCONV hConv : ConversationsOf(id)) {
    const Conversation* conversation = FindConversation(hConv);
    if (!conversation->server) continue;
    fds.push_back({conversation->fd, POLLIN, 0});
    clients.push_back(hConv);
  }
  if (poll(fds.data(), fds.size(), timeoutMs) <= 0) return true;
  // Callbacks may end conversations, names or the instance itself: every step below
  // looks its objects up again.
  for (std::size_t i = 0; i < fds.size(); ++i) {
    if (fds[i].revents == 0) continue;
    if (i < services.size()) {
      AcceptClients(id, services[i]);
    } else if (FindConversation(clients[i - services.size()]) != nullptr) {
      ServeConversation(clients[i - services.size()]);
    }
  }
  return true;
}

}  // namespace vorn::dde

using namespace vorn::dde;

HDDEDATA WINAPI DdeNameService(DWORD idInst, HSZ hsz1, HSZ hsz2, UINT afCmd) {
  Instance* instance = FindInstance(idInst);
  if (instance == nullptr) return nullptr;
  const bool registering = (afCmd & DNS_REGISTER) != 0;
  const bool unregistering = (afCmd & DNS_UNREGISTER) != 0;
  if ((instance->flags & APPCMD_CLIENTONLY) != 0) {
    instance->lastError = DMLERR_DLL_USAGE;
    return nullptr;
  }
  // Clients only ever reach the names a server registered, so the filter cannot be off.
  if ((registering && unregistering) || (afCmd & DNS_FILTEROFF) != 0 || hsz2 != nullptr) {
    instance->lastError = DMLERR_INVALIDPARAMETER;
    return nullptr;
  }
  if (registering) {
    const std::string* name = StringOf(hsz1);
    if (name == nullptr) {
      instance->lastError = DMLERR_INVALIDPARAMETER;
      return nullptr;
    }
    if (FindService(instance, hsz1) == nullptr) {
      Listener listener;
      if (Listen(*name, &listener) != vorn::Error::None) {
        instance->lastError = DMLERR_SYS_ERROR;
        return nullptr;
      }
      instance->services.emplace_back(AddStringReference(*name), listener);
    }
  } else if (unregistering && hsz1 == nullptr) {
    CloseServices(instance);
  } else if (unregistering) {
    auto& services = instance->services;
    auto it = services.begin();
    while (it != services.end() && it->first != hsz1) ++it;
    if (it == services.end()) {
      instance->lastError = DMLERR_INVALIDPARAMETER;
      return nullptr;
    }
    Close(&it->second);
    ReleaseStringReference(it->first);
    services.erase(it);
  }
  return reinterpret_cast<HDDEDATA>(static_cast<std::uintptr_t>(TRUE));
}
