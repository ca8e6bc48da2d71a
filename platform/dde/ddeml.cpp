// The DDE library's instances, string and data handles, and its client side: connecting
// to a service and running synchronous execute transactions with a time-out.
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/dde/library.h"

namespace vorn::dde {

namespace {

struct Atom {
  std::string text;
  int references = 0;
};

std::map<DWORD, Instance> instances;
DWORD nextInstance = 1;

// Atom values start where the system's string atoms do; data and conversation handles
// start above TRUE, which a successful execute returns in place of data.
std::map<std::uintptr_t, Atom> atoms;
std::map<std::string, std::uintptr_t> atomByName;
std::uintptr_t nextAtom = 0xC000;

std::map<std::uintptr_t, Bytes> data;
std::uintptr_t nextData = 0x100;

std::map<std::uintptr_t, Conversation> conversations;
std::uintptr_t nextConversation = 0x100;

std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

std::uintptr_t Key(const void* handle) { return reinterpret_cast<std::uintptr_t>(handle); }

Bytes* FindData(HDDEDATA handle) {
  auto it = data.find(Key(handle));
  return it == data.end() ? nullptr : &it->second;
}

UINT ErrorFromTransport(Error error) {
  return error == Error::OutOfMemory ? DMLERR_MEMORY_ERROR : DMLERR_NO_CONV_ESTABLISHED;
}

}  // namespace

Instance* FindInstance(DWORD id) {
  auto it = instances.find(id);
  return it == instances.end() ? nullptr : &it->second;
}

void Fail(DWORD instance, UINT error) {
  if (Instance* i = FindInstance(instance)) i->lastError = error;
}

HSZ AddStringReference(std::string_view text) {
  const std::string folded = Folded(text);
  auto found = atomByName.find(folded);
  std::uintptr_t key;
  if (found != atomByName.end()) {
    key = found->second;
  } else {
    key = nextAtom++;
    atomByName[folded] = key;
    atoms[key].text = std::string(text);
  }
  ++atoms[key].references;
  return reinterpret_cast<HSZ>(key);
}

void ReleaseStringReference(HSZ hsz) {
  auto it = atoms.find(Key(hsz));
  if (it == atoms.end()) return;
  if (--it->second.references == 0) {
    atomByName.erase(Folded(it->second.text));
    atoms.erase(it);
  }
}

const std::string* StringOf(HSZ hsz) {
  auto it = atoms.find(Key(hsz));
  return it == atoms.end() ? nullptr : &it->second.text;
}

HDDEDATA NewData(Bytes bytes) {
  const std::uintptr_t key = nextData++;
  data[key] = std::move(bytes);
  return reinterpret_cast<HDDEDATA>(key);
}

void FreeData(HDDEDATA handle) { data.erase(Key(handle)); }

HCONV AddConversation(Conversation conversation) {
  const std::uintptr_t key = nextConversation++;
  conversations.emplace(key, std::move(conversation));
  return reinterpret_cast<HCONV>(key);
}

Conversation* FindConversation(HCONV hConv) {
  auto it = conversations.find(Key(hConv));
  return it == conversations.end() ? nullptr : &it->second;
}

void EndConversation(HCONV hConv, bool notify) {
  auto it = conversations.find(Key(hConv));
  if (it == conversations.end()) return;
  Conversation ended = std::move(it->second);
  conversations.erase(it);
  close(ended.fd);
  if (notify && ended.server && ended.connected) {
    Instance* instance = FindInstance(ended.instance);
    if (instance != nullptr && (instance->flags & CBF_SKIP_DISCONNECTS) == 0) {
      instance->callback(XTYP_DISCONNECT, 0, hConv, nullptr, nullptr, nullptr, 0, 0);
    }
  }
  ReleaseStringReference(ended.service);
  ReleaseStringReference(ended.topic);
}

std::vector<HCONV> ConversationsOf(DWORD instance) {
  std::vector<HCONV> found;
  for (const auto& [key, conversation] : conversations) {
    if (conversation.instance == instance) found.push_back(reinterpret_cast<HCONV>(key));
  }
  return found;
}

}  // namespace vorn::dde

using namespace vorn::dde;

