// Reading and writing the groups file.
#include "platform/progman/store.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/files/files.h"

namespace vorn::progman {

namespace {

bool ParseOptionalNumber(const std::string& text, std::optional<int>* value) {
  if (text.empty()) return true;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < INT32_MIN || v > INT32_MAX) return false;
  *value = static_cast<int>(v);
  return true;
}

bool SetItemField(Item* item, const std::string& key, const std::string& value) {
  if (key == "Name") item->name = value;
  else if (key == "CommandLine") item->commandLine = value;
  else if (key == "IconPath") item->iconPath = value;
  else if (key == "IconIndex") return ParseOptionalNumber(value, &item->iconIndex);
  else if (key == "X") return ParseOptionalNumber(value, &item->x);
  else if (key == "Y") return ParseOptionalNumber(value, &item->y);
  else if (key == "DefaultDir") item->defaultDir = value;
  return true;
}

std::string Number(const std::optional<int>& value) { return value ? std::to_string(*value) : std::string(); }

}  // namespace

std::string StorePath() { return files::PrefixRoot() + "/progman/groups.ini"; }

bool LoadGroups(const std::string& path, Groups* groups, std::string* error) {
  groups->clear();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) && !ec) return true;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = path + ": cannot be read";
    return false;
  }
  enum class Section { None, Group, Item } section = Section::None;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    const std::string where = path + ":" + std::to_string(number) + ": ";
    if (line.empty() || line[0] == ';') continue;
    if (line == "[Group]") {
      groups->push_back({});
      section = Section::Group;
      continue;
    }
    if (line == "[Item]") {
      if (groups->empty()) {
        *error = where + "an item before any group";
        return false;
      }
      groups->back().items.push_back({});
      section = Section::Item;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || section == Section::None) {
      *error = where + "not a key of a section";
      return false;
    }
    const std::string key = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    if (section == Section::Group) {
      if (key == "Name") groups->back().name = value;
      if (key == "Path") groups->back().path = value;
    } else if (!SetItemField(&groups->back().items.back(), key, value)) {
      *error = where + "'" + value + "' is not a number";
      return false;
    }
  }
  for (const Group& group : *groups) {
    if (group.name.empty()) {
      *error = path + ": a group without a name";
      return false;
    }
  }
  return true;
}

bool SaveGroups(const std::string& path, const Groups& groups, std::string* error) {
  std::string text = "; The groups of the Program Manager, kept by progman.\n";
  for (const Group& group : groups) {
    text += "[Group]\nName=" + group.name + "\nPath=" + group.path + "\n";
    for (const Item& item : group.items) {
      text += "[Item]\nName=" + item.name + "\nCommandLine=" + item.commandLine + "\nIconPath=" + item.iconPath +
              "\nIconIndex=" + Number(item.iconIndex) + "\nX=" + Number(item.x) + "\nY=" + Number(item.y) +
              "\nDefaultDir=" + item.defaultDir + "\n";
    }
  }

  const std::filesystem::path target(path);
  std::error_code ec;
  std::filesystem::create_directories(target.parent_path(), ec);
  const std::string temporary = path + ".new";
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  bool written = fd >= 0;
  for (std::size_t done = 0; written && done < text.size();) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    written = n > 0;
    if (written) done += static_cast<std::size_t>(n);
  }
  written = written && fsync(fd) == 0;
  if (fd >= 0) written = close(fd) == 0 && written;
  if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    *error = temporary + ": " + std::strerror(errno);
    unlink(temporary.c_str());
    return false;
  }
  // The rename itself is durable once the directory is.
  const int dir = open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}

}  // namespace vorn::progman
