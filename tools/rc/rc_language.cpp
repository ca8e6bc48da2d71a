// The lexer and parser of the .rc subset.
#include "tools/rc/rc_language.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vorn::rc {

namespace {

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

const std::map<std::string, std::uint32_t>& Constants() {
  static const std::map<std::string, std::uint32_t> constants = {
      {"WS_OVERLAPPED", 0x00000000}, {"WS_POPUP", 0x80000000},     {"WS_CHILD", 0x40000000},
      {"WS_MINIMIZE", 0x20000000},   {"WS_VISIBLE", 0x10000000},   {"WS_DISABLED", 0x08000000},
      {"WS_CLIPSIBLINGS", 0x04000000}, {"WS_CLIPCHILDREN", 0x02000000}, {"WS_MAXIMIZE", 0x01000000},
      {"WS_CAPTION", 0x00C00000},    {"WS_BORDER", 0x00800000},    {"WS_DLGFRAME", 0x00400000},
      {"WS_VSCROLL", 0x00200000},    {"WS_HSCROLL", 0x00100000},   {"WS_SYSMENU", 0x00080000},
      {"WS_THICKFRAME", 0x00040000}, {"WS_GROUP", 0x00020000},     {"WS_TABSTOP", 0x00010000},
      {"WS_MINIMIZEBOX", 0x00020000}, {"WS_MAXIMIZEBOX", 0x00010000},
      {"WS_EX_DLGMODALFRAME", 0x00000001}, {"WS_EX_CLIENTEDGE", 0x00000200}, {"WS_EX_STATICEDGE", 0x00020000},
      {"DS_ABSALIGN", 0x01},   {"DS_SYSMODAL", 0x02},  {"DS_3DLOOK", 0x04},      {"DS_LOCALEDIT", 0x20},
      {"DS_SETFONT", 0x40},    {"DS_MODALFRAME", 0x80}, {"DS_NOIDLEMSG", 0x100}, {"DS_SETFOREGROUND", 0x200},
      {"DS_CENTER", 0x800},
      {"BS_PUSHBUTTON", 0x0},  {"BS_DEFPUSHBUTTON", 0x1}, {"BS_CHECKBOX", 0x2}, {"BS_AUTOCHECKBOX", 0x3},
      {"BS_RADIOBUTTON", 0x4}, {"BS_3STATE", 0x5},        {"BS_AUTO3STATE", 0x6}, {"BS_GROUPBOX", 0x7},
      {"BS_AUTORADIOBUTTON", 0x9},
      {"SS_LEFT", 0x0},  {"SS_CENTER", 0x1}, {"SS_RIGHT", 0x2}, {"SS_ICON", 0x3}, {"SS_BLACKFRAME", 0x7},
      {"SS_LEFTNOWORDWRAP", 0xC}, {"SS_NOPREFIX", 0x80}, {"SS_SUNKEN", 0x1000},
      {"ES_LEFT", 0x0}, {"ES_AUTOHSCROLL", 0x80}, {"ES_OEMCONVERT", 0x400}, {"ES_READONLY", 0x800},
      {"LBS_NOTIFY", 0x1}, {"LBS_SORT", 0x2}, {"LBS_OWNERDRAWFIXED", 0x10}, {"LBS_HASSTRINGS", 0x40},
      {"LBS_DISABLENOSCROLL", 0x1000},
      {"CBS_SIMPLE", 0x1}, {"CBS_DROPDOWN", 0x2}, {"CBS_DROPDOWNLIST", 0x3}, {"CBS_OWNERDRAWFIXED", 0x10},
      {"CBS_AUTOHSCROLL", 0x40}, {"CBS_SORT", 0x100}, {"CBS_HASSTRINGS", 0x200},
      {"IDOK", 1}, {"IDCANCEL", 2}, {"IDC_STATIC", 0xFFFFFFFF},
  };
  return constants;
}

// ---- Tokens ----

struct Token {
  enum Kind { End, Name, Number, String, Punct } kind = End;
  std::string text;
  std::uint32_t number = 0;
  int line = 0;
};

class Lexer {
 public:
  explicit Lexer(std::string source) : source_(std::move(source)) {}

