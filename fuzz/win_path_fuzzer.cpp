// Any text as a Windows path: translation must refuse or give a host path inside a
// drive of the prefix, and never overflow.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/files/files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string driveC = [] {
    setenv("VORN_PREFIX", "/tmp/vorn-fuzz-prefix", 1);
    std::string host;
    vorn::files::ToHostPath("c:\\", &host);
    return host;
  }();
  const std::string path(reinterpret_cast<const char*>(data), size);
  std::string full;
  if (vorn::files::FullWindowsPath(path, &full) == vorn::Error::None) {
    if (full.size() > 259 || full.size() < 3 || full[1] != ':' || full[2] != '\\') std::abort();
    if (full.find("\\..\\") != std::string::npos || full.find('/') != std::string::npos) std::abort();
  }
  std::string host;
  if (vorn::files::ToHostPath(path, &host) == vorn::Error::None) {
    // Only drive c: lies inside the prefix; z: is the host root.
    if (full[0] == 'c' && host.compare(0, driveC.size(), driveC) != 0) std::abort();
    if (host.find("/../") != std::string::npos) std::abort();
  }
  return 0;
}
