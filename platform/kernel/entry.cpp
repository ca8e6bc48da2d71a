// The process entry point on Linux: hands over to the program's WinMain with the
// module handle of the program itself, as the Windows loader would.
#include "platform/display/automation.h"
#include "platform/kernel/module.h"
#include "platform/win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

int main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  static char emptyCommandLine[] = "";
  const int code = WinMain(vorn::kernel::ProgramInstance(), nullptr, emptyCommandLine, SW_SHOWNORMAL);
  return vorn::automation::AtExit(vorn::kernel::ExitCode(code));
}