UINT WINAPI DdeInitializeA(LPDWORD pidInst, PFNCALLBACK pfnCallback, DWORD afCmd, DWORD ulRes) {
  if (pidInst == nullptr || pfnCallback == nullptr || ulRes != 0) return DMLERR_INVALIDPARAMETER;
  if ((afCmd & APPCLASS_MASK) == APPCLASS_MONITOR) return DMLERR_INVALIDPARAMETER;
  if (*pidInst != 0) {
    // Reinitialising changes the callback and filters of a live instance.
    Instance* instance = FindInstance(*pidInst);
    if (instance == nullptr) return DMLERR_INVALIDPARAMETER;
    instance->callback = pfnCallback;
    instance->flags = afCmd;
    return DMLERR_NO_ERROR;
  }
  const DWORD id = nextInstance++;
  Instance& instance = instances[id];
  instance.callback = pfnCallback;
  instance.flags = afCmd;
  *pidInst = id;
  return DMLERR_NO_ERROR;
}

BOOL WINAPI DdeUninitialize(DWORD idInst) {
  Instance* instance = FindInstance(idInst);
  if (instance == nullptr) return FALSE;
  for (HCONV hConv : ConversationsOf(idInst)) EndConversation(hConv, false);
  CloseServices(instance);
  for (HSZ hsz : instance->strings) ReleaseStringReference(hsz);
  instances.erase(idInst);
  return TRUE;
}

UINT WINAPI DdeGetLastError(DWORD idInst) {
  Instance* instance = FindInstance(idInst);
  if (instance == nullptr) return DMLERR_DLL_NOT_INITIALIZED;
  const UINT error = instance->lastError;
  instance->lastError = DMLERR_NO_ERROR;
  return error;
}

HSZ WINAPI DdeCreateStringHandleA(DWORD idInst, LPCSTR psz, int iCodePage) {
  Instance* instance = FindInstance(idInst);
  if (instance == nullptr) return nullptr;
  const std::size_t length = psz == nullptr ? 0 : std::strlen(psz);
  if (length == 0 || length > kMaxName || (iCodePage != 0 && iCodePage != CP_WINANSI)) {
    instance->lastError = DMLERR_INVALIDPARAMETER;
    return nullptr;
  }
  HSZ hsz = AddStringReference(std::string_view(psz, length));
  instance->strings.push_back(hsz);
  return hsz;
}

BOOL WINAPI DdeFreeStringHandle(DWORD idInst, HSZ hsz) {
  Instance* instance = FindInstance(idInst);
  if (instance == nullptr) return FALSE;
  auto it = std::find(instance->strings.begin(), instance->strings.end(), hsz);
  if (it == instance->strings.end()) {
    instance->lastError = DMLERR_INVALIDPARAMETER;
    return FALSE;
  }
  instance->strings.erase(it);
  ReleaseStringReference(hsz);
  return TRUE;
}

DWORD WINAPI DdeQueryStringA(DWORD idInst, HSZ hsz, LPSTR psz, DWORD cchMax, int iCodePage) {
  const std::string* text = StringOf(hsz);
  if (FindInstance(idInst) == nullptr || text == nullptr || (iCodePage != 0 && iCodePage != CP_WINANSI)) {
    Fail(idInst, DMLERR_INVALIDPARAMETER);
    return 0;
  }
  if (psz == nullptr) return static_cast<DWORD>(text->size());
  if (cchMax == 0) return 0;
  const std::size_t copied = std::min<std::size_t>(text->size(), cchMax - 1);
  text->copy(psz, copied);
  psz[copied] = '\0';
  return static_cast<DWORD>(copied);
}

int WINAPI DdeCmpStringHandles(HSZ hsz1, HSZ hsz2) {
  // Equal names ignoring case share one atom, so the handle values decide.
  if (Key(hsz1) == Key(hsz2)) return 0;
  return Key(hsz1) < Key(hsz2) ? -1 : 1;
}

HCONV WINAPI DdeConnect(DWORD idInst, HSZ hszService, HSZ hszTopic, PCONVCONTEXT pCC) {
  if (FindInstance(idInst) == nullptr) return nullptr;
  const std::string* service = StringOf(hszService);
  const std::string* topic = StringOf(hszTopic);
  if (service == nullptr || topic == nullptr || (pCC != nullptr && pCC->cb < sizeof(CONVCONTEXT))) {
    Fail(idInst, DMLERR_INVALIDPARAMETER);
    return nullptr;
  }
  ConnectRequest request{*service, *topic, pCC != nullptr, {}};
  if (pCC != nullptr) {
    request.context = {pCC->wFlags, pCC->wCountryID, pCC->iCodePage, pCC->dwLangID, pCC->dwSecurity};
  }

  int fd = -1;
  if (vorn::Error e = ConnectTo(*service, kConnectTimeoutMs, &fd); e != vorn::Error::None) {
    Fail(idInst, ErrorFromTransport(e));
    return nullptr;
  }
  const long long deadline = NowMs() + kConnectTimeoutMs;
  FrameDecoder decoder;
  Frame reply;
  bool accepted = false;
  if (!SendAll(fd, ConnectFrame(request), deadline) ||
      ReceiveFrame(fd, &decoder, deadline, &reply) != Receive::Frame || !ReadConnectReply(reply, &accepted) ||
      !accepted) {
    close(fd);
    Fail(idInst, DMLERR_NO_CONV_ESTABLISHED);
    return nullptr;
  }
  Conversation conversation;
  conversation.instance = idInst;
  conversation.fd = fd;
  conversation.service = AddStringReference(*service);
  conversation.topic = AddStringReference(*topic);
  conversation.decoder = std::move(decoder);
  return AddConversation(std::move(conversation));
}

