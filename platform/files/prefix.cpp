// The prefix directory, its layout, its drive links and the current directories.
#include "platform/files/prefix.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

#include "platform/files/files.h"

namespace vorn::files {

namespace fs = std::filesystem;

namespace {

struct PrefixState {
  std::string root;
  std::vector<Drive> drives;
  char currentDrive = 'c';
  std::map<char, std::string> currentDirs;  // Windows paths without the drive: "\dir"
};

std::optional<PrefixState> state;

std::string DefaultPrefix() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  std::string base;
  if (dataHome != nullptr && dataHome[0] == '/') {
    base = dataHome;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home != nullptr ? home : "/tmp") + "/.local/share";
  }
  return base + "/vorn/prefix";
}

// Lays out a new prefix; an existing one is used as it stands.
void EnsureLayout(const std::string& root) {
  std::error_code ec;
  fs::create_directories(root + "/drive_c/windows/temp", ec);
  fs::create_directories(root + "/dosdevices", ec);
  const std::string c = root + "/dosdevices/c:";
  const std::string z = root + "/dosdevices/z:";
  if (fs::symlink_status(c, ec).type() == fs::file_type::not_found) fs::create_directory_symlink("../drive_c", c, ec);
  if (fs::symlink_status(z, ec).type() == fs::file_type::not_found) fs::create_directory_symlink("/", z, ec);
}

std::vector<Drive> ReadDrives(const std::string& root) {
  std::vector<Drive> drives;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(root + "/dosdevices", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() != 2 || name[1] != ':' || !std::isalpha(static_cast<unsigned char>(name[0]))) continue;
    std::error_code canonicalError;
    fs::path target = fs::canonical(entry.path(), canonicalError);
    if (canonicalError || !fs::is_directory(target, canonicalError)) continue;
    drives.push_back({static_cast<char>(std::tolower(static_cast<unsigned char>(name[0]))), target.string()});
  }
  std::sort(drives.begin(), drives.end(), [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
  return drives;
}

PrefixState& State() {
  if (!state) {
    PrefixState s;
    const char* configured = std::getenv("VORN_PREFIX");
    s.root = (configured != nullptr && configured[0] != '\0') ? configured : DefaultPrefix();
    std::error_code ec;
    fs::create_directories(s.root, ec);
    s.root = fs::absolute(s.root, ec).lexically_normal().string();
    if (s.root.size() > 1 && s.root.back() == '/') s.root.pop_back();
    EnsureLayout(s.root);
    s.drives = ReadDrives(s.root);
    state = std::move(s);
    // The process starts in the directory it was started from, where a drive maps it.
    std::string cwd;
    if (ToWindowsPath(fs::current_path(ec).string(), &cwd) == Error::None) {
      state->currentDrive = static_cast<char>(std::tolower(static_cast<unsigned char>(cwd[0])));
      state->currentDirs[state->currentDrive] = cwd.substr(2);
    }
  }
  return *state;
}

}  // namespace

const std::string& PrefixRoot() { return State().root; }

void Reset() { state.reset(); }

const std::vector<Drive>& MappedDrives() { return State().drives; }

const Drive* FindDrive(char letter) {
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  for (const Drive& drive : State().drives) {
    if (drive.letter == lower) return &drive;
  }
  return nullptr;
}

std::string Drives() {
  std::string letters;
  for (const Drive& drive : MappedDrives()) letters += drive.letter;
  return letters;
}

char CurrentDrive() { return State().currentDrive; }

std::string CurrentDirectoryOf(char letter) {
  PrefixState& s = State();
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  auto it = s.currentDirs.find(lower);
  return std::string(1, lower) + ":" + (it == s.currentDirs.end() ? std::string("\\") : it->second);
}

std::string CurrentDirectory() { return CurrentDirectoryOf(CurrentDrive()); }

Error SetCurrentDrive(char letter) {
  if (FindDrive(letter) == nullptr) return Error::InvalidName;
  State().currentDrive = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  return Error::None;
}

Error SetCurrentDirectory(std::string_view winPath) {
  std::string full;
  if (Error e = FullWindowsPath(winPath, &full); e != Error::None) return e;
  if (!IsDirectory(full)) return Error::PathNotFound;
  PrefixState& s = State();
  s.currentDrive = full[0];
  s.currentDirs[full[0]] = full.substr(2);
  return Error::None;
}

std::string WindowsDirectory() { return "C:\\windows"; }

std::string TempDirectory() { return "C:\\windows\\temp\\"; }

}  // namespace vorn::files
