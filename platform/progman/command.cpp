// The parser of the command language.
#include "platform/progman/command.h"

#include <cctype>
#include <climits>

namespace vorn::progman {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

struct VerbName {
  const char* name;
  Verb verb;
  std::size_t minArgs;
  std::size_t maxArgs;
};

constexpr VerbName kVerbs[] = {
    {"CreateGroup", Verb::CreateGroup, 1, 2}, {"ShowGroup", Verb::ShowGroup, 2, 3},
    {"AddItem", Verb::AddItem, 1, 10},        {"ReplaceItem", Verb::ReplaceItem, 1, 1},
    {"DeleteItem", Verb::DeleteItem, 1, 1},   {"DeleteGroup", Verb::DeleteGroup, 1, 2},
    {"ExitProgman", Verb::ExitProgman, 0, 1},
};

bool ParseNumber(const std::string& text, int* value) {
  std::size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i == text.size() || text.size() - i > 10) return false;
  long long v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
  }
  if (text[0] == '-') v = -v;
  if (v < INT_MIN || v > INT_MAX) return false;
  *value = static_cast<int>(v);
  return true;
}

class Parser {
 public:
  Parser(std::string_view text, std::string* error) : text_(text), error_(error) {}

  bool Commands(std::vector<Command>* commands) {
    SkipSpace();
    if (AtEnd()) return Fail("no command");
    while (!AtEnd()) {
      if (commands->size() == kMaxCommands) return Fail("too many commands");
      Command command;
      if (!Bracketed(&command)) return false;
      commands->push_back(std::move(command));
      SkipSpace();
    }
    return true;
  }

 private:
  bool Bracketed(Command* command) {
    if (!Take('[')) return Fail("a command must start with '['");
    SkipSpace();
    const std::size_t start = pos_;
    while (!AtEnd() && std::isalpha(static_cast<unsigned char>(Peek()))) ++pos_;
    const std::string_view word = text_.substr(start, pos_ - start);
    const VerbName* verb = nullptr;
    for (const VerbName& v : kVerbs) {
      if (SameWord(word, v.name)) verb = &v;
    }
    if (verb == nullptr) return Fail("unknown command '" + std::string(word) + "'");
    SkipSpace();
    if (!Take('(')) return Fail("'(' expected after " + std::string(verb->name));
    std::vector<std::string> args;
    if (!Arguments(&args)) return false;
    SkipSpace();
    if (!Take(']')) return Fail("']' expected after the arguments of " + std::string(verb->name));
    if (args.size() < verb->minArgs || args.size() > verb->maxArgs) {
      return Fail("wrong number of arguments for " + std::string(verb->name));
    }
    command->verb = verb->verb;
    return Interpret(verb->name, args, command);
  }

  // From after '(' to after ')'.
  bool Arguments(std::vector<std::string>* args) {
    SkipSpace();
    if (Take(')')) return true;
    for (;;) {
      std::string arg;
      if (!Argument(&arg)) return false;
      args->push_back(std::move(arg));
      if (Take(')')) return true;
      if (!Take(',')) return Fail(AtEnd() ? "unbalanced parentheses" : "',' or ')' expected");
    }
  }

  // One argument with the spaces around it; stops before ',' or ')'.
  bool Argument(std::string* arg) {
    SkipSpace();
    if (Take('"')) {
      const std::size_t close = text_.find('"', pos_);
      if (close == std::string_view::npos) return Fail("unbalanced quotes");
      *arg = std::string(text_.substr(pos_, close - pos_));
      pos_ = close + 1;
      SkipSpace();
    } else {
      const std::size_t start = pos_;
      while (!AtEnd() && Peek() != ',' && Peek() != ')') {
        const char c = Peek();
        if (c == '(' || c == '[' || c == ']' || c == '"') {
          return Fail(std::string("'") + c + "' in an argument without quotes");
        }
        ++pos_;
      }
      std::size_t end = pos_;
      std::size_t begin = start;
      while (end > begin && IsSpace(text_[end - 1])) --end;
      while (begin < end && IsSpace(text_[begin])) ++begin;
      *arg = std::string(text_.substr(begin, end - begin));
    }
    if (arg->size() > kMaxField) return Fail("argument longer than " + std::to_string(kMaxField) + " characters");
    for (char c : *arg) {
      if (IsControl(c)) return Fail("control character in an argument");
    }
    return true;
  }

  bool Interpret(const char* verb, const std::vector<std::string>& args, Command* command) {
    auto number = [&](std::size_t index, std::optional<int>* value) {
      if (index >= args.size() || args[index].empty()) return true;
      int v;
      if (!ParseNumber(args[index], &v)) return Fail(std::string(verb) + ": '" + args[index] + "' is not a number");
      *value = v;
      return true;
    };
    auto text = [&](std::size_t index) { return index < args.size() ? args[index] : std::string(); };
    std::optional<int> ignored;
    switch (command->verb) {
      case Verb::CreateGroup:
        command->name = text(0);
        command->groupPath = text(1);
        break;
      case Verb::ShowGroup: {
        command->name = text(0);
        std::optional<int> show;
        if (!number(1, &show) || !number(2, &ignored)) return false;
        if (!show || *show < 1 || *show > 8) return Fail("ShowGroup: the window state must be 1 to 8");
        command->showCommand = *show;
        break;
      }
      case Verb::AddItem: {
        ItemFields& item = command->item;
        item.commandLine = text(0);
        item.name = text(1);
        item.iconPath = text(2);
        item.defaultDir = text(6);
        if (!number(3, &item.iconIndex) || !number(4, &item.x) || !number(5, &item.y) || !number(7, &ignored) ||
            !number(8, &ignored) || !number(9, &ignored)) {
          return false;
        }
        if (item.x.has_value() != item.y.has_value()) return Fail("AddItem: x and y positions come together");
        if (item.commandLine.empty()) return Fail("AddItem: the command line is missing");
        return true;
      }
      case Verb::ReplaceItem:
      case Verb::DeleteItem: command->name = text(0); break;
      case Verb::DeleteGroup:
        command->name = text(0);
        if (!number(1, &ignored)) return false;
        break;
      case Verb::ExitProgman: return number(0, &ignored);
    }
    if (command->name.empty()) return Fail(std::string(verb) + ": the name is missing");
    return true;
  }

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return text_[pos_]; }
  bool Take(char c) {
    if (AtEnd() || Peek() != c) return false;
    ++pos_;
    return true;
  }
  void SkipSpace() {
    while (!AtEnd() && IsSpace(Peek())) ++pos_;
  }
  bool Fail(const std::string& reason) {
    *error_ = reason;
    return false;
  }

  std::string_view text_;
  std::string* error_;
  std::size_t pos_ = 0;
};

}  // namespace

bool ParseCommands(std::string_view text, std::vector<Command>* commands, std::string* error) {
  commands->clear();
  std::string ignored;
  if (error == nullptr) error = &ignored;
  if (text.find('\0') != std::string_view::npos) {
    *error = "NUL byte in the command text";
    return false;
  }
  Parser parser(text, error);
  if (parser.Commands(commands)) return true;
  commands->clear();
  return false;
}

}  // namespace vorn::progman
