// The automation trace file.
#include "platform/display/trace.h"

#include <cstdio>
#include <cstdlib>

#include "platform/display/display.h"

namespace vorn::automation {

namespace {

struct TraceFile {
  bool decided = false;
  std::FILE* file = nullptr;
};

TraceFile& TheTrace() {
  static TraceFile trace;
  return trace;
}

void Open(const std::string& path) {
  TraceFile& trace = TheTrace();
  if (trace.file != nullptr) std::fclose(trace.file);
  trace.file = path.empty() ? nullptr : std::fopen(path.c_str(), "w");
  if (!path.empty() && trace.file == nullptr) std::fprintf(stderr, "vorn: cannot write the trace %s\n", path.c_str());
  trace.decided = true;
}

std::FILE* File() {
  TraceFile& trace = TheTrace();
  if (!trace.decided) {
    const char* path = std::getenv("VORN_TRACE");
    Open(path != nullptr ? path : "");
  }
  return trace.file;
}

}  // namespace

bool Tracing() { return File() != nullptr; }

void Trace(const std::string& event) {
  std::FILE* file = File();
  if (file == nullptr) return;
  // Each line is flushed, so that a trace survives whatever ends the process.
  std::fprintf(file, "%lu %s\n", static_cast<unsigned long>(display::Current().Now()), event.c_str());
  std::fflush(file);
}

std::string Quote(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (c == '\n') {
      quoted += "\\n";
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

void SetTraceFile(const std::string& path) { Open(path); }

}  // namespace vorn::automation
