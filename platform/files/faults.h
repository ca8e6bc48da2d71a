// A test-only switch that makes the Nth file operation of a kind fail, so tests can
// walk a whole install through every failure it can meet.
#pragma once

#include "platform/core/error.h"

namespace vorn::faults {

enum class Op { Open, Read, Write, Rename, Delete, MakeDir, RemoveDir, Attributes, kCount };

// From now on, the nth (1-based) operation of the kind fails with the error; every
// later one succeeds again. DiskFull on Write makes that write and every later
// write fail, as a full disk would.
void Arm(Op op, int nth, Error error);
// Disarms every switch and zeroes the counters.
void Clear();
// How many operations of the kind have been made since the last Clear.
int Count(Op op);
// Called by the files service before each operation; Error::None lets it proceed.
Error Check(Op op);

}  // namespace vorn::faults
