// The headless display and its virtual clock.
#include "platform/display/headless.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/display/automation.h"
#include "platform/display/trace.h"

namespace vorn::display {

namespace {

// Timers may keep a program going only this long after the script is over, or
// while a command waits for its target: a program that only ever re-arms its
// timers would otherwise never end. Ten virtual minutes cover a paced run of an
// image of some 80 MB (a sanitizer build's installer is a fair fraction of that).
constexpr DWORD kPatience = 600000;

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
  pending_.reset();
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
  if (!pending_ && !script_.Over()) {
    pending_ = script_.Next();
    pendingSince_ = now_;
    const automation::Command& c = *pending_;
    automation::Trace("command " + c.verb + (c.rest.empty() ? "" : " " + c.rest));
  }
  if (pending_) {
    const automation::Outcome outcome = automation::Run(*pending_);
    if (outcome.done) {
      pending_.reset();
      if (outcome.pause > 0) waitUntil_ = now_ + outcome.pause;
      return;
    }
    if (deadline && Before(*deadline - pendingSince_, kPatience + 1)) {
      if (Before(now_, *deadline)) now_ = *deadline;
      return;
    }
    automation::EndProgram(automation::kScriptFailed, automation::Describe(*pending_, outcome.why));
  }
  if (!scriptOverAt_) scriptOverAt_ = now_;
  if (deadline && Before(*deadline - *scriptOverAt_, kPatience + 1)) {
    if (Before(now_, *deadline)) now_ = *deadline;
    return;
  }
  automation::EndProgram(automation::kScriptExhausted, "the script is over and the program still waits for input");
}

}  // namespace vorn::display
