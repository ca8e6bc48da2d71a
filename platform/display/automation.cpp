// The end of the program under automation, and scripts given by tests.
#include "platform/display/automation.h"

#include <cstdio>
#include <cstdlib>

#include "platform/display/headless.h"
#include "platform/display/trace.h"

namespace vorn::automation {

int AtExit(int code) {
  Trace("exit " + std::to_string(code));
  return code;
}

void EndProgram(int code, const std::string& why) {
  std::fprintf(stderr, "vorn automation: %s\n", why.c_str());
  Trace("error " + Quote(why));
  AtExit(code);
  std::fflush(nullptr);
  std::_Exit(code);
}

void SetScriptText(const std::string& text) {
  auto* headless = dynamic_cast<display::HeadlessDisplay*>(&display::Current());
  if (headless == nullptr) EndProgram(kScriptFailed, "the display takes no script");
  headless->UseScript(text);
}

}  // namespace vorn::automation
