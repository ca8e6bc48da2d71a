// The program's entry point: the window class, the host window, the shell
// generation and its 3D-controls library, and the message loop.
#include "shell/host_window.h"
#include "shell/installer_app.h"
#include "shell/shell_generation.h"

namespace {

// On the older shell generation, the 3D-controls library gives the dialogs their
// look when it is present with all three entry points.
void LoadControls3d() {
  SetErrorMode(SEM_NOOPENFILEERRORBOX);
  HMODULE library = LoadLibraryA("Ctl3d32.dll");
  if (library == nullptr) return;
  FARPROC registerProc = GetProcAddress(library, "Ctl3dRegister");
  FARPROC unregisterProc = GetProcAddress(library, "Ctl3dUnregister");
  FARPROC autoSubclassProc = GetProcAddress(library, "Ctl3dAutoSubclass");
  if (registerProc == nullptr || unregisterProc == nullptr || autoSubclassProc == nullptr) return;
  installerApp.ctl3dRegister = reinterpret_cast<Ctl3dProc>(reinterpret_cast<void (*)()>(registerProc));
  installerApp.ctl3dUnregister = reinterpret_cast<Ctl3dProc>(reinterpret_cast<void (*)()>(unregisterProc));
  installerApp.ctl3dAutoSubclass = reinterpret_cast<Ctl3dProc>(reinterpret_cast<void (*)()>(autoSubclassProc));
  installerApp.ctl3dRegister(installerApp.instance);
  installerApp.ctl3dAutoSubclass(installerApp.instance);
  installerApp.ctl3dLibrary = library;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
  (void)previous;
  (void)commandLine;
  installerApp.instance = instance;

  WNDCLASSA windowClass = {};
  windowClass.style = 0;
  windowClass.lpfnWndProc = HostWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kHostClassName;
  if (RegisterClassA(&windowClass) == 0) return 0;

  installerApp.hostWindow = CreateWindowExA(0, kHostClassName, kHostClassName, WS_OVERLAPPEDWINDOW, -50, -50, 0, 0,
                                            nullptr, nullptr, instance, nullptr);
  if (installerApp.hostWindow == nullptr) return 0;
  ShowWindow(installerApp.hostWindow, showCommand);
  UpdateWindow(installerApp.hostWindow);

  installerApp.newShell = IsNewShell(GetVersion());
  if (installerApp.newShell == 0) LoadControls3d();

  PostMessageA(installerApp.hostWindow, WM_RUN_INSTALLER, 0, 0);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }

  if (installerApp.ctl3dLibrary != nullptr) {
    installerApp.ctl3dUnregister(installerApp.instance);
    FreeLibrary(installerApp.ctl3dLibrary);
  }
  UnregisterClassA(kHostClassName, instance);
  return 0;
}
