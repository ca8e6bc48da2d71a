// The one header through which the installer reaches the Win32 API. On Windows it is
// the toolchain's own API; elsewhere it is our platform layer, declared with the same
// names, signatures and documented constant values.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <commdlg.h>
#include <ddeml.h>
#include <lzexpand.h>
#else
#include "platform/api/types.h"
#include "platform/api/kernel.h"
#include "platform/api/lz.h"
#include "platform/api/user.h"
#include "platform/api/gdi.h"
#include "platform/api/comdlg.h"
#endif
