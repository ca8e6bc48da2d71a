// The program-wide record of the application shell: instance, windows, the DDE
// instance, the shell generation and the 3D-controls library.
#pragma once

#include "platform/win32.h"

typedef BOOL(WINAPI* Ctl3dProc)(HINSTANCE);

struct InstallerApp {
  HINSTANCE instance;
  HWND hostWindow;
  HWND dialogWindow;
  DWORD ddeInstance;
  int newShell;
  HMODULE ctl3dLibrary;
  Ctl3dProc ctl3dRegister;
  Ctl3dProc ctl3dAutoSubclass;
  Ctl3dProc ctl3dUnregister;
};

extern InstallerApp installerApp;