BOOL WINAPI DdeDisconnect(HCONV hConv) {
  if (FindConversation(hConv) == nullptr) return FALSE;
  EndConversation(hConv, false);
  return TRUE;
}

HDDEDATA WINAPI DdeClientTransaction(LPBYTE pData, DWORD cbData, HCONV hConv, HSZ hszItem, UINT wFmt, UINT wType,
                                     DWORD dwTimeout, LPDWORD pdwResult) {
  if (pdwResult != nullptr) *pdwResult = 0;
  Conversation* conversation = FindConversation(hConv);
  if (conversation == nullptr || conversation->server) return nullptr;
  const DWORD idInst = conversation->instance;
  if (wType != XTYP_EXECUTE || dwTimeout == TIMEOUT_ASYNC || cbData == 0xFFFFFFFF ||
      (pData == nullptr && cbData != 0) || cbData > kMaxExecuteData) {
    Fail(idInst, DMLERR_INVALIDPARAMETER);
    return nullptr;
  }
  ExecuteRequest request;
  request.transaction = conversation->nextTransaction++;
  request.format = wFmt;
  request.data.assign(pData, pData + cbData);

  const long long deadline = NowMs() + dwTimeout;
  if (!SendAll(conversation->fd, ExecuteFrame(request), deadline)) {
    Fail(idInst, NowMs() >= deadline ? DMLERR_EXECACKTIMEOUT : DMLERR_SERVER_DIED);
    return nullptr;
  }
  for (;;) {
    Frame frame;
    ExecuteReply reply;
    switch (ReceiveFrame(conversation->fd, &conversation->decoder, deadline, &frame)) {
      case Receive::Timeout:
        Fail(idInst, DMLERR_EXECACKTIMEOUT);
        return nullptr;
      case Receive::Closed:
        EndConversation(hConv, false);
        Fail(idInst, DMLERR_SERVER_DIED);
        return nullptr;
      case Receive::Frame: break;
    }
    if (!ReadExecuteReply(frame, &reply)) {
      EndConversation(hConv, false);
      Fail(idInst, DMLERR_SERVER_DIED);
      return nullptr;
    }
    // A late answer to an earlier transaction that timed out is dropped.
    if (reply.transaction != request.transaction) continue;
    if (pdwResult != nullptr) *pdwResult = reply.status;
    if (reply.status & DDE_FACK) return reinterpret_cast<HDDEDATA>(static_cast<std::uintptr_t>(TRUE));
    Fail(idInst, (reply.status & DDE_FBUSY) ? DMLERR_BUSY : DMLERR_NOTPROCESSED);
    return nullptr;
  }
}

LPBYTE WINAPI DdeAccessData(HDDEDATA hData, LPDWORD pcbDataSize) {
  Bytes* object = FindData(hData);
  if (object == nullptr) return nullptr;
  if (pcbDataSize != nullptr) *pcbDataSize = static_cast<DWORD>(object->size());
  // An empty object still has a valid first byte to point at.
  if (object->capacity() == 0) object->reserve(1);
  return object->data();
}

BOOL WINAPI DdeUnaccessData(HDDEDATA hData) { return FindData(hData) != nullptr ? TRUE : FALSE; }

DWORD WINAPI DdeGetData(HDDEDATA hData, LPBYTE pDst, DWORD cbMax, DWORD cbOff) {
  Bytes* object = FindData(hData);
  if (object == nullptr || cbOff > object->size()) return 0;
  const std::size_t available = object->size() - cbOff;
  if (pDst == nullptr) return static_cast<DWORD>(available);
  const std::size_t copied = std::min<std::size_t>(available, cbMax);
  std::memcpy(pDst, object->data() + cbOff, copied);
  return static_cast<DWORD>(copied);
}

BOOL WINAPI DdeFreeDataHandle(HDDEDATA hData) {
  if (FindData(hData) == nullptr) return FALSE;
  FreeData(hData);
  return TRUE;
}
