// Headless automation: a script (VORN_SCRIPT=FILE) that drives the program when it
// waits for input, and the end of the program as the trace records it.
//
// Script: one command a line, "#" starts a comment line. IDs are control ids of
// the active window; TEXT is the rest of the line, or a double-quoted text with
// \" \\ and \n escapes.
//   click ID              press and release the mouse button on a control
//   check ID on|off       click a check box if it is not in that state
//   key NAME              Tab, Shift+Tab, Enter, Escape, Space, Alt+I, Alt+F4, Up, ...
//   type ID TEXT          replace the text of an edit control
//   select ID TEXT        click the item of a list box, pick it in a combo box
//   double-click ID TEXT  double-click the item of a list box
//   answer yes|no|ok|cancel|abort|retry|ignore   click a button of the open message box
//   wait MS               let virtual milliseconds pass (timers fire meanwhile)
//   expect-text ID TEXT   expect-visible ID yes|no
//   screenshot FILE.png   the active window as it is, with its frame and caption
//   screenshot-screen FILE.png   the whole screen: desktop and windows
// Commands run when the program waits for input (no posted message, input, paint
// or due timer). A command whose target is not there yet (no such control in the
// active window, the control hidden or disabled, no message box open) waits while
// the program has timers armed, so "click 1" then "answer ok" answers the box that
// a paced run opens at its end. A command that cannot be carried out ends the
// program with exit code 3: at once for a bad command or a failed expectation,
// once no timer is left (or after 10 virtual minutes) for a missing target. A
// script that is over while the program still waits for input ends it with exit
// code 4.
#pragma once

#include <string>

namespace vorn::automation {

inline constexpr int kScriptFailed = 3;
inline constexpr int kScriptExhausted = 4;

// Records the end of the process in the trace; returns the code. The platform's
// entry point calls it with the program's exit code.
int AtExit(int code);
// Ends the process at once with a code, after saying why on stderr and in the trace.
[[noreturn]] void EndProgram(int code, const std::string& why);

// Replaces the headless display's script by a text, from its first command; for
// tests, which thereby drive dialogs in-process. Fails (exit 3) on a display that
// takes no script.
void SetScriptText(const std::string& text);

}  // namespace vorn::automation
