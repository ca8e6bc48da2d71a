// Any bytes as a Program Manager execute string: the parser accepts with commands
// within its limits, or refuses with a reason and no commands.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/progman/command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<vorn::progman::Command> commands;
  std::string error;
  if (vorn::progman::ParseCommands(text, &commands, &error)) {
    if (commands.empty() || commands.size() > vorn::progman::kMaxCommands) std::abort();
    for (const auto& c : commands) {
      if (c.name.size() > vorn::progman::kMaxField || c.item.commandLine.size() > vorn::progman::kMaxField) std::abort();
    }
  } else if (!commands.empty() || error.empty()) {
    std::abort();
  }
  return 0;
}
