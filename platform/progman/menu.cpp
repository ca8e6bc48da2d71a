// Writing the menu mirror.
#include "platform/progman/menu.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "platform/files/files.h"

namespace vorn::progman {

namespace fs = std::filesystem;

namespace {

const char kPrefix[] = "vorn-progman-";

void AppendUtf8(std::string* out, unsigned code) {
  if (code < 0x80) {
    *out += static_cast<char>(code);
  } else if (code < 0x800) {
    *out += static_cast<char>(0xC0 | code >> 6);
    *out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    *out += static_cast<char>(0xE0 | code >> 12);
    *out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    *out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Windows-1252 to UTF-8; its five unassigned bytes become U+FFFD.
std::string FromAnsi(const std::string& text) {
  static const unsigned kHigh[32] = {
      0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
  std::string out;
  for (unsigned char c : text) AppendUtf8(&out, c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c);
  return out;
}

bool IsUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
    }
    i += length;
  }
  return true;
}

// A string value of a desktop entry.
std::string EntryValue(const std::string& utf8) {
  std::string out;
  for (char c : utf8) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
  if (!out.empty() && out[0] == ' ') out.replace(0, 1, "\\s");
  return out;
}

// One argument of an Exec line, quoted, with field codes and the value escape applied.
std::string ExecArgument(const std::string& utf8) {
  std::string quoted = "\"";
  for (char c : utf8) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c == '%' ? std::string("%%") : std::string(1, c);
  }
  quoted += '"';
  return EntryValue(quoted);
}

std::string XmlText(const std::string& utf8) {
  std::string out;
  for (char c : utf8) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// The name in lower-case letters and digits joined by single dashes.
std::string Slug(const std::string& name, const char* fallback) {
  std::string slug;
  for (unsigned char c : name) {
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
      slug += static_cast<char>(c);
    } else if (c >= 'A' && c <= 'Z') {
      slug += static_cast<char>(c - 'A' + 'a');
    } else if (!slug.empty() && slug.back() != '-') {
      slug += '-';
    }
  }
  while (!slug.empty() && slug.back() == '-') slug.pop_back();
  return slug.empty() ? fallback : slug;
}

// The first of base, base-2, base-3, ... not yet taken, now taken.
std::string Unique(const std::string& base, std::set<std::string>* taken) {
  std::string name = base;
  for (int n = 2; !taken->insert(name).second; ++n) name = base + "-" + std::to_string(n);
  return name;
}

// The host path of an existing file or directory named by a Windows path.
bool HostFile(const std::string& winPath, std::string* host) {
  std::error_code ec;
  return files::ToHostPath(winPath, host) == Error::None && fs::exists(*host, ec) && IsUtf8(*host);
}

// The item's program's file as a host path, or false when there is none.
bool ProgramFile(const std::string& commandLine, std::string* host) {
  if (commandLine.empty()) return false;
  if (HostFile(commandLine, host)) return true;
  return HostFile(commandLine.substr(0, commandLine.find(' ')), host);
}

std::string IconFor(const std::string& host) {
  std::string extension = fs::path(host).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".exe" || extension == ".com" || extension == ".bat" || extension == ".pif") {
    return "application-x-executable";
  }
  if (extension == ".hlp" || extension == ".chm") return "help-browser";
  if (extension == ".txt" || extension == ".ini" || extension == ".wri" || extension == ".doc") {
    return "text-x-generic";
  }
  return "";
}

bool DesktopEntry(const Item& item, std::string* entry) {
  std::string program;
  if (!ProgramFile(item.commandLine, &program)) return false;
  std::ostringstream out;
  out << "[Desktop Entry]\nType=Application\nVersion=1.0\n";
  out << "Name=" << EntryValue(FromAnsi(item.name)) << "\n";
  out << "Comment=" << EntryValue(FromAnsi(item.commandLine)) << "\n";
  out << "Exec=xdg-open " << ExecArgument(program) << "\n";
  std::string directory;
  if (!item.defaultDir.empty() && HostFile(item.defaultDir, &directory)) {
    out << "Path=" << EntryValue(directory) << "\n";
  }
  const std::string icon = IconFor(program);
  if (!icon.empty()) out << "Icon=" << icon << "\n";
  out << "Terminal=false\n";
  *entry = out.str();
  return true;
}

