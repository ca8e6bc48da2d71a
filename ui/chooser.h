// The destination directory chooser: the file-open common dialog, run with the
// program's own template 1537 and a hook that turns the current directory into a
// suggested install path.
#pragma once

#include "platform/win32.h"

// Control ids of template 1537.
enum ChooserControl {
  kChooserPathEdit = 102,
  kChooserCurrentDir = 1088,  // where the common dialog writes its current directory
  kChooserDirectoryList = 1121,
  kChooserDriveList = 1137,
};

// True from start-up until the first Browse, which starts at the drive root of the
// destination; later ones start at the whole destination.
extern bool firstBrowse;

// 1 when the user accepted a directory (then in destinationDir), else 0.
int ChooseDestination(HWND owner);
UINT_PTR CALLBACK ChooserHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void UpdateChooserPath(HWND dialog);
