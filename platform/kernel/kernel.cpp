// The kernel calls: the program's own file, system directories, drives, version and
// error mode.
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/api/kernel.h"
#include "platform/files/files.h"
#include "platform/kernel/module.h"

namespace vorn::kernel {

namespace {

HINSTANCE__ programInstance{};
std::string moduleFileOverride;
int exitOverride = -1;
UINT errorMode = 0;

// Copies a text into a caller's buffer the way the module-name call does: cut to
// fit, always terminated; returns the characters copied.
DWORD CopyTruncated(const std::string& text, LPSTR buffer, DWORD size) {
  if (buffer == nullptr || size == 0) return 0;
  const DWORD count = text.size() < size ? static_cast<DWORD>(text.size()) : size - 1;
  std::memcpy(buffer, text.data(), count);
  buffer[count] = '\0';
  return count;
}

// Copies a text whole or not at all: on success the length without the
// terminator, when the buffer is too small the size it needs.
DWORD CopyWhole(const std::string& text, LPSTR buffer, DWORD size) {
  if (buffer == nullptr || text.size() + 1 > size) return static_cast<DWORD>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}

}  // namespace

HINSTANCE ProgramInstance() { return &programInstance; }

void SetModuleFileForTesting(const std::string& hostPath) { moduleFileOverride = hostPath; }

DWORD Version() {
  int major = 4;
  int minor = 0;
  if (const char* setting = std::getenv("VORN_WINVER"); setting != nullptr && setting[0] != '\0') {
    char* end = nullptr;
    major = static_cast<int>(std::strtol(setting, &end, 10));
    minor = (end != nullptr && *end == '.') ? static_cast<int>(std::strtol(end + 1, nullptr, 10)) : 0;
  }
  return static_cast<DWORD>((major & 0xFF) | ((minor & 0xFF) << 8));
}

int ExitCode(int programCode) { return exitOverride >= 0 ? exitOverride : programCode; }

void SetExitOverride(int code) { exitOverride = code; }

}  // namespace vorn::kernel

using namespace vorn;

DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR filename, DWORD size) {
  (void)module;
  std::string host = kernel::moduleFileOverride;
  if (host.empty()) {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return 0;
    host.assign(self, static_cast<std::size_t>(n));
  }
  std::string winPath;
  if (Error e = files::ToWindowsPath(host, &winPath); e != Error::None) {
    SetLast(e);
    return 0;
  }
  const DWORD copied = kernel::CopyTruncated(winPath, filename, size);
  if (copied < winPath.size()) SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return copied;
}

UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size) {
  return kernel::CopyWhole(files::WindowsDirectory(), buffer, size);
}

DWORD WINAPI GetTempPathA(DWORD size, LPSTR buffer) {
  // VORN_TEMP names another temporary directory; set but empty, the system names none.
  std::string temp = files::TempDirectory();
  if (const char* setting = std::getenv("VORN_TEMP"); setting != nullptr) {
    temp = setting;
    if (temp.empty()) return 0;
    if (temp.back() != '\\') temp += '\\';
  }
  return kernel::CopyWhole(temp, buffer, size);
}

UINT WINAPI GetDriveTypeA(LPCSTR rootPath) {
  char letter = files::CurrentDirectory()[0];
  if (rootPath != nullptr && rootPath[0] != '\0') {
    if (!std::isalpha(static_cast<unsigned char>(rootPath[0])) || rootPath[1] != ':') return DRIVE_NO_ROOT_DIR;
    letter = rootPath[0];
  }
  return files::DriveType(letter);
}

DWORD WINAPI GetVersion(void) { return kernel::Version(); }

UINT WINAPI SetErrorMode(UINT mode) {
  const UINT previous = kernel::errorMode;
  kernel::errorMode = mode;
  return previous;
}

int WINAPI lstrcmpiA(LPCSTR a, LPCSTR b) {
  if (a == nullptr || b == nullptr) return a == b ? 0 : (a == nullptr ? -1 : 1);
  for (;; ++a, ++b) {
    const int ca = std::tolower(static_cast<unsigned char>(*a));
    const int cb = std::tolower(static_cast<unsigned char>(*b));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

int WINAPI lstrlenA(LPCSTR s) { return s == nullptr ? 0 : static_cast<int>(std::strlen(s)); }
