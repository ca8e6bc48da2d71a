// Test hooks of the window system: message boxes answered without a screen.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/api/types.h"

namespace vorn::automation {

struct MessageBoxRecord {
  HWND owner;
  std::string ownerKind;  // host, dialog or none
  std::string caption;
  std::string text;
  unsigned flags;
  int answer;
};

// Returns the answer to a box: IDOK, IDYES, IDNO, ...
using MessageBoxResponder = std::function<int(const MessageBoxRecord&)>;

// While a responder is set, MessageBoxA records each box and returns the
// responder's answer at once, without a window; nullptr restores normal boxes.
void SetMessageBoxResponder(MessageBoxResponder responder);
const std::vector<MessageBoxRecord>& MessageBoxLog();
void ClearMessageBoxLog();

}  // namespace vorn::automation
