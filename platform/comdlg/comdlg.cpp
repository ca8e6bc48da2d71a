// GetOpenFileNameA in its older style, run from the caller's template with the
// caller's hook, as the installer uses it: a directory list and a drive list that
// move the current directory, which is written into control stc1 whenever it is set.
// Built on the public dialog calls. As documented for older-style hooks, the hook
// sees WM_INITDIALOG after the dialog's own set-up and every other message before
// the dialog's own handling, which a non-zero answer of the hook suppresses.
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

constexpr DWORD kErrorResourceNotFound = 1812;  // ERROR_RESOURCE_NAME_NOT_FOUND

struct Session {
  LPOPENFILENAMEA record;
  std::string directory;             // the current directory, "c:\Dir" or "c:\", as on disk
  std::vector<std::string> entries;  // the directory list's paths, in list order
  DWORD error = 0;                   // why OK could not hand back the file name
};

// One chooser at a time: the dialog is modal and cannot open itself again.
Session* session = nullptr;
DWORD lastError = 0;

std::string Join(const std::string& directory, const std::string& name) {
  return directory.back() == '\\' ? directory + name : directory + "\\" + name;
}

// A full Windows path with each of its components spelt as on disk.
std::string AsOnDisk(const std::string& full) {
  std::string host;
  if (files::ToHostPath(full, &host) != Error::None) return full;
  std::vector<std::string> names;
  for (std::size_t start = 3; start < full.size();) {
    const std::size_t end = std::min(full.find('\\', start), full.size());
    names.push_back(full.substr(start, end - start));
    start = end + 1;
  }
  // The lookup adds one host component per Windows component, so the last ones
  // of the host path are the names as they stand on disk.
  for (std::size_t i = names.size(); i-- > 0;) {
    const std::size_t slash = host.find_last_of('/');
    names[i] = host.substr(slash + 1);
    host.erase(slash);
  }
  std::string result = full.substr(0, 3);
  for (std::size_t i = 0; i < names.size(); ++i) result += (i > 0 ? "\\" : "") + names[i];
  return result;
}

// The subdirectories that Windows can name, sorted as the list shows them.
std::vector<std::string> Subdirectories(const std::string& directory) {
  std::vector<std::string> names;
  std::string host;
  if (files::ToHostPath(directory, &host) != Error::None) return names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(host, ec)) {
    if (!entry.is_directory(ec)) continue;
    const std::string name = entry.path().filename().string();
    const std::string path = Join(directory, name);
    std::string full;
    if (files::FullWindowsPath(path, &full) == Error::None && full == path) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const int order = lstrcmpiA(a.c_str(), b.c_str());
    return order != 0 ? order < 0 : a < b;
  });
  return names;
}

