// Run-time loading of libraries: only what the platform (or a test) registered.
#include "platform/kernel/libraries.h"

#include <memory>
#include <vector>

#include "platform/api/kernel.h"

namespace vorn::kernel {

namespace {

struct Library {
  HINSTANCE__ handle{};
  std::string fileName;
  std::map<std::string, FARPROC> entryPoints;
  int loads = 0;
};

std::vector<std::unique_ptr<Library>> libraries;

// Only the file name counts: "C:\windows\system\ctl3d32.dll" finds "Ctl3d32.dll".
std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

Library* Find(const std::string& fileName) {
  const std::string base = BaseName(fileName);
  for (auto& library : libraries) {
    if (lstrcmpiA(library->fileName.c_str(), base.c_str()) == 0) return library.get();
  }
  return nullptr;
}

Library* FromHandle(HMODULE module) {
  for (auto& library : libraries) {
    if (&library->handle == module) return library.get();
  }
  return nullptr;
}

}  // namespace

void RegisterLibrary(const std::string& fileName, const std::map<std::string, FARPROC>& entryPoints) {
  if (Library* existing = Find(fileName)) {
    existing->entryPoints = entryPoints;
    return;
  }
  auto library = std::make_unique<Library>();
  library->fileName = fileName;
  library->entryPoints = entryPoints;
  libraries.push_back(std::move(library));
}

void UnregisterLibraries() { libraries.clear(); }

int LoadCount(const std::string& fileName) {
  Library* library = Find(fileName);
  return library == nullptr ? 0 : library->loads;
}

}  // namespace vorn::kernel

using namespace vorn::kernel;

HMODULE WINAPI LoadLibraryA(LPCSTR fileName) {
  Library* library = fileName == nullptr ? nullptr : Find(fileName);
  if (library == nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  library->loads += 1;
  return &library->handle;
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName) {
  Library* library = FromHandle(module);
  if (library == nullptr || procName == nullptr || IS_INTRESOURCE(procName)) {
    SetLastError(library == nullptr ? ERROR_INVALID_HANDLE : ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  auto it = library->entryPoints.find(procName);
  if (it == library->entryPoints.end()) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return it->second;
}

BOOL WINAPI FreeLibrary(HMODULE module) {
  Library* library = FromHandle(module);
  if (library == nullptr || library->loads == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  library->loads -= 1;
  return TRUE;
}
