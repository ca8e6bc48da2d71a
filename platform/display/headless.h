// The headless display: no screen, a virtual clock, and the automation script as
// its only source of input.
#pragma once

#include <optional>
#include <string>

#include "platform/display/display.h"
#include "platform/display/script.h"

namespace vorn::display {

class HeadlessDisplay : public Display {
 public:
  // The script is read from VORN_SCRIPT when that is set.
  HeadlessDisplay();
  DWORD Now() override { return now_; }
  // When the queue is empty: a `wait` in progress lets time pass up to its end or
  // the next timer; otherwise the next command runs. A command whose target is not
  // there yet (the message box to answer has not opened) waits while timers are
  // armed, time jumping from timer to timer, and fails (exit 3) when none is left.
  // When the script is over, time jumps to the next timer, and with no timer left
  // the program has nothing more to wait for and ends (exit 4).
  void Wait(std::optional<DWORD> deadline) override;
  void UseScript(const std::string& text);
  // Commands not yet carried out, the one that waits for its target included.
  std::size_t CommandsLeft() const { return script_.Left() + (pending_ ? 1 : 0); }

 private:
  DWORD now_ = 0;
  std::optional<DWORD> waitUntil_;
  std::optional<DWORD> scriptOverAt_;
  std::optional<automation::Command> pending_;  // tried, its target still missing
  DWORD pendingSince_ = 0;
  automation::Script script_;
};

}  // namespace vorn::display
