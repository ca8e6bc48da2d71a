// The install dialog: its two pages on one template, its texts and default
// destination, the centring of top-level windows, and its message dispatch.
#pragma once

#include "platform/win32.h"

// Control ids of the template INSTALL_DLG.
enum InstallDialogControl {
  kInstallButton = 1,
  kCancelButton = 2,
  kWelcomeText = 102,
  kIntroText = 103,
  kDestinationText = 105,
  kBrowseButton = 106,
  kBackupsCheck = 109,
  kIconsCheck = 111,
  kNoticeText = 117,
  kCopyrightText = 118,
  kIconPlace = 119,
};

INT_PTR CALLBACK InstallDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void InitInstallDialog(HWND dialog);
// The install page when installPage is non-zero, else the setup page.
void SetDialogMode(HWND dialog, int installPage);
void CenterWindow(HWND window);
