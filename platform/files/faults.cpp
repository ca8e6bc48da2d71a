// The fault switch: per kind of operation, a counter and the one operation to fail.
#include "platform/files/faults.h"

#include <array>

namespace vorn::faults {

namespace {

struct Switch {
  int count = 0;
  int failAt = 0;  // 0: disarmed
  Error error = Error::None;
  bool sticky = false;  // a full disk stays full
};

std::array<Switch, static_cast<std::size_t>(Op::kCount)> switches;

Switch& For(Op op) { return switches[static_cast<std::size_t>(op)]; }

}  // namespace

void Arm(Op op, int nth, Error error) {
  Switch& s = For(op);
  s.failAt = nth;
  s.error = error;
  s.sticky = (op == Op::Write && error == Error::DiskFull);
}

void Clear() { switches = {}; }

int Count(Op op) { return For(op).count; }

Error Check(Op op) {
  Switch& s = For(op);
  s.count += 1;
  if (s.failAt == 0) return Error::None;
  if (s.count == s.failAt || (s.sticky && s.count > s.failAt)) return s.error;
  return Error::None;
}

}  // namespace vorn::faults