  std::vector<Token> All() {
    std::vector<Token> tokens;
    for (;;) {
      Token t = Next();
      tokens.push_back(t);
      if (t.kind == Token::End) return tokens;
    }
  }

 private:
  Token Next() {
    SkipBlanks();
    Token t;
    t.line = line_;
    if (pos_ >= source_.size()) return t;
    const char c = source_[pos_];
    if (c == '"') {
      t.kind = Token::String;
      t.text = ReadString();
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      t.kind = Token::Number;
      // In place, and refused when it does not fit 32 bits.
      const char* start = source_.c_str() + pos_;
      char* end = nullptr;
      errno = 0;
      const unsigned long long value = std::strtoull(start, &end, 0);
      if (errno == ERANGE || value > 0xFFFFFFFFull) throw Failure("line " + std::to_string(line_) + ": number out of range");
      t.number = static_cast<std::uint32_t>(value);
      pos_ += static_cast<std::size_t>(end - start);
      while (pos_ < source_.size() && (source_[pos_] == 'L' || source_[pos_] == 'l' || source_[pos_] == 'U' || source_[pos_] == 'u')) ++pos_;
    } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      t.kind = Token::Name;
      while (pos_ < source_.size() && (std::isalnum(static_cast<unsigned char>(source_[pos_])) || source_[pos_] == '_')) {
        t.text += source_[pos_++];
      }
    } else {
      t.kind = Token::Punct;
      t.text = std::string(1, c);
      ++pos_;
    }
    return t;
  }

  void SkipBlanks() {
    while (pos_ < source_.size()) {
      const char c = source_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
        atLineStart_ = true;
      } else if (std::isspace(static_cast<unsigned char>(c))) {
        ++pos_;
      } else if (c == '#' && atLineStart_) {
        while (pos_ < source_.size() && source_[pos_] != '\n') ++pos_;
      } else if (source_.compare(pos_, 2, "//") == 0) {
        while (pos_ < source_.size() && source_[pos_] != '\n') ++pos_;
      } else if (source_.compare(pos_, 2, "/*") == 0) {
        const std::size_t end = source_.find("*/", pos_ + 2);
        if (end == std::string::npos) throw Failure("line " + std::to_string(line_) + ": unterminated comment");
        for (std::size_t i = pos_; i < end; ++i) line_ += source_[i] == '\n';
        pos_ = end + 2;
      } else {
        atLineStart_ = false;
        return;
      }
    }
  }

  // A string: "" stands for a quote; \n, \t, \\ and \" are escapes.
  std::string ReadString() {
    std::string text;
    ++pos_;
    for (;;) {
      if (pos_ >= source_.size() || source_[pos_] == '\n') throw Failure("line " + std::to_string(line_) + ": unterminated string");
      const char c = source_[pos_++];
      if (c == '"') {
        if (pos_ < source_.size() && source_[pos_] == '"') {
          text += '"';
          ++pos_;
          continue;
        }
        return text;
      }
      if (c == '\\' && pos_ < source_.size()) {
        const char e = source_[pos_++];
        text += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
        continue;
      }
      text += c;
    }
  }

  std::string source_;
  std::size_t pos_ = 0;
  int line_ = 1;
  bool atLineStart_ = true;
};

constexpr std::uint32_t kChildVisible = 0x40000000 | 0x10000000;

// The statements that name a control kind: its class, the style bits of its kind,
// and the further style it has when the statement gives none. As windres reads
// them, a style given replaces those defaults (WS_TABSTOP, WS_GROUP) and keeps
// the kind and WS_CHILD | WS_VISIBLE; write WS_TABSTOP or WS_GROUP out where a
// statement gives a style, and the .rc means the same to every compiler.
struct Kind {
  const char* className;
  std::uint32_t kindStyle;
  std::uint32_t defaultStyle;
  bool hasText;
};

constexpr std::uint32_t kTabStop = 0x00010000;
constexpr std::uint32_t kGroup = 0x00020000;
constexpr std::uint32_t kBorder = 0x00800000;

