// Which generation of the Windows shell the program runs on, from the version.
#pragma once

#include "platform/win32.h"

// 1 on the newer shell: major version 4, or a minor version of 95 or more.
int IsNewShell(DWORD version);
