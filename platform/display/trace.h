// The automation trace (VORN_TRACE=FILE): one line per event, in order, each line
// the virtual time in milliseconds, a space, and the event:
//
//   msgbox owner=dialog caption="..." text="..." flags=0x00000024 answer=yes
//   dialog INSTALL_DLG begin          dialog INSTALL_DLG end 1
//   status "Extracting file: vorn.exe"
//   command click 1                   error "no control 7 in the active window"
//   exit 0
//
// Texts are quoted with \" and \\ escaped and line feeds written as \n. The trace
// is written whatever the display, whenever VORN_TRACE is set.
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