// The classic directory list: the drive root, each component of the current path,
// then the current directory's subdirectories; the current directory is selected.
void FillDirectoryList(HWND dialog) {
  HWND list = GetDlgItem(dialog, kDirectoryList);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  session->entries.clear();
  const std::string& dir = session->directory;
  std::string path = dir.substr(0, 3);
  session->entries.push_back(path);
  for (std::size_t start = 3; start < dir.size();) {
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

// Moves to a directory and shows it: the lists, and its text in stc1, whose change
// reaches the hook. False, and nothing changed, when it is no directory.
bool ChangeDirectory(HWND dialog, const std::string& directory) {
  std::string full;
  if (files::FullWindowsPath(directory, &full) != Error::None || !files::IsDirectory(full)) return false;
  full = AsOnDisk(full);
  if (files::SetCurrentDirectory(full) != Error::None) return false;
  session->directory = full;
  FillDirectoryList(dialog);
  FillDriveList(dialog);
  SetDlgItemTextA(dialog, kCurrentDirectory, full.c_str());
  return true;
}

void OpenSelectedDirectory(HWND dialog) {
  const LRESULT selected = SendDlgItemMessageA(dialog, kDirectoryList, LB_GETCURSEL, 0, 0);
  if (selected >= 0 && static_cast<std::size_t>(selected) < session->entries.size()) {
    ChangeDirectory(dialog, session->entries[static_cast<std::size_t>(selected)]);
  }
}

// A drive picked from the list: its current directory, else its root. A drive that
// cannot be read leaves the current directory, and the list shows its drive again.
void SelectDrive(HWND dialog) {
  const LRESULT selected = SendDlgItemMessageA(dialog, kDriveList, CB_GETCURSEL, 0, 0);
  char label[8] = "";
  if (selected < 0 || SendDlgItemMessageA(dialog, kDriveList, CB_GETLBTEXTLEN, selected, 0) >= LRESULT{sizeof label}) {
    return;
  }
  SendDlgItemMessageA(dialog, kDriveList, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(label));
  const char letter = label[0];
  if (!ChangeDirectory(dialog, files::CurrentDirectoryOf(letter)) &&
      !ChangeDirectory(dialog, std::string(1, letter) + ":\\")) {
    FillDriveList(dialog);
  }
}

void Initialise(HWND dialog) {
  LPOPENFILENAMEA record = session->record;
  if (record->lpstrTitle != nullptr) SetWindowTextA(dialog, record->lpstrTitle);
  if (record->lpstrFile != nullptr && record->lpstrFile[0] != '\0') SetDlgItemTextA(dialog, kFileName, record->lpstrFile);
  // A starting directory that does not exist gives way to the current directory.
  const char* initial = record->lpstrInitialDir;
  if (initial != nullptr && initial[0] != '\0' && ChangeDirectory(dialog, initial)) return;
  if (ChangeDirectory(dialog, files::CurrentDirectory())) return;
  ChangeDirectory(dialog, files::CurrentDirectory().substr(0, 3));
}

// OK ends the dialog with the file name of edt1 in the current directory, handed
// back where the caller gave a buffer for it.
void Accept(HWND dialog) {
  char name[MAX_PATH] = "";
  GetDlgItemTextA(dialog, kFileName, name, sizeof name);
  LPOPENFILENAMEA record = session->record;
  if (record->lpstrFile != nullptr && record->nMaxFile > 0) {
    const std::string path = Join(session->directory, name);
    if (path.size() + 1 > record->nMaxFile) {
      // Too small: the buffer's first two bytes say what it needs.
      session->error = FNERR_BUFFERTOOSMALL;
      if (record->nMaxFile >= 2) {
        const WORD needed = static_cast<WORD>(path.size() + 1);
        std::memcpy(record->lpstrFile, &needed, sizeof needed);
      }
      EndDialog(dialog, IDABORT);
      return;
    }
    std::memcpy(record->lpstrFile, path.c_str(), path.size() + 1);
    const std::size_t nameStart = path.find_last_of('\\') + 1;
    const std::size_t dot = path.find_last_of('.');
    record->nFileOffset = static_cast<WORD>(nameStart);
    record->nFileExtension = static_cast<WORD>(dot != std::string::npos && dot > nameStart ? dot + 1 : path.size());
  }
  EndDialog(dialog, IDOK);
}

void OnCommand(HWND dialog, int id, int code) {
  if (id == kDirectoryList && code == LBN_DBLCLK) {
    OpenSelectedDirectory(dialog);
  } else if (id == kDriveList && code == CBN_SELCHANGE) {
    SelectDrive(dialog);
  } else if (id == IDOK) {
    // Enter in the directory list opens the directory instead of ending.
    if (GetFocus() == GetDlgItem(dialog, kDirectoryList)) {
      OpenSelectedDirectory(dialog);
    } else {
      Accept(dialog);
    }
  } else if (id == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
  }
}

INT_PTR CALLBACK FileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (session == nullptr) return FALSE;
  LPOPENFILENAMEA record = session->record;
  const LPOFNHOOKPROC hook = (record->Flags & OFN_ENABLEHOOK) ? record->lpfnHook : nullptr;
  if (message == WM_INITDIALOG) {
    Initialise(dialog);
    // The hook's answer decides, as a dialog procedure's does, whether the first
    // tab stop takes the focus.
    return hook != nullptr ? static_cast<INT_PTR>(hook(dialog, message, wParam, reinterpret_cast<LPARAM>(record)))
                           : TRUE;
  }
  if (hook != nullptr) {
    if (const UINT_PTR answer = hook(dialog, message, wParam, lParam); answer != 0) return static_cast<INT_PTR>(answer);
  }
  if (message != WM_COMMAND) return FALSE;
  OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
  return TRUE;
}

DWORD CheckRecord(const OPENFILENAMEA* ofn) {
  if (ofn == nullptr) return CDERR_INITIALIZATION;
  if (ofn->lStructSize != 76 && ofn->lStructSize != sizeof(OPENFILENAMEA)) return CDERR_STRUCTSIZE;
  // Only the older style with the caller's own template is provided.
  if ((ofn->Flags & OFN_EXPLORER) || !(ofn->Flags & OFN_ENABLETEMPLATE)) return CDERR_INITIALIZATION;
  if (ofn->lpTemplateName == nullptr) return CDERR_NOTEMPLATE;
  if ((ofn->Flags & OFN_ENABLEHOOK) && ofn->lpfnHook == nullptr) return CDERR_NOHOOK;
  if (session != nullptr) return CDERR_INITIALIZATION;
  return 0;
}

}  // namespace

}  // namespace vorn::comdlg

using namespace vorn::comdlg;

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA ofn) {
  lastError = CheckRecord(ofn);
  if (lastError != 0) return FALSE;
  Session current{ofn, {}, {}, 0};
  session = &current;
  const std::string before = vorn::files::CurrentDirectory();
  const INT_PTR result = DialogBoxParamA(ofn->hInstance, ofn->lpTemplateName, ofn->hwndOwner, FileDialogProc,
                                         reinterpret_cast<LPARAM>(ofn));
  session = nullptr;
  if (ofn->Flags & OFN_NOCHANGEDIR) vorn::files::SetCurrentDirectory(before);
  if (result == -1) {
    lastError = GetLastError() == kErrorResourceNotFound ? CDERR_FINDRESFAILURE : CDERR_DIALOGFAILURE;
    return FALSE;
  }
  lastError = current.error;
  return result == IDOK ? TRUE : FALSE;
}

DWORD WINAPI CommDlgExtendedError(void) { return lastError; }
