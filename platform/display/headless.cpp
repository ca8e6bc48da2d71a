// The headless display and its virtual clock.
#include "platform/display/headless.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/display/automation.h"
#include "platform/display/trace.h"

namespace vorn::display {

namespace {

// Once the script is over, timers may keep the program going only this long: a
// program that only ever re-arms its timers would otherwise never end.
constexpr DWORD kAfterScript = 60000;

bool Before(DWORD a, DWORD b) { return static_cast<std::int32_t>(a - b) < 0; }

}  // namespace

HeadlessDisplay::HeadlessDisplay() {
  const char* path = std::getenv("VORN_SCRIPT");
  if (path == nullptr || path[0] == '\0') return;
  std::ifstream file(path, std::ios::binary);
  if (!file) automation::EndProgram(automation::kScriptFailed, std::string("cannot read the script ") + path);
  std::ostringstream text;
  text << file.rdbuf();
  script_ = automation::Script::FromText(text.str());
}

void HeadlessDisplay::UseScript(const std::string& text) {
  script_ = automation::Script::FromText(text);
  waitUntil_.reset();
  scriptOverAt_.reset();
}

void HeadlessDisplay::Wait(std::optional<DWORD> deadline) {
  if (waitUntil_) {
    if (deadline && Before(*deadline, *waitUntil_)) {
      if (Before(now_, *deadline)) now_ = *deadline;
      return;
    }
    now_ = *waitUntil_;
    waitUntil_.reset();
    return;
  }
  if (!script_.Over()) {
    if (const DWORD pause = automation::Run(script_.Next()); pause > 0) waitUntil_ = now_ + pause;
    return;
  }
  if (!scriptOverAt_) scriptOverAt_ = now_;
  if (deadline && Before(*deadline - *scriptOverAt_, kAfterScript + 1)) {
    if (Before(now_, *deadline)) now_ = *deadline;
    return;
  }
  automation::EndProgram(automation::kScriptExhausted, "the script is over and the program still waits for input");
}

}  // namespace vorn::display
