// The end of the program under automation, and scripts given by tests.
#include "platform/display/automation.h"

#include <cstdio>
#include <cstdlib>

#include "platform/display/headless.h"
#include "platform/display/trace.h"

namespace vorn::automation {

int AtExit(int code) {
  // A script with commands left over asked for more than the program did.
  if (auto* headless = dynamic_cast<display::HeadlessDisplay*>(&display::Current())) {
    if (const std::size_t left = headless->CommandsLeft(); left > 0) {
      const std::string note = "the program ended with " + std::to_string(left) + " script command(s) left";
      std::fprintf(stderr, "vorn automation: %s\n", note.c_str());
      Trace("note " + Quote(note));
    }
  }
  Trace("exit " + std::to_string(code));
  return code;
}

void EndProgram(int code, const std::string& why) {
  std::fprintf(stderr, "vorn automation: %s\n", why.c_str());
  Trace("error " + Quote(why));
  Trace("exit " + std::to_string(code));
  std::fflush(nullptr);
  std::_Exit(code);
}

void SetScriptText(const std::string& text) {
  auto* headless = dynamic_cast<display::HeadlessDisplay*>(&display::Current());
  if (headless == nullptr) EndProgram(kScriptFailed, "the display takes no script");
  headless->UseScript(text);
}

}  // namespace vorn::automation
