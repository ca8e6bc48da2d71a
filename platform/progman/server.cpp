// The "PROGMAN" service: its DDE callback, start-up and shutdown.
#include "platform/progman/server.h"

#include <csignal>
#include <cstdio>

#include "platform/dde/server.h"
#include "platform/progman/command.h"
#include "platform/progman/menu.h"
#include "platform/progman/store.h"
#include "platform/win32.h"

namespace vorn::progman {

namespace {

constexpr int kServeSliceMs = 250;
constexpr DWORD kStopTimeoutMs = 2000;
constexpr std::size_t kLoggedText = 200;

struct ServerState {
  DWORD instance = 0;
  HSZ progman = nullptr;
  std::string storePath;
  Groups groups;
  Session session;
  bool mirrorMenu = false;
  MenuPlaces places;
};

ServerState* server = nullptr;
volatile std::sig_atomic_t stopSignal = 0;

void OnSignal(int) { stopSignal = 1; }

void Log(const std::string& message) { std::fprintf(stderr, "progman: %s\n", message.c_str()); }

// A command text as it can be shown on one line.
std::string Printable(const std::string& text) {
  std::string shown = text.substr(0, kLoggedText);
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  return shown;
}

void Mirror() {
  std::string why;
  if (server->mirrorMenu && !MirrorMenu(server->groups, server->places, &why)) Log("menu not updated: " + why);
}

bool ChangesGroups(const std::vector<Command>& commands) {
  for (const Command& command : commands) {
    if (command.verb != Verb::ShowGroup && command.verb != Verb::ExitProgman) return true;
  }
  return false;
}

bool Execute(HDDEDATA data) {
  DWORD size = 0;
  const LPBYTE bytes = DdeAccessData(data, &size);
  if (bytes == nullptr) return false;
  std::string text(reinterpret_cast<const char*>(bytes), size);
  DdeUnaccessData(data);
  // CF_TEXT carries its terminating zero; no other may follow.
  if (!text.empty() && text.back() == '\0') text.pop_back();

  std::vector<Command> commands;
  Groups groups = server->groups;
  Session session = server->session;
  std::string why;
  if (!ParseCommands(text, &commands, &why) || !Apply(commands, &groups, &session, &why)) {
    Log("refused " + Printable(text) + ": " + why);
    return false;
  }
  const bool changed = ChangesGroups(commands);
  if (changed && !SaveGroups(server->storePath, groups, &why)) {
    Log("refused " + Printable(text) + ": " + why);
    return false;
  }
  server->groups = std::move(groups);
  server->session = std::move(session);
  if (changed) Mirror();
  // Giving the name up before the answer leaves lets a new server start at once.
  if (server->session.exitRequested) DdeNameService(server->instance, nullptr, nullptr, DNS_UNREGISTER);
  return true;
}

HDDEDATA CALLBACK ServerCallback(UINT type, UINT, HCONV, HSZ hsz1, HSZ, HDDEDATA data, ULONG_PTR, ULONG_PTR) {
  switch (type) {
    case XTYP_CONNECT:
      return DdeCmpStringHandles(hsz1, server->progman) == 0 ? reinterpret_cast<HDDEDATA>(TRUE) : nullptr;
    case XTYP_EXECUTE:
      return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(Execute(data) ? DDE_FACK : DDE_FNOTPROCESSED));
    default: return nullptr;
  }
}

HDDEDATA CALLBACK ClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

bool SomeoneServes(DWORD instance, HSZ name) {
  const HCONV conversation = DdeConnect(instance, name, name, nullptr);
  if (conversation == nullptr) return false;
  DdeDisconnect(conversation);
  return true;
}

}  // namespace

int RunServer(const ServerOptions& options, const StartReport& report) {
  ServerState state;
  state.storePath = StorePath();
  std::string why;
  if (!LoadGroups(state.storePath, &state.groups, &why)) {
    report(Start::Failed, why);
    return 1;
  }
  state.mirrorMenu = options.mirrorMenu;
  if (state.mirrorMenu && !DefaultMenuPlaces(&state.places)) {
    Log("no home directory: the menu is not mirrored");
    state.mirrorMenu = false;
  }
  if (DdeInitializeA(&state.instance, ServerCallback, APPCLASS_STANDARD | CBF_SKIP_CONNECT_CONFIRMS, 0) !=
      DMLERR_NO_ERROR) {
    report(Start::Failed, "the DDE library did not start");
    return 1;
  }
  server = &state;
  state.progman = DdeCreateStringHandleA(state.instance, "PROGMAN", CP_WINANSI);
  int code = 0;
  if (SomeoneServes(state.instance, state.progman)) {
    report(Start::AlreadyServing, "");
  } else if (DdeNameService(state.instance, state.progman, nullptr, DNS_REGISTER) == nullptr) {
    report(Start::Failed, "cannot register PROGMAN (is the runtime directory ours and private?)");
    code = 1;
  } else {
    Mirror();
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGHUP, OnSignal);
    report(Start::Serving, "");
    while (stopSignal == 0 && !state.session.exitRequested) dde::Serve(state.instance, kServeSliceMs);
  }
  DdeUninitialize(state.instance);
  server = nullptr;
  return code;
}

bool ServerRunning() {
  DWORD instance = 0;
  if (DdeInitializeA(&instance, ClientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return false;
  const bool running = SomeoneServes(instance, DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI));
  DdeUninitialize(instance);
  return running;
}

bool StopServer() {
  DWORD instance = 0;
  if (DdeInitializeA(&instance, ClientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return false;
  const HSZ name = DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI);
  bool stopped = false;
  const HCONV conversation = DdeConnect(instance, name, name, nullptr);
  if (conversation != nullptr) {
    static char command[] = "[ExitProgman(1)]";
    stopped = DdeClientTransaction(reinterpret_cast<LPBYTE>(command), sizeof command, conversation, nullptr, CF_TEXT,
                                   XTYP_EXECUTE, kStopTimeoutMs, nullptr) != nullptr;
    DdeDisconnect(conversation);
  }
  DdeUninitialize(instance);
  return stopped;
}

}  // namespace vorn::progman
