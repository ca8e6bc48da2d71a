// Test hook of the DDE transport: a peer of another user without a second account.
#pragma once

#include <sys/types.h>

namespace vorn::dde::testing {

// While set, every peer a socket reports is taken to run as this user id; ClearPeerUid
// restores the real credentials.
void SetPeerUid(uid_t uid);
void ClearPeerUid();

}  // namespace vorn::dde::testing
