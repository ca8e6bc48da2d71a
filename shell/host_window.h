// The host window: a window of zero size that owns the install dialog and the DDE
// instance, runs the install, reports its outcome, and closes itself to end the
// program.
#pragma once

#include "platform/win32.h"

constexpr UINT WM_RUN_INSTALLER = WM_USER;
constexpr const char* kHostClassName = "Vorn v5.02 32bit Installation";

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HDDEDATA CALLBACK DdeInstanceCallback(UINT type, UINT format, HCONV conversation, HSZ string1, HSZ string2,
                                      HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
