// The program module as the kernel service sees it: its instance handle, its own
// file, and the exit code the platform reports.
#pragma once

#include <string>

#include "platform/api/types.h"

namespace vorn::kernel {

// The instance handle of the program; its resources are the program's resources.
HINSTANCE ProgramInstance();
// Tests run the engine inside a test binary: make GetModuleFileNameA report this
// host file as the program's own file instead of the running executable.
void SetModuleFileForTesting(const std::string& hostPath);
// The version GetVersion reports: VORN_WINVER ("4.0", "3.95", ...) or 4.0.
DWORD Version();
// Lets the platform override the program's exit code (an automation script that
// failed or ran out); otherwise the program's own code.
int ExitCode(int programCode);
void SetExitOverride(int code);

}  // namespace vorn::kernel
