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
// The script word of an answer: "yes", "no", "ok", ... (the number for others).
std::string AnswerName(int answer);

// Back to a clean window system between tests: destroys every window, empties the
// queue (posted messages, input, timers, a pending quit) and the message box log,
// and removes the responder. Registered classes stay.
void ResetWindowSystemForTesting();

// Dialogs from the program's templates for tests: CreateDialogParamA gives a
// modeless one; link vorn_resources to have INSTALL_DLG and 1537.

}  // namespace vorn::automation
