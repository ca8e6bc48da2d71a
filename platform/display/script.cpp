// Parsing the automation script and carrying out its commands on the active window.
#include "platform/display/script.h"

#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>

#include "platform/display/automation.h"
#include "platform/display/trace.h"
#include "platform/gdi/png.h"
#include "platform/user/input.h"
#include "platform/user/screen.h"
#include "platform/user/internal.h"
#include "platform/user/metrics.h"

namespace vorn::automation {

namespace {

[[noreturn]] void Fail(const Command& command, const std::string& why) {
  EndProgram(kScriptFailed, Describe(command, why));
}

// The target of a command is not there (yet): the display tries again later.
struct NotYet {
  std::string why;
};
[[noreturn]] void Missing(const std::string& why) { throw NotYet{why}; }

std::string TakeWord(std::string& rest) {
  const std::size_t end = rest.find_first_of(" \t");
  std::string word = rest.substr(0, end);
  const std::size_t next = end == std::string::npos ? std::string::npos : rest.find_first_not_of(" \t", end);
  rest = next == std::string::npos ? std::string() : rest.substr(next);
  return word;
}

// TEXT: the rest of the line as it stands, or a double-quoted text with escapes.
std::string TextOf(const Command& command, const std::string& rest) {
  if (rest.empty() || rest[0] != '"') return rest;
  std::string text;
  std::size_t i = 1;
  for (; i < rest.size() && rest[i] != '"'; ++i) {
    if (rest[i] == '\\' && i + 1 < rest.size()) {
      ++i;
      text += rest[i] == 'n' ? '\n' : rest[i];
    } else {
      text += rest[i];
    }
  }
  if (i >= rest.size()) Fail(command, "the text has no closing quote");
  return text;
}

HWND ActiveWindowOf(const Command& command) {
  HWND active = user::ActiveWindow();
  (void)command;
  if (active == nullptr) Missing("no window is active");
  return active;
}

std::string Caption(HWND window) {
  user::Window* w = user::Find(window);
  return w != nullptr ? Quote(w->text) : "none";
}

int ParseId(const Command& command, const std::string& word) {
  char* end = nullptr;
  const long id = std::strtol(word.c_str(), &end, 0);
  if (word.empty() || *end != '\0') Fail(command, "\"" + word + "\" is not a control id");
  return static_cast<int>(id);
}

// The control of the active window with the id; it must be there.
HWND ControlOf(const Command& command, std::string& rest) {
  const int id = ParseId(command, TakeWord(rest));
  HWND active = ActiveWindowOf(command);
  HWND control = GetDlgItem(active, id);
  if (control == nullptr) Missing("no control " + std::to_string(id) + " in the active window " + Caption(active));
  return control;
}

// A control a user could operate: shown and enabled.
HWND UsableControlOf(const Command& command, std::string& rest) {
  HWND control = ControlOf(command, rest);
  const std::string id = std::to_string(GetDlgCtrlID(control));
  if (!IsWindowVisible(control)) Missing("control " + id + " is hidden");
  if (!user::IsReallyEnabled(*user::Find(control))) Missing("control " + id + " is disabled");
  return control;
}

std::string ClassOf(HWND control) { return user::Find(control)->windowClass->name; }

void Click(HWND control) {
  RECT client;
  GetClientRect(control, &client);
  const POINT centre{client.right / 2, client.bottom / 2};
  user::QueueMouse(control, WM_LBUTTONDOWN, centre);
  user::QueueMouse(control, WM_LBUTTONUP, centre);
}

// Scrolls an item of a list box into view, as a user would, and clicks it.
void ClickItem(HWND list, int index, bool twice) {
  RECT client;
  GetClientRect(list, &client);
  const int rows = std::max<int>(client.bottom / user::kListItemHeight, 1);
  int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
  if (index < top || index >= top + rows) {
    top = index;
    SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
  }
  const POINT at{client.right / 2, (index - top) * user::kListItemHeight + user::kListItemHeight / 2};
  user::QueueMouse(list, WM_LBUTTONDOWN, at);
  user::QueueMouse(list, WM_LBUTTONUP, at);
  if (twice) {
    user::QueueMouse(list, WM_LBUTTONDBLCLK, at);
    user::QueueMouse(list, WM_LBUTTONUP, at);
  }
}

bool IsCheckBox(HWND control) {
  if (strcasecmp(ClassOf(control).c_str(), "Button") != 0) return false;
  const UINT kind = user::Find(control)->style & BS_TYPEMASK;
  return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE;
}

UINT KeyCode(const std::string& name) {
  static const std::map<std::string, UINT> names = {
      {"tab", VK_TAB},     {"enter", VK_RETURN}, {"return", VK_RETURN}, {"escape", VK_ESCAPE},
      {"esc", VK_ESCAPE},  {"space", VK_SPACE},  {"backspace", VK_BACK}, {"delete", VK_DELETE},
      {"up", VK_UP},       {"down", VK_DOWN},    {"left", VK_LEFT},      {"right", VK_RIGHT},
      {"home", VK_HOME},   {"end", VK_END},      {"pageup", VK_PRIOR},   {"pagedown", VK_NEXT},
      {"f4", VK_F4},
  };
  std::string lower;
  for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (auto it = names.find(lower); it != names.end()) return it->second;
  if (lower.size() == 1 && std::isalnum(static_cast<unsigned char>(lower[0]))) {
    return static_cast<UINT>(std::toupper(static_cast<unsigned char>(lower[0])));
  }
  return 0;
}

void PressKey(const Command& command, const std::string& keys) {
  std::vector<UINT> modifiers;
  std::string rest = keys;
  for (std::size_t plus; (plus = rest.find('+')) != std::string::npos && plus + 1 < rest.size();) {
    const std::string modifier = rest.substr(0, plus);
    if (strcasecmp(modifier.c_str(), "alt") == 0) modifiers.push_back(VK_MENU);
    else if (strcasecmp(modifier.c_str(), "shift") == 0) modifiers.push_back(VK_SHIFT);
    else if (strcasecmp(modifier.c_str(), "ctrl") == 0) modifiers.push_back(VK_CONTROL);
    else Fail(command, "unknown modifier \"" + modifier + "\"");
    rest = rest.substr(plus + 1);
  }
  const UINT key = KeyCode(rest);
  if (key == 0) Fail(command, "unknown key \"" + rest + "\"");
  ActiveWindowOf(command);
  for (UINT m : modifiers) user::QueueKey(m, true);
  user::QueueKey(key, true);
  user::QueueKey(key, false);
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) user::QueueKey(*it, false);
}

int AnswerId(const Command& command, const std::string& word) {
  static const std::map<std::string, int> answers = {{"ok", IDOK},       {"cancel", IDCANCEL}, {"abort", IDABORT},
                                                      {"retry", IDRETRY}, {"ignore", IDIGNORE}, {"yes", IDYES},
                                                      {"no", IDNO}};
  auto it = answers.find(word);
  if (it == answers.end()) Fail(command, "unknown answer \"" + word + "\"");
  return it->second;
}

}  // namespace

