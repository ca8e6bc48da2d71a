// The install dialog controller. The dialog never ends itself here: the run
// controller ends it, and the host window acts on the result.
#include "ui/install_dialog.h"

#include <cstring>

#include "engine/install_state.h"
#include "engine/run_controller.h"
#include "platform/rtl.h"
#include "shell/installer_app.h"
#include "ui/chooser.h"
#include "ui/progress.h"

namespace {

const char* const kTitle = "Vorn v5.02 32bit Installation";
// The template's three-line notice, as one wrapped line.
const char* const kCopyrightNotice = "Vorn v5.02 32bit Copyright (C) 1996-1999 Vorn Software. All rights reserved.";
const char* const kNotice = "Please wait while the Vorn files are installed.";

// The controls that belong to one page only; the others stay as they are.
const int kSetupOnly[] = {107, 108, 109, 110, 111, 112};
const int kInstallOnly[] = {113, 114, 117, 118};

void ReadDestination(HWND dialog) {
  SendDlgItemMessageA(dialog, kDestinationText, WM_GETTEXT, kTextBuffer,
                      reinterpret_cast<LPARAM>(installState.destinationDir));
}

void OnInstall(HWND dialog) {
  ReadDestination(dialog);
  if (std::strchr(installState.destinationDir, ' ') != nullptr) {
    const int answer = MessageBoxA(
        dialog,
        "You have chosen to install to a directory path which has spaces in its name; this may affect the "
        "functioning of certain features in Vorn.\n\nIt is highly recommended that you install Vorn to a directory "
        "path that does NOT have spaces in its name.\n\nDo you wish to continue installing to this directory?",
        "Vorn Installation Warning", MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return;
  }
  installState.makeBackups = IsDlgButtonChecked(dialog, kBackupsCheck) == BST_CHECKED ? 1 : 0;
  installState.addIcons = IsDlgButtonChecked(dialog, kIconsCheck) == BST_CHECKED ? 1 : 0;
  StartInstallRun(dialog);
}

void OnBrowse(HWND dialog) {
  ReadDestination(dialog);
  rtl::to_lower(installState.destinationDir);
  if (ChooseDestination(dialog) != 0) {
    rtl::to_lower(installState.destinationDir);
    SendDlgItemMessageA(dialog, kDestinationText, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(installState.destinationDir));
  }
}

void OnPaint(HWND dialog) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(dialog, &paint);
  RECT place;
  GetWindowRect(GetDlgItem(dialog, kIconPlace), &place);
  POINT corner = {place.left, place.top};
  ScreenToClient(dialog, &corner);
  DrawIcon(dc, corner.x, corner.y, LoadIconA(installerApp.instance, MAKEINTRESOURCEA(2)));
  if (IsWindowVisible(GetDlgItem(dialog, kStatusLine))) PaintProgress(dc, nullptr);
  EndPaint(dialog, &paint);
}

void SetEnabled(HWND dialog, const int* ids, std::size_t count, BOOL enable) {
  for (std::size_t i = 0; i < count; ++i) EnableWindow(GetDlgItem(dialog, ids[i]), enable);
}

void SetShown(HWND dialog, const int* ids, std::size_t count, int show) {
  for (std::size_t i = 0; i < count; ++i) ShowWindow(GetDlgItem(dialog, ids[i]), show);
}

}  // namespace

void InitInstallDialog(HWND dialog) {
  SetWindowTextA(dialog, kTitle);
  SetDlgItemTextA(dialog, kWelcomeText, "Welcome to the Vorn Installation program!");
  SetDlgItemTextA(dialog, kIntroText, "This program will install Vorn v5.02 32bit edition to the following directory.");
  SetDlgItemTextA(dialog, kCopyrightText, kCopyrightNotice);
  SetDlgItemTextA(dialog, kNoticeText, kNotice);

  char destination[kTextBuffer];
  const DWORD length = GetModuleFileNameA(installerApp.instance, destination, kTextBuffer - 1);
  destination[length < static_cast<DWORD>(kTextBuffer) ? length : 0] = '\0';
  rtl::to_lower(destination);
  if (std::strlen(destination) > 3) destination[3] = '\0';
  if (GetDriveTypeA(destination) != DRIVE_FIXED) {
    // Not a fixed disk (a floppy, a CD, the network): the Windows directory's drive.
    char windowsDir[kTextBuffer];
    const UINT windowsLength = GetWindowsDirectoryA(windowsDir, kTextBuffer);
    if (windowsLength != 0 && windowsLength < static_cast<UINT>(kTextBuffer)) {
      char drive[rtl::kMaxDrive], dir[rtl::kMaxDir], fname[rtl::kMaxFname], ext[rtl::kMaxExt];
      rtl::split_path(windowsDir, drive, dir, fname, ext);
      wsprintfA(destination, "%s\\", drive);
      rtl::to_lower(destination);
      if (destination[0] >= 'a' && destination[0] <= 'z') rtl::change_drive(destination[0] - 'a' + 1);
    }
  }
  std::strcat(destination, "vorn");
  SetDlgItemTextA(dialog, kDestinationText, destination);
}

