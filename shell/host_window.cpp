// The host window's messages. The install dialog and every message box run nested
// modal loops inside the handler of WM_RUN_INSTALLER; the closing timer is armed at
// its end, so nothing can close the window while they are open.
#include "shell/host_window.h"

#include "engine/install_state.h"
#include "engine/run_controller.h"
#include "shell/installer_app.h"
#include "shell/program_manager.h"
#include "ui/install_dialog.h"

namespace {

void RunInstaller(HWND window) {
  const INT_PTR result =
      DialogBoxParamA(installerApp.instance, "INSTALL_DLG", window, InstallDialogProc, 0);
  if (result == 1) {
    if (installState.addIcons) {
      while (AddProgramManagerIcons() == 0) {
        const int answer = MessageBoxA(window,
                                       "There seems to be a problem adding Vorn icons to the Program Manager!\n\n"
                                       "Do you want me to try again?",
                                       "Vorn Installation Error [15]", MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL);
        if (answer != IDYES) break;
      }
    }
    MessageBoxA(window,
                "Vorn Installation was successful!\n\n"
                "Please take the time to browse through the readme.txt, versions.txt, and vorn.hlp files!\n\n"
                "Have fun!",
                "Vorn Installation", MB_OK | MB_ICONINFORMATION);
  } else if (result == -1) {
    MessageBoxA(nullptr, "Unable to display dialog", "System Error", MB_OK | MB_ICONHAND | MB_SYSTEMMODAL);
  }
  SetTimer(window, IDT_DELAY, kStepDelayMs, nullptr);
}

}  // namespace

HDDEDATA CALLBACK DdeInstanceCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
  return nullptr;
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      DdeInitializeA(&installerApp.ddeInstance, DdeInstanceCallback, 0, 0);
      return 0;
    case WM_RUN_INSTALLER:
      RunInstaller(window);
      return 0;
    case WM_TIMER:
      KillTimer(installerApp.hostWindow, IDT_DELAY);
      SendMessageA(installerApp.hostWindow, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE:
      DdeUninitialize(installerApp.ddeInstance);
      DestroyWindow(installerApp.hostWindow);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
