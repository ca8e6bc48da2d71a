// A small program for the automation tests, shaped like the installer: a hidden
// host window runs INSTALL_DLG modally; Install shows the status line and counts
// three 50 ms steps on it, then asks a question whose answer ends the dialog; the
// host reports the check box 109 and closes 50 ms later.
#include <cstdio>

#include "platform/win32.h"

namespace {

constexpr UINT kRun = WM_USER;
constexpr UINT_PTR kStepTimer = 1025;
HINSTANCE instance;
int steps = 0;
UINT backups = 0;

INT_PTR CALLBACK ProbeDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      CheckDlgButton(dialog, 109, BST_CHECKED);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == 1) {
        ShowWindow(GetDlgItem(dialog, 113), SW_SHOW);
        SetDlgItemTextA(dialog, 113, "Working...");
        SetTimer(dialog, kStepTimer, 50, nullptr);
      } else if (LOWORD(wParam) == 2) {
        backups = IsDlgButtonChecked(dialog, 109);
        EndDialog(dialog, 0);
      }
      return TRUE;
    case WM_TIMER: {
      char status[32];
      wsprintfA(status, "Step %d", ++steps);
      SetDlgItemTextA(dialog, 113, status);
      if (steps == 3) {
        KillTimer(dialog, kStepTimer);
        const int answer = MessageBoxA(dialog, "Done?\nReally.", "Probe", MB_YESNO | MB_ICONQUESTION);
        backups = IsDlgButtonChecked(dialog, 109);
        EndDialog(dialog, answer == IDYES ? 1 : 0);
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

LRESULT CALLBACK HostProc(HWND host, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kRun: {
      DialogBoxParamA(instance, "INSTALL_DLG", host, ProbeDialog, 0);
      char text[64];
      wsprintfA(text, "Finished\nbackups=%u", backups);
      MessageBoxA(host, text, "Probe", MB_OK);
      SetTimer(host, 1, 50, nullptr);
      return 0;
    }
    case WM_TIMER:
      DestroyWindow(host);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(host, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE self, HINSTANCE, LPSTR, int show) {
  instance = self;
  WNDCLASSA c{};
  c.lpfnWndProc = HostProc;
  c.hInstance = self;
  c.lpszClassName = "Probe";
  if (!RegisterClassA(&c)) return 1;
  HWND host = CreateWindowExA(0, "Probe", "Probe", WS_OVERLAPPEDWINDOW, -50, -50, 0, 0, nullptr, nullptr, self, nullptr);
  if (host == nullptr) return 1;
  ShowWindow(host, show);
  PostMessageA(host, kRun, 0, 0);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
