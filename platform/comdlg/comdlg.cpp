// GetOpenFileNameA in its older style, run from the caller's template with the
// caller's hook, as the installer uses it: a directory list and a drive list that
// move the current directory, which is written into control stc1 whenever it is set.
// Built on the public dialog calls: the dialog procedure below gives every message
// to the hook first, and does its own work only when the hook answers 0.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files/files.h"
#include "platform/win32.h"

namespace vorn::comdlg {

namespace {

// The platform's control ids of the file dialog.
constexpr int kCurrentDirectory = 1088;  // stc1
constexpr int kFileName = 1152;          // edt1
constexpr int kDirectoryList = 1121;     // lst2
constexpr int kDriveList = 1137;         // cmb2

struct Session {
  LPOPENFILENAMEA record;
  std::string directory;  // the current directory, "c:\dir" or "c:\"
  std::vector<std::string> entries;  // the directory list's paths, in list order
};

// One chooser at a time: the dialog is modal and cannot open itself again.
Session* session = nullptr;
DWORD lastError = 0;

std::vector<std::string> Subdirectories(const std::string& directory) {
  std::vector<std::string> names;
  std::string host;
  if (files::ToHostPath(directory, &host) != Error::None) return names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(host, ec)) {
    if (entry.is_directory(ec)) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const int order = lstrcmpiA(a.c_str(), b.c_str());
    return order != 0 ? order < 0 : a < b;
  });
  return names;
}

std::string Join(const std::string& directory, const std::string& name) {
  return directory.back() == '\\' ? directory + name : directory + "\\" + name;
}

// The classic directory list: the drive root, each component of the current path,
// then the current directory's subdirectories.
void FillDirectoryList(HWND dialog) {
  HWND list = GetDlgItem(dialog, kDirectoryList);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  session->entries.clear();
  const std::string& dir = session->directory;
  std::string path = dir.substr(0, 3);
  session->entries.push_back(path);
  std::size_t start = 3;
  while (start < dir.size()) {
    const std::size_t end = std::min(dir.find('\\', start), dir.size());
    path = Join(path, dir.substr(start, end - start));
    session->entries.push_back(path);
    start = end + 1;
  }
  const int current = static_cast<int>(session->entries.size()) - 1;
  for (const std::string& name : Subdirectories(dir)) session->entries.push_back(Join(dir, name));
  for (std::size_t i = 0; i < session->entries.size(); ++i) {
    const std::string& entry = session->entries[i];
    const std::string label = i == 0 ? entry : entry.substr(entry.find_last_of('\\') + 1);
    // Inserted at their places: the list's sorting style must not reorder the tree.
    SendMessageA(list, LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(label.c_str()));
  }
  SendMessageA(list, LB_SETCURSEL, current, 0);
}

void FillDriveList(HWND dialog) {
  HWND combo = GetDlgItem(dialog, kDriveList);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  const std::string drives = files::Drives();
  for (std::size_t i = 0; i < drives.size(); ++i) {
    const std::string label = std::string(1, drives[i]) + ":";
    SendMessageA(combo, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(label.c_str()));
    if (drives[i] == session->directory[0]) SendMessageA(combo, CB_SETCURSEL, i, 0);
  }
}

// Moves to a directory and tells the dialog: the lists, and the current directory's
// text in stc1, whose change reaches the hook.
void ChangeDirectory(HWND dialog, const std::string& directory) {
  std::string full;
  if (files::FullWindowsPath(directory, &full) != Error::None || !files::IsDirectory(full)) return;
  files::SetCurrentDirectory(full);
  session->directory = full;
  FillDirectoryList(dialog);
  FillDriveList(dialog);
  SetDlgItemTextA(dialog, kCurrentDirectory, full.c_str());
}

void OpenSelectedDirectory(HWND dialog) {
  const LRESULT selected = SendDlgItemMessageA(dialog, kDirectoryList, LB_GETCURSEL, 0, 0);
  if (selected >= 0 && static_cast<std::size_t>(selected) < session->entries.size()) {
    ChangeDirectory(dialog, session->entries[static_cast<std::size_t>(selected)]);
  }
}