const std::map<std::string, Kind>& Kinds() {
  static const std::map<std::string, Kind> kinds = {
      {"PUSHBUTTON", {"Button", 0x0, kTabStop, true}},      {"DEFPUSHBUTTON", {"Button", 0x1, kTabStop, true}},
      {"CHECKBOX", {"Button", 0x2, kTabStop, true}},        {"AUTOCHECKBOX", {"Button", 0x3, kTabStop, true}},
      {"RADIOBUTTON", {"Button", 0x4, 0, true}},            {"AUTORADIOBUTTON", {"Button", 0x9, 0, true}},
      {"GROUPBOX", {"Button", 0x7, 0, true}},               {"LTEXT", {"Static", 0x0, kGroup, true}},
      {"CTEXT", {"Static", 0x1, kGroup, true}},             {"RTEXT", {"Static", 0x2, kGroup, true}},
      {"EDITTEXT", {"Edit", 0x0, kBorder | kTabStop, false}}, {"LISTBOX", {"ListBox", 0x1, kBorder, false}},
      {"COMBOBOX", {"ComboBox", 0x0, kTabStop, false}},
  };
  return kinds;
}

class Parser {
 public:
  Parser(std::vector<Token> tokens, std::string baseDir) : tokens_(std::move(tokens)), baseDir_(std::move(baseDir)) {}

  void Parse(std::vector<Dialog>& dialogs, std::vector<Icon>& icons) {
    while (Peek().kind != Token::End) {
      if (IsName("LANGUAGE")) {
        Take();
        Number();
        Expect(",");
        Number();
        continue;
      }
      const Token name = Take();
      if (name.kind != Token::Name && name.kind != Token::Number) Fail(name, "expected a resource name");
      const Token type = Take();
      if (type.text == "DIALOG" || type.text == "DIALOGEX") {
        dialogs.push_back(ParseDialog(name, type.text == "DIALOGEX"));
      } else if (type.text == "ICON") {
        icons.push_back(ParseIcon(name));
      } else {
        Fail(type, "unsupported resource type " + type.text);
      }
    }
  }

 private:
  const Token& Peek(std::size_t ahead = 0) const { return tokens_[std::min(pos_ + ahead, tokens_.size() - 1)]; }
  Token Take() { return tokens_[std::min(pos_++, tokens_.size() - 1)]; }
  bool IsName(const char* word) const { return Peek().kind == Token::Name && Peek().text == word; }
  bool IsPunct(const char* p) const { return Peek().kind == Token::Punct && Peek().text == p; }

  [[noreturn]] static void Fail(const Token& at, const std::string& why) {
    throw Failure("line " + std::to_string(at.line) + ": " + why);
  }

  void Expect(const char* p) {
    const Token t = Take();
    if (t.kind != Token::Punct || t.text != p) Fail(t, std::string("expected '") + p + "'");
  }

  bool Begin() {
    if (IsName("BEGIN") || IsPunct("{")) {
      Take();
      return true;
    }
    return false;
  }
  bool End() {
    if (IsName("END") || IsPunct("}")) {
      Take();
      return true;
    }
    return false;
  }

  std::uint32_t Term() {
    const Token t = Take();
    if (t.kind == Token::Punct && t.text == "-") return 0u - Term();
    if (t.kind == Token::Punct && t.text == "(") {
      const std::uint32_t v = Value();
      Expect(")");
      return v;
    }
    if (t.kind == Token::Number) return t.number;
    if (t.kind == Token::Name) {
      auto it = Constants().find(t.text);
      if (it == Constants().end()) Fail(t, "unknown constant " + t.text);
      return it->second;
    }
    Fail(t, "expected a number");
  }

  // A value: terms joined by |.
  std::uint32_t Value() {
    std::uint32_t v = Term();
    while (IsPunct("|")) {
      Take();
      v |= Term();
    }
    return v;
  }

  int Number() { return static_cast<std::int32_t>(Value()); }

  // A style on top of a default: | adds a term, NOT takes one away, left to right.
  std::uint32_t Style(std::uint32_t base) {
    std::uint32_t v = base;
    for (;;) {
      const bool negate = IsName("NOT");
      if (negate) Take();
      const std::uint32_t term = Term();
      v = negate ? (v & ~term) : (v | term);
      if (!IsPunct("|")) return v;
      Take();
    }
  }

