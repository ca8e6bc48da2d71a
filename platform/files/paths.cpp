// Translation between Windows paths and host paths: drives through the prefix's
// links, names looked up one component at a time ignoring case.
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

#include "platform/api/kernel.h"
#include "platform/files/files.h"
#include "platform/files/prefix.h"

namespace vorn::files {

namespace {

constexpr std::size_t kMaxPathLength = 259;  // MAX_PATH less the terminator

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsReservedDeviceName(std::string_view name) {
  // CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices, with any extension.
  std::string base(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

// Checks one name and drops the trailing dots and spaces that Windows ignores.
Error CleanComponent(std::string_view raw, std::string* name) {
  for (char c : raw) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 32 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' || c == '*') {
      return Error::InvalidName;
    }
  }
  std::string cleaned(raw);
  while (!cleaned.empty() && (cleaned.back() == '.' || cleaned.back() == ' ')) cleaned.pop_back();
  if (cleaned.empty() || IsReservedDeviceName(cleaned)) return Error::InvalidName;
  *name = std::move(cleaned);
  return Error::None;
}

std::vector<std::string_view> SplitComponents(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || IsSeparator(path[i])) {
      if (i > start) parts.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

// The entry of a directory that a name refers to: the exact name if it stands
// there, else the first (in byte order) that differs only in case.
bool FindEntry(const std::string& dir, const std::string& name, std::string* found) {
  struct stat st;
  if (lstat((dir + "/" + name).c_str(), &st) == 0) {
    *found = name;
    return true;
  }
  DIR* d = opendir(dir.c_str());
  if (d == nullptr) return false;
  std::vector<std::string> matches;
  while (dirent* entry = readdir(d)) {
    if (strcasecmp(entry->d_name, name.c_str()) == 0) matches.emplace_back(entry->d_name);
  }
  closedir(d);
  if (matches.empty()) return false;
  *found = *std::min_element(matches.begin(), matches.end());
  return true;
}

}  // namespace

Error FullWindowsPath(std::string_view winPath, std::string* full) {
  if (winPath.size() > kMaxPathLength) return Error::NameTooLong;
  if (winPath.empty()) return Error::NotFound;
  if (winPath.size() >= 2 && IsSeparator(winPath[0]) && IsSeparator(winPath[1])) return Error::InvalidName;

  char drive;
  std::string_view rest;
  std::vector<std::string> components;
  if (winPath.size() >= 2 && winPath[1] == ':' && std::isalpha(static_cast<unsigned char>(winPath[0]))) {
    drive = static_cast<char>(std::tolower(static_cast<unsigned char>(winPath[0])));
    rest = winPath.substr(2);
  } else {
    drive = CurrentDrive();
    rest = winPath;
  }
  if (rest.empty() || !IsSeparator(rest[0])) {
    // Relative: start from the drive's current directory.
    const std::string current = CurrentDirectoryOf(drive);
    for (std::string_view part : SplitComponents(std::string_view(current).substr(2))) components.emplace_back(part);
  }
  for (std::string_view part : SplitComponents(rest)) {
    if (part == ".") continue;
    if (part == "..") {
      if (!components.empty()) components.pop_back();
      continue;
    }
    std::string name;
    if (Error e = CleanComponent(part, &name); e != Error::None) return e;
    components.push_back(std::move(name));
  }

  std::string result(1, drive);
  result += ":";
  for (const std::string& c : components) result += "\\" + c;
  if (components.empty()) result += "\\";
  if (result.size() > kMaxPathLength) return Error::NameTooLong;
  *full = std::move(result);
  return Error::None;
}

Error ToHostPath(std::string_view winPath, std::string* hostPath) {
  std::string full;
  if (Error e = FullWindowsPath(winPath, &full); e != Error::None) return e;
  const Drive* drive = FindDrive(full[0]);
  if (drive == nullptr) return Error::PathNotFound;

  std::string host = drive->root == "/" ? std::string() : drive->root;
  bool lookingUp = true;  // once a name is missing, the rest is taken as written
  for (std::string_view part : SplitComponents(std::string_view(full).substr(2))) {
    std::string name(part);
    std::string found;
    if (lookingUp && FindEntry(host.empty() ? "/" : host, name, &found)) {
      name = found;
    } else {
      lookingUp = false;
    }
    host += "/" + name;
  }
  if (host.empty()) host = "/";
  *hostPath = std::move(host);
  return Error::None;
}

Error ToWindowsPath(const std::string& hostPath, std::string* winPath) {
  std::error_code ec;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(hostPath, ec);
  if (ec) return Error::NotFound;
  const std::string path = canonical.string();

  const Drive* best = nullptr;
  for (const Drive& drive : MappedDrives()) {
    const bool contains = drive.root == "/" || path == drive.root ||
                          (path.size() > drive.root.size() && path.compare(0, drive.root.size(), drive.root) == 0 &&
                           path[drive.root.size()] == '/');
    if (contains && (best == nullptr || drive.root.size() > best->root.size())) best = &drive;
  }
  if (best == nullptr) return Error::PathNotFound;

  std::string result(1, static_cast<char>(std::toupper(static_cast<unsigned char>(best->letter))));
  result += ":";
  const std::string rest = best->root == "/" ? path : path.substr(best->root.size());
  for (char c : rest) result += (c == '/') ? '\\' : c;
  if (result.size() == 2) result += "\\";
  *winPath = std::move(result);
  return Error::None;
}

unsigned DriveType(char letter) {
  const Drive* drive = FindDrive(letter);
  if (drive == nullptr) return DRIVE_NO_ROOT_DIR;
  // The drive that maps the whole host stands for the network: files there are not
  // on a disk of the prefix.
  return drive->root == "/" ? DRIVE_REMOTE : DRIVE_FIXED;
}

}  // namespace vorn::files