void SelectDrive(HWND dialog) {
  const LRESULT selected = SendDlgItemMessageA(dialog, kDriveList, CB_GETCURSEL, 0, 0);
  const std::string drives = files::Drives();
  if (selected < 0 || static_cast<std::size_t>(selected) >= drives.size()) return;
  ChangeDirectory(dialog, files::CurrentDirectoryOf(drives[static_cast<std::size_t>(selected)]));
}

INT_PTR OwnProcessing(HWND dialog, UINT message, WPARAM wParam) {
  switch (message) {
    case WM_INITDIALOG: {
      if (session->record->lpstrTitle != nullptr) SetWindowTextA(dialog, session->record->lpstrTitle);
      const char* initial = session->record->lpstrInitialDir;
      const bool usable = initial != nullptr && initial[0] != '\0' && files::IsDirectory(initial);
      ChangeDirectory(dialog, usable ? std::string(initial) : files::CurrentDirectory());
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (id == kDirectoryList && code == LBN_DBLCLK) {
        OpenSelectedDirectory(dialog);
      } else if (id == kDriveList && code == CBN_SELCHANGE) {
        SelectDrive(dialog);
      } else if (id == IDOK) {
        // Enter in the directory list opens the directory instead of ending.
        if (GetFocus() == GetDlgItem(dialog, kDirectoryList)) {
          OpenSelectedDirectory(dialog);
        } else {
          char name[MAX_PATH] = "";
          GetDlgItemTextA(dialog, kFileName, name, sizeof name);
          LPOPENFILENAMEA record = session->record;
          if (record->lpstrFile != nullptr && record->nMaxFile > 0) {
            std::strncpy(record->lpstrFile, Join(session->directory, name).c_str(), record->nMaxFile - 1);
            record->lpstrFile[record->nMaxFile - 1] = '\0';
          }
          EndDialog(dialog, IDOK);
        }
      } else if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK FileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  LPOPENFILENAMEA record = session->record;
  if ((record->Flags & OFN_ENABLEHOOK) && record->lpfnHook != nullptr) {
    // The hook sees WM_INITDIALOG with the record, as documented.
    const LPARAM hookParam = message == WM_INITDIALOG ? reinterpret_cast<LPARAM>(record) : lParam;
    if (record->lpfnHook(dialog, message, wParam, hookParam) != 0) return TRUE;
  }
  return OwnProcessing(dialog, message, wParam);
}

}  // namespace

}  // namespace vorn::comdlg

using namespace vorn::comdlg;

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA ofn) {
  lastError = 0;
  if (ofn == nullptr || (ofn->lStructSize != 76 && ofn->lStructSize != sizeof(OPENFILENAMEA))) {
    lastError = CDERR_STRUCTSIZE;
    return FALSE;
  }
  if (session != nullptr || !(ofn->Flags & OFN_ENABLETEMPLATE) || ofn->lpTemplateName == nullptr) {
    // Only the older style with the caller's own template is provided.
    lastError = CDERR_INITIALIZATION;
    return FALSE;
  }
  Session current{ofn, {}, {}};
  session = &current;
  const std::string before = vorn::files::CurrentDirectory();
  const INT_PTR result = DialogBoxParamA(ofn->hInstance, ofn->lpTemplateName, ofn->hwndOwner, FileDialogProc,
                                         reinterpret_cast<LPARAM>(ofn));
  session = nullptr;
  if (ofn->Flags & OFN_NOCHANGEDIR) vorn::files::SetCurrentDirectory(before);
  if (result == -1) {
    lastError = CDERR_DIALOGFAILURE;
    return FALSE;
  }
  return result == IDOK ? TRUE : FALSE;
}

DWORD WINAPI CommDlgExtendedError(void) { return lastError; }