  std::string Text() {
    const Token t = Take();
    if (t.kind != Token::String) Fail(t, "expected a string");
    return t.text;
  }

  Dialog ParseDialog(const Token& name, bool extended) {
    Dialog d;
    if (name.kind == Token::Name) d.name = name.text; else d.id = static_cast<int>(name.number);
    d.x = Number();
    Expect(",");
    d.y = Number();
    Expect(",");
    d.cx = Number();
    Expect(",");
    d.cy = Number();
    if (extended && IsPunct(",")) {
      Take();
      Number();  // help id
    }
    bool haveStyle = false;
    bool haveCaption = false;
    while (!Begin()) {
      const Token statement = Take();
      if (statement.text == "STYLE") {
        d.style = Style(0);
        haveStyle = true;
      } else if (statement.text == "EXSTYLE") {
        d.exStyle = Style(0);
      } else if (statement.text == "CAPTION") {
        d.caption = Text();
        haveCaption = true;
      } else if (statement.text == "FONT") {
        d.pointSize = Number();
        Expect(",");
        d.font = Text();
        while (extended && IsPunct(",")) {  // weight, italic, character set
          Take();
          Number();
        }
      } else if (statement.text == "LANGUAGE") {
        Number();
        Expect(",");
        Number();
      } else {
        Fail(statement, "unsupported dialog statement " + statement.text);
      }
    }
    if (haveCaption && !haveStyle) d.style |= 0x00C00000;
    if (!d.font.empty()) d.style |= 0x40;  // DS_SETFONT
    while (!End()) d.controls.push_back(ParseControl(extended));
    return d;
  }

  Control ParseControl(bool extended) {
    const Token statement = Take();
    Control c;
    if (statement.text == "CONTROL") {
      c.text = Peek().kind == Token::String ? Text() : std::to_string(Number());
      Expect(",");
      c.id = Number();
      Expect(",");
      const Token cls = Take();
      if (cls.kind != Token::String && cls.kind != Token::Name) Fail(cls, "expected a class name");
      c.className = cls.text;
      Expect(",");
      c.style = Style(kChildVisible);
      Expect(",");
      Rectangle(c);
    } else {
      auto it = Kinds().find(statement.text);
      if (it == Kinds().end()) Fail(statement, "unsupported control " + statement.text);
      c.className = it->second.className;
      if (it->second.hasText) {
        c.text = Text();
        Expect(",");
      }
      c.id = Number();
      Expect(",");
      Rectangle(c);
      c.style = kChildVisible | it->second.kindStyle;
      if (IsPunct(",")) {
        Take();
        c.style = Style(c.style);
      } else {
        c.style |= it->second.defaultStyle;
      }
    }
    if (IsPunct(",")) {
      Take();
      c.exStyle = Style(0);
    }
    if (extended && IsPunct(",")) {  // help id
      Take();
      Number();
    }
    return c;
  }

  void Rectangle(Control& c) {
    c.x = Number();
    Expect(",");
    c.y = Number();
    Expect(",");
    c.cx = Number();
    Expect(",");
    c.cy = Number();
  }

  Icon ParseIcon(const Token& name) {
    Icon icon;
    if (name.kind == Token::Name) icon.name = name.text; else icon.id = static_cast<int>(name.number);
    const Token file = Take();
    if (file.kind != Token::String) Fail(file, "expected the icon's file name");
    const std::string path = baseDir_ + file.text;
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail(file, "cannot read " + path);
    icon.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return icon;
  }

  std::vector<Token> tokens_;
  std::size_t pos_ = 0;
  std::string baseDir_;
};

}  // namespace

bool ParseScript(const std::string& text, const std::string& baseDir, std::vector<Dialog>* dialogs,
                 std::vector<Icon>* icons, std::string* error) {
  try {
    Parser(Lexer(text).All(), baseDir).Parse(*dialogs, *icons);
    return true;
  } catch (const Failure& failure) {
    dialogs->clear();
    icons->clear();
    *error = failure.what();
    return false;
  }
}

}  // namespace vorn::rc