std::string DirectoryEntry(const Group& group) {
  return "[Desktop Entry]\nType=Directory\nVersion=1.0\nName=" + EntryValue(FromAnsi(group.name)) +
         "\nIcon=folder\n";
}

std::string MenuFragment(const Group& group, const std::string& directoryFile,
                         const std::vector<std::string>& desktopFiles) {
  std::string menu =
      "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
      " \"http://www.freedesktop.org/standards/menu-spec/menu-1.0.dtd\">\n"
      "<Menu>\n  <Name>Applications</Name>\n  <Menu>\n    <Name>" +
      XmlText(FromAnsi(group.name)) + "</Name>\n    <Directory>" + directoryFile +
      "</Directory>\n    <Include>\n";
  for (const std::string& file : desktopFiles) menu += "      <Filename>" + file + "</Filename>\n";
  menu += "    </Include>\n  </Menu>\n</Menu>\n";
  return menu;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool WriteIfChanged(const std::string& path, const std::string& content, std::string* error) {
  std::error_code ec;
  if (fs::exists(path, ec) && ReadAll(path) == content) return true;
  const std::string temporary = path + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out.flush()) {
      *error = temporary + ": cannot be written";
      return false;
    }
  }
  fs::rename(temporary, path, ec);
  if (ec) {
    *error = path + ": " + ec.message();
    fs::remove(temporary, ec);
    return false;
  }
  return true;
}

}  // namespace

bool DefaultMenuPlaces(MenuPlaces* places) {
  const char* home = std::getenv("HOME");
  auto base = [&](const char* variable, const char* underHome, std::string* dir) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
      *dir = value;
    } else if (home != nullptr && home[0] == '/') {
      *dir = std::string(home) + underHome;
    } else {
      return false;
    }
    return true;
  };
  std::string data, config;
  if (!base("XDG_DATA_HOME", "/.local/share", &data) || !base("XDG_CONFIG_HOME", "/.config", &config)) return false;
  *places = {data + "/applications", data + "/desktop-directories", config + "/menus/applications-merged"};
  return true;
}

bool MirrorMenu(const Groups& groups, const MenuPlaces& places, std::string* error) {
  std::map<std::string, std::string> wanted;  // path -> content
  std::set<std::string> groupSlugs, desktopIds;
  for (const Group& group : groups) {
    const std::string groupId = kPrefix + Unique(Slug(group.name, "group"), &groupSlugs);
    std::vector<std::string> desktopFiles;
    for (const Item& item : group.items) {
      std::string entry;
      if (!DesktopEntry(item, &entry)) continue;
      const std::string id = Unique(groupId + "-" + Slug(item.name, "item"), &desktopIds) + ".desktop";
      wanted[places.applications + "/" + id] = entry;
      desktopFiles.push_back(id);
    }
    wanted[places.directories + "/" + groupId + ".directory"] = DirectoryEntry(group);
    wanted[places.menus + "/" + groupId + ".menu"] = MenuFragment(group, groupId + ".directory", desktopFiles);
  }

  std::error_code ec;
  for (const std::string* dir : {&places.applications, &places.directories, &places.menus}) {
    fs::create_directories(*dir, ec);
  }
  for (const auto& [path, content] : wanted) {
    if (!WriteIfChanged(path, content, error)) return false;
  }
  const std::pair<const std::string*, const char*> kinds[] = {
      {&places.applications, ".desktop"}, {&places.directories, ".directory"}, {&places.menus, ".menu"}};
  for (const auto& [dir, suffix] : kinds) {
    for (const auto& entry : fs::directory_iterator(*dir, ec)) {
      const std::string name = entry.path().filename().string();
      const bool ours = name.rfind(kPrefix, 0) == 0 && entry.path().extension() == suffix;
      if (ours && wanted.count(entry.path().string()) == 0) fs::remove(entry.path(), ec);
    }
  }
  return true;
}

}  // namespace vorn::progman
