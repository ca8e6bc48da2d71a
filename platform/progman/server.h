// Our Program Manager as the DDE server of the service and topic "PROGMAN": every
// execute is parsed whole, carried out whole, stored, and mirrored into the menu.
#pragma once

#include <functional>
#include <string>

namespace vorn::progman {

struct ServerOptions {
  bool mirrorMenu = true;
};

enum class Start { Serving, AlreadyServing, Failed };
// Told once whether the server got going, with the reason when it did not.
using StartReport = std::function<void(Start, const std::string& reason)>;

// Loads the groups, registers "PROGMAN", reports, and serves until ExitProgman or a
// termination signal. Returns the process exit code.
int RunServer(const ServerOptions& options, const StartReport& report);

// Whether a server answers on "PROGMAN".
bool ServerRunning();

// Asks a running server to end with ExitProgman; it has given up its name when this
// returns true. False when no server answered.
bool StopServer();

}  // namespace vorn::progman
