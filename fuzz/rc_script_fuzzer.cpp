// Any text as a resource script: the converter's parser accepts it within the
// subset it knows, or refuses it with a reason, and never crashes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/rc/rc_language.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<vorn::rc::Dialog> dialogs;
  std::vector<vorn::rc::Icon> icons;
  std::string error;
  // Icons are looked up in a directory that holds none.
  if (!vorn::rc::ParseScript(text, "/nonexistent/", &dialogs, &icons, &error)) {
    if (error.empty() || !dialogs.empty() || !icons.empty()) std::abort();
  }
  return 0;
}
