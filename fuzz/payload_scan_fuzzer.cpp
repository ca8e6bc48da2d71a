// Any bytes after a valid head, scanned and placed as a whole install: the run must
// end, and leave no temporary file and, when it fails, none of its files.
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/install_state.h"
#include "engine/scanner.h"
#include "platform/files/files.h"
#include "platform/kernel/module.h"
#include "platform/user/testing.h"
#include "shell/installer_app.h"

namespace {

bool HostExists(const char* winPath) {
  std::string host;
  struct stat st;
  return vorn::files::ToHostPath(winPath, &host) == vorn::Error::None && lstat(host.c_str(), &st) == 0;
}

void RemoveTree(const char* winPath) {
  std::string host;
  std::error_code ec;
  if (vorn::files::ToHostPath(winPath, &host) == vorn::Error::None) std::filesystem::remove_all(host, ec);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string image = [] {
    setenv("VORN_PREFIX", "/tmp/vorn-fuzz-prefix", 1);
    vorn::automation::SetMessageBoxResponder([](const vorn::automation::MessageBoxRecord& box) {
      return (box.flags & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
    });
    std::string host;
    vorn::files::ToHostPath("c:\\install.exe", &host);
    vorn::kernel::SetModuleFileForTesting(host);
    return host;
  }();
  {
    std::ofstream out(image, std::ios::binary | std::ios::trunc);
    out << std::string(128, 'h');
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  RemoveTree("c:\\vorn");
  installerApp = InstallerApp{};
  installState = InstallState{};
  std::strcpy(installState.destinationDir, "c:\\vorn");

  ResetInstallState();
  if (PrepareDestination() != Done || OpenInstallImage() != Done) std::abort();
  StepResult result = Continue;
  for (int slices = 0; result == Continue; ++slices) {
    if (slices > 1000) std::abort();  // the image is far smaller than 1000 slices
    result = ScanSlice();
  }
  if (result != Done) {
    RollbackInstall();
    if (HostExists("c:\\vorn")) std::abort();
  }
  if (installState.imageStream != nullptr || installState.tempStream != nullptr) std::abort();
  if (HostExists("c:\\windows\\temp\\vorn.tmp")) std::abort();
  return 0;
}
