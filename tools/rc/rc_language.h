// The subset of the .rc language that the program uses: DIALOG and DIALOGEX templates
// with their controls, and ICON resources. Preprocessor lines are skipped: style
// names come from a table of ours, as windows.h would define them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::rc {


struct Control {
  std::string className;
  std::int32_t id = 0;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::string text;
};

struct Dialog {
  std::string name;  // empty for an id
  int id = 0;
  std::uint32_t style = 0x80880000;  // WS_POPUP | WS_BORDER | WS_SYSMENU without a STYLE
  std::uint32_t exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::string caption;
  int pointSize = 0;
  std::string font;
  std::vector<Control> controls;
};

struct Icon {
  std::string name;
  int id = 0;
  std::vector<unsigned char> bytes;
};

// Parses a whole script; icon files are read relative to baseDir. False, with the
// line and the cause in error, for anything outside the subset.
bool ParseScript(const std::string& text, const std::string& baseDir, std::vector<Dialog>* dialogs,
                 std::vector<Icon>* icons, std::string* error);

}  // namespace vorn::rc