void SetDialogMode(HWND dialog, int installPage) {
  const std::size_t setupCount = sizeof kSetupOnly / sizeof kSetupOnly[0];
  const std::size_t installCount = sizeof kInstallOnly / sizeof kInstallOnly[0];
  if (installPage != 0) {
    EnableWindow(GetDlgItem(dialog, kInstallButton), FALSE);
    EnableWindow(GetDlgItem(dialog, kBrowseButton), FALSE);
    SetDlgItemTextA(dialog, kCancelButton, "Abort!");
    SetDlgItemTextA(dialog, kStatusLine, "Scanning files...");
    SetShown(dialog, kSetupOnly, setupCount, SW_HIDE);
    SetEnabled(dialog, kInstallOnly, installCount, TRUE);
    SetShown(dialog, kInstallOnly, installCount, SW_SHOW);
    SetEnabled(dialog, kSetupOnly, setupCount, FALSE);
    SetFocus(GetDlgItem(dialog, kCancelButton));
  } else {
    installState.progressPixels = 0;
    EnableWindow(GetDlgItem(dialog, kInstallButton), TRUE);
    EnableWindow(GetDlgItem(dialog, kBrowseButton), TRUE);
    SetDlgItemTextA(dialog, kCancelButton, "Cancel");
    SetDlgItemTextA(dialog, kStatusLine, "Scanning files...");
    SetShown(dialog, kInstallOnly, installCount, SW_HIDE);
    SetEnabled(dialog, kSetupOnly, setupCount, TRUE);
    SetShown(dialog, kSetupOnly, setupCount, SW_SHOW);
    SetEnabled(dialog, kInstallOnly, installCount, FALSE);
    // The bar is painted onto the dialog itself: erase its area.
    RECT frame;
    GetWindowRect(GetDlgItem(dialog, kProgressFrame), &frame);
    POINT topLeft = {frame.left, frame.top};
    POINT bottomRight = {frame.right, frame.bottom};
    ScreenToClient(dialog, &topLeft);
    ScreenToClient(dialog, &bottomRight);
    RECT area = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    InvalidateRect(dialog, &area, TRUE);
    SetFocus(GetDlgItem(dialog, kInstallButton));
  }
  UpdateWindow(dialog);
}

void CenterWindow(HWND window) {
  RECT screen;
  RECT own;
  GetWindowRect(GetDesktopWindow(), &screen);
  GetWindowRect(window, &own);
  const LONG w = own.right - own.left;
  const LONG h = own.bottom - own.top;
  LONG y = screen.top + (screen.bottom - screen.top) / 2 - h / 2;
  LONG x = screen.left + (screen.right - screen.left) / 2 - w / 2;
  if (y + h > screen.bottom - 10) y = screen.bottom - 10 - h;
  if (x + w > screen.right - 10) x = screen.right - 10 - w;
  if (y < 0) y = 1;
  if (x < 0) x = 1;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

INT_PTR CALLBACK InstallDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  (void)lParam;
  switch (message & 0xFFFF) {
    case WM_INITDIALOG:
      installerApp.dialogWindow = dialog;
      CheckDlgButton(dialog, kBackupsCheck, BST_CHECKED);
      CheckDlgButton(dialog, kIconsCheck, BST_CHECKED);
      InitInstallDialog(dialog);
      return 0;
    case WM_SHOWWINDOW:
      CenterWindow(dialog);
      SetFocus(GetDlgItem(dialog, kInstallButton));
      return 0;
    case WM_PAINT:
      OnPaint(dialog);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kInstallButton:
          OnInstall(dialog);
          return 1;
        case kCancelButton:
          RequestAbort(dialog);
          return 1;
        case kBrowseButton:
          OnBrowse(dialog);
          return 0;
        default:
          return 0;
      }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        // Closing the window goes through Cancel (on the install page, "Abort!").
        PostMessageA(dialog, WM_COMMAND, kCancelButton, 0);
        return 1;
      }
      return 0;
    case WM_TIMER:
      if (wParam == IDT_DELAY) ResumeAfterDelay(dialog);
      return 0;
    case WM_INSTALL_STEP:
      return RunInstallStep(dialog) ? 1 : 0;
    default:
      return 0;
  }
}
