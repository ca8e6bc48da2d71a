// The choice of the display by VORN_DISPLAY.
#include "platform/display/display.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/display/headless.h"
#include "platform/display/x11.h"

namespace vorn::display {

namespace {

std::unique_ptr<Display>& Slot() {
  static std::unique_ptr<Display> display;
  return display;
}

std::unique_ptr<Display> Choose() {
  const char* setting = std::getenv("VORN_DISPLAY");
  const std::string choice = setting != nullptr && setting[0] != '\0' ? setting : "auto";
  if (choice == "x11" || choice == "auto") {
    if (std::unique_ptr<Display> x11 = OpenX11Display(choice == "auto")) return x11;
    if (choice == "x11") std::fprintf(stderr, "vorn: running headless\n");
  } else if (choice != "headless") {
    std::fprintf(stderr, "vorn: unknown VORN_DISPLAY=%s; running headless\n", choice.c_str());
  }
  return std::make_unique<HeadlessDisplay>();
}

}  // namespace

Display& Current() {
  std::unique_ptr<Display>& display = Slot();
  if (display == nullptr) display = Choose();
  return *display;
}

void Install(std::unique_ptr<Display> display) { Slot() = std::move(display); }

}  // namespace vorn::display
