// The chooser and its hook. The hook answers 0 to everything, so the common dialog's
// own processing always follows.
#include "ui/chooser.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/install_state.h"
#include "platform/rtl.h"
#include "shell/installer_app.h"
#include "ui/install_dialog.h"

bool firstBrowse = true;

namespace {

bool IsListNotification(WORD code) { return code == 1 || code == 2; }

}  // namespace

int ChooseDestination(HWND owner) {
  OPENFILENAMEA record;
  std::memset(&record, 0, sizeof record);
  record.lStructSize = 76;
  record.hwndOwner = owner;
  record.hInstance = installerApp.instance;
  record.lpstrTitle = "Destination Directory";
  record.Flags = OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
  record.lpfnHook = ChooserHookProc;
  record.lpTemplateName = MAKEINTRESOURCEA(1537);
  // The program reads no file name, but a dialog whose hidden file-name field does not
  // hold a plain name takes OK as "refresh the list": the buffer keeps "JUNK!" there.
  char fileName[MAX_PATH] = "JUNK!";
  record.lpstrFile = fileName;
  record.nMaxFile = MAX_PATH;
  if (firstBrowse) {
    if (std::strlen(installState.destinationDir) > 3) installState.destinationDir[3] = '\0';
    firstBrowse = false;
  }
  record.lpstrInitialDir = installState.destinationDir;
  return GetOpenFileNameA(&record) != 0 ? 1 : 0;
}

UINT_PTR CALLBACK ChooserHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  (void)lParam;
  switch (message) {
    case WM_SHOWWINDOW: {
      UpdateChooserPath(dialog);
      HWND edit = GetDlgItem(dialog, kChooserPathEdit);
      SetFocus(edit);
      SendMessageA(edit, EM_SETSEL, 0, -1);
      SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
      SendMessageA(edit, EM_SCROLLCARET, 0, 0);
      CenterWindow(dialog);
      break;
    }
    case WM_COMMAND: {
      const WORD id = LOWORD(wParam);
      const WORD code = HIWORD(wParam);
      if (id == IDOK) {
        SendDlgItemMessageA(dialog, kChooserPathEdit, WM_GETTEXT, kTextBuffer,
                            reinterpret_cast<LPARAM>(installState.destinationDir));
      } else if (id == kChooserCurrentDir && code == EN_CHANGE) {
        UpdateChooserPath(dialog);
      } else if ((id == kChooserDirectoryList || id == kChooserDriveList) && IsListNotification(code)) {
        UpdateChooserPath(dialog);
      }
      break;
    }
    default:
      break;
  }
  return 0;
}

void UpdateChooserPath(HWND dialog) {
  char* path = installState.destinationDir;
  SendDlgItemMessageA(dialog, kChooserCurrentDir, WM_GETTEXT, kTextBuffer, reinterpret_cast<LPARAM>(path));
  const std::size_t n = std::strlen(path);
  rtl::to_lower(path);
  if (n <= 1) {
    char own[kTextBuffer];
    const DWORD length = GetModuleFileNameA(installerApp.instance, own, kTextBuffer - 1);
    own[length < static_cast<DWORD>(kTextBuffer) ? length : 0] = '\0';
    char drive[rtl::kMaxDrive], dir[rtl::kMaxDir], fname[rtl::kMaxFname], ext[rtl::kMaxExt];
    rtl::split_path(own, drive, dir, fname, ext);
    // The installer's own path is at most 299 characters; what would not fit is cut.
    const std::string suggestion = std::string(drive) + dir + "vorn";
    std::strncpy(path, suggestion.c_str(), kTextBuffer - 1);
    path[kTextBuffer - 1] = '\0';
  } else if (std::strstr(path, "\\vorn") == nullptr) {
    const char* suffix = path[n - 1] == '\\' ? "vorn" : "\\vorn";
    if (n + std::strlen(suffix) >= static_cast<std::size_t>(kTextBuffer)) {
      // A directory too long for the suffix keeps as much of itself as leaves room.
      path[kTextBuffer - 1 - std::strlen("\\vorn")] = '\0';
      suffix = path[std::strlen(path) - 1] == '\\' ? "vorn" : "\\vorn";
    }
    std::strcat(path, suffix);
  }
  SetDlgItemTextA(dialog, kChooserPathEdit, path);
}