Script Script::FromText(const std::string& text) {
  Script script;
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    Command command;
    command.line = number;
    command.rest = line.substr(start);
    command.verb = TakeWord(command.rest);
    script.commands_.push_back(command);
  }
  return script;
}

namespace {

// Carries a command out; returns the pause it asks for.
DWORD Carry(const Command& command) {
  std::string rest = command.rest;
  const std::string& verb = command.verb;
  if (verb == "click") {
    Click(UsableControlOf(command, rest));
  } else if (verb == "check") {
    HWND control = UsableControlOf(command, rest);
    if (!IsCheckBox(control)) Fail(command, "control " + std::to_string(GetDlgCtrlID(control)) + " is not a check box");
    const std::string state = TakeWord(rest);
    if (state != "on" && state != "off") Fail(command, "expected on or off, not \"" + state + "\"");
    const bool checked = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (checked != (state == "on")) Click(control);
  } else if (verb == "key") {
    PressKey(command, TakeWord(rest));
  } else if (verb == "type") {
    HWND control = UsableControlOf(command, rest);
    if (strcasecmp(ClassOf(control).c_str(), "Edit") != 0) {
      Fail(command, "control " + std::to_string(GetDlgCtrlID(control)) + " is not an edit control");
    }
    SetFocus(control);
    SetWindowTextA(control, TextOf(command, rest).c_str());
  } else if (verb == "select" || verb == "double-click") {
    HWND control = UsableControlOf(command, rest);
    const std::string item = TextOf(command, rest);
    const std::string kind = ClassOf(control);
    const bool list = strcasecmp(kind.c_str(), "ListBox") == 0;
    if (!list && strcasecmp(kind.c_str(), "ComboBox") != 0) {
      Fail(command, "control " + std::to_string(GetDlgCtrlID(control)) + " is not a list");
    }
    const UINT find = list ? LB_FINDSTRINGEXACT : CB_FINDSTRINGEXACT;
    const int index = static_cast<int>(SendMessageA(control, find, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str())));
    if (index < 0) Missing("no item " + Quote(item) + " in control " + std::to_string(GetDlgCtrlID(control)));
    if (list) {
      ClickItem(control, index, verb == "double-click");
    } else {
      // A pick from the drop-down list, which this platform does not draw.
      SetFocus(control);
      SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
      user::NotifyParent(control, verb == "double-click" ? CBN_DBLCLK : CBN_SELCHANGE);
    }
  } else if (verb == "answer") {
    const std::string answer = TakeWord(rest);
    const int id = AnswerId(command, answer);
    HWND active = ActiveWindowOf(command);
    user::Window* box = user::Find(active);
    if (box->dialog == nullptr || !box->dialog->messageBox) {
      Missing("no message box is open (the active window is " + Caption(active) + ")");
    }
    HWND button = GetDlgItem(active, id);
    if (button == nullptr) Missing("the message box " + Caption(active) + " has no " + answer + " button");
    Click(button);
  } else if (verb == "wait") {
    const std::string word = TakeWord(rest);
    char* end = nullptr;
    const long ms = std::strtol(word.c_str(), &end, 10);
    if (word.empty() || *end != '\0' || ms < 0) Fail(command, "\"" + word + "\" is not a number of milliseconds");
    return static_cast<DWORD>(ms);
  } else if (verb == "expect-text") {
    HWND control = ControlOf(command, rest);
    const std::string expected = TextOf(command, rest);
    user::Window* w = user::Find(control);
    if (w->text != expected) Fail(command, "expected " + Quote(expected) + ", found " + Quote(w->text));
  } else if (verb == "expect-visible") {
    HWND control = ControlOf(command, rest);
    const std::string expected = TakeWord(rest);
    if (expected != "yes" && expected != "no") Fail(command, "expected yes or no, not \"" + expected + "\"");
    const bool visible = IsWindowVisible(control) != FALSE;
    if (visible != (expected == "yes")) Fail(command, std::string("control is ") + (visible ? "visible" : "hidden"));
  } else if (verb == "screenshot") {
    const std::string file = TextOf(command, rest);
    if (file.empty()) Fail(command, "no file name");
    const gdi::Surface* window = user::SurfaceOf(ActiveWindowOf(command));
    if (gdi::WritePng(*window, file) != Error::None) Fail(command, "cannot write " + file);
  } else if (verb == "screenshot-screen") {
    const std::string file = TextOf(command, rest);
    if (file.empty()) Fail(command, "no file name");
    gdi::Surface screen;
    user::ComposeScreen(&screen);
    if (gdi::WritePng(screen, file) != Error::None) Fail(command, "cannot write " + file);
  } else {
    Fail(command, "unknown command");
  }
  return 0;
}

}  // namespace

std::string Describe(const Command& command, const std::string& why) {
  return "line " + std::to_string(command.line) + ": " + command.verb + ": " + why;
}

Outcome Run(const Command& command) {
  try {
    return {true, Carry(command), {}};
  } catch (const NotYet& missing) {
    return {false, 0, missing.why};
  }
}

}  // namespace vorn::automation
