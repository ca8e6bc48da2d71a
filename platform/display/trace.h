// The automation trace (VORN_TRACE=FILE): one line per event, in order, each line
// the virtual time in milliseconds, a space, and the event:
//
//   msgbox owner=dialog caption="..." text="..." flags=0x00000024 answer=yes
//   dialog INSTALL_DLG begin          dialog INSTALL_DLG end 1
//   status "Extracting file: vorn.exe"
//   command click 1                   a script command, when it is first tried
//   error "line 3: click: ..."        why automation ended the program (exit 3 or 4)
//   note "..."                        e.g. script commands left when the program ended
//   exit 0
//
// A box's owner is "dialog" when it belongs to a window made from a dialog
// template, "host" for another window, "none" without one; the answer is the word
// the script's answer command uses. A dialog is named by its template (a number
// for an id); its end gives DialogBoxParamA's result, -1 when it could not be
// shown. A status line is control 113 of a dialog: each change of its text is one
// event. Texts are quoted with \" and \\ escaped and line feeds written as \n. The
// trace is written whatever the display, whenever VORN_TRACE is set.
#pragma once

#include <string>

namespace vorn::automation {

// Writes one event line, when a trace is being written.
void Trace(const std::string& event);
bool Tracing();
// A text in double quotes, escaped as above.
std::string Quote(const std::string& text);
// Redirects the trace to a file (empty: none); for tests. Replaces VORN_TRACE.
void SetTraceFile(const std::string& path);

}  // namespace vorn::automation
