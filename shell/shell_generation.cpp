// The shell generation.
#include "shell/shell_generation.h"

int IsNewShell(DWORD version) {
  const int major = LOBYTE(LOWORD(version));
  const int minor = HIBYTE(LOWORD(version));
  return (major == 4 || minor >= 95) ? 1 : 0;
}
