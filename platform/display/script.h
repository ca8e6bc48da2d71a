// The automation script: its commands, parsed from text, and what carrying one out
// does to the window system.
#pragma once

#include <string>
#include <vector>

#include "platform/api/types.h"

namespace vorn::automation {

struct Command {
  int line = 0;
  std::string verb;
  std::string rest;  // what follows the verb, leading blanks removed
};

class Script {
 public:
  static Script FromText(const std::string& text);
  bool Over() const { return next_ >= commands_.size(); }
  const Command& Next() { return commands_[next_++]; }
  std::size_t Left() const { return commands_.size() - next_; }

 private:
  std::vector<Command> commands_;
  std::size_t next_ = 0;
};

// What became of a command: carried out (then `pause` virtual milliseconds are to
// pass before the next one; only `wait` asks for any), or not yet possible because
// its target is missing: no active window, no such control, the control hidden or
// disabled, no message box open. A command that can never be carried out (an
// unknown command, bad arguments, an expectation that fails) ends the program with
// exit code 3 at once.
struct Outcome {
  bool done = true;
  DWORD pause = 0;
  std::string why;  // when not done
};
Outcome Run(const Command& command);
// "line N: verb: why", for reports.
std::string Describe(const Command& command, const std::string& why);

}  // namespace vorn::automation
