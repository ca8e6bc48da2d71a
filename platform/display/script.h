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

 private:
  std::vector<Command> commands_;
  std::size_t next_ = 0;
};

// Carries out a command and returns the virtual milliseconds that are to pass
// before the next one (only `wait` asks for any). A command that cannot be carried
// out ends the program with exit code 3.
DWORD Run(const Command& command);

}  // namespace vorn::automation
