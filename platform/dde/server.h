// The server side's pump: a DDE server answers its clients while it runs this, as a
// real server does while its thread dispatches messages.
#pragma once

#include "platform/api/types.h"

namespace vorn::dde {

// Waits up to timeoutMs for activity on the instance's registered services and
// conversations, then answers what arrived through the instance callback: new
// clients (XTYP_CONNECT, XTYP_CONNECT_CONFIRM), commands (XTYP_EXECUTE) and clients
// that left (XTYP_DISCONNECT). Returns early when a signal arrives; false when the
// instance does not exist.
bool Serve(DWORD instance, int timeoutMs);

}  // namespace vorn::dde
