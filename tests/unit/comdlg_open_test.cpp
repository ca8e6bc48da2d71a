// The older-style file-open dialog on the installer's template 1537, driven by
// in-process scripts: what its hook sees, the directory and drive lists, and how
// it ends.
#include <cstring>
#include <filesystem>

#include "platform/display/automation.h"
#include "platform/files/files.h"
#include "tests/support/test_prefix.h"
#include "tests/unit/user_fixture.h"

namespace vorn::testing {
namespace {

namespace fs = std::filesystem;

std::string TextOf(HWND dialog, int id) {
  char text[300] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

std::vector<std::string> EntriesOf(HWND dialog, int id, UINT countMessage, UINT textMessage) {
  std::vector<std::string> entries;
  const LRESULT count = SendDlgItemMessageA(dialog, id, countMessage, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char text[300] = "";
    SendDlgItemMessageA(dialog, id, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    entries.push_back(text);
  }
  return entries;
}

// What the hook saw, in order, and the lists as they stood when the dialog was
// shown and when it was ended.
struct HookLog {
  std::vector<std::string> events;
  LPARAM initParam = 0;
  std::vector<std::string> directoriesWhenShown;
  int selectionWhenShown = -1;
  std::vector<std::string> directoriesAtEnd;
  std::vector<std::string> drivesAtEnd;
  std::string driveAtEnd;
} hookLog;

UINT_PTR CALLBACK RecordingHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      hookLog.events.push_back("init");
      hookLog.initParam = lParam;
      break;
    case WM_SHOWWINDOW:
      hookLog.events.push_back("show");
      hookLog.directoriesWhenShown = EntriesOf(dialog, 1121, LB_GETCOUNT, LB_GETTEXT);
      hookLog.selectionWhenShown = static_cast<int>(SendDlgItemMessageA(dialog, 1121, LB_GETCURSEL, 0, 0));
      break;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (id == 1088 && code == EN_CHANGE) {
        hookLog.events.push_back("stc1 " + TextOf(dialog, 1088));
      } else if ((id == 1121 || id == 1137) && (code == 1 || code == 2)) {
        hookLog.events.push_back(std::to_string(id) + (code == 1 ? " selchange" : " dblclk"));
      } else if (id == IDOK || id == IDCANCEL) {
        hookLog.events.push_back(id == IDOK ? "ok" : "cancel");
        hookLog.directoriesAtEnd = EntriesOf(dialog, 1121, LB_GETCOUNT, LB_GETTEXT);
        hookLog.drivesAtEnd = EntriesOf(dialog, 1137, CB_GETCOUNT, CB_GETLBTEXT);
        hookLog.driveAtEnd = TextOf(dialog, 1137);
      }
      break;
    }
    default:
      break;
  }
  return 0;
}

class OpenDialogTest : public WindowSystemTest {
 protected:
  void SetUp() override {
    WindowSystemTest::SetUp();
    hookLog = HookLog{};
    host_ = MakeWindow("host");
    record_.lStructSize = 76;
    record_.hwndOwner = host_;
    record_.lpstrTitle = "Destination Directory";
    record_.Flags = OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
    record_.lpfnHook = RecordingHook;
    record_.lpTemplateName = MAKEINTRESOURCEA(1537);
  }
  void MakeDirectory(const std::string& hostRelative) { fs::create_directories(prefix_.root() + "/" + hostRelative); }
  // Runs the dialog with a script that must end it.
  BOOL Run(const char* initialDir, const std::string& script) {
    record_.lpstrInitialDir = initialDir;
    automation::SetScriptText(script);
    return GetOpenFileNameA(&record_);
  }

  TestPrefix prefix_;
  HWND host_ = nullptr;
  OPENFILENAMEA record_{};
};

TEST_F(OpenDialogTest, HookSeesInitWithTheRecordThenShowThenEachChangeOfTheDirectory) {
  MakeDirectory("drive_c/Games/New");
  EXPECT_EQ(Run("c:\\", "double-click 1121 games\nclick 2\n"), FALSE);
  // The directory is set during the dialog's own set-up, before the hook's turn.
  const std::vector<std::string> expected = {"stc1 c:\\",        "init",      "show", "1121 selchange",
                                             "1121 dblclk",      "stc1 c:\\Games", "cancel"};
  EXPECT_EQ(hookLog.events, expected);
  EXPECT_EQ(hookLog.initParam, reinterpret_cast<LPARAM>(&record_));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(OpenDialogTest, StartsInTheInitialDirectoryElseInTheCurrentOne) {
  MakeDirectory("drive_c/Games");
  struct Case {
    const char* initialDir;
    const char* shown;
  };
  const Case cases[] = {
      {"C:\\GAMES", "stc1 c:\\Games"},  // spelt as on disk
      {"c:\\windows\\temp", "stc1 c:\\windows\\temp"},
      {"c:\\missing", "stc1 c:\\windows"},
      {"c:\\games\\vorn", "stc1 c:\\windows"},
      {"", "stc1 c:\\windows"},
      {nullptr, "stc1 c:\\windows"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(files::SetCurrentDirectory("c:\\windows"), Error::None);
    hookLog = HookLog{};
    Run(c.initialDir, "click 2\n");
    ASSERT_FALSE(hookLog.events.empty());
    EXPECT_EQ(hookLog.events.front(), c.shown) << (c.initialDir ? c.initialDir : "null");
  }
}

TEST_F(OpenDialogTest, DirectoryListShowsRootComponentsAndSortedSubdirectories) {
  for (const char* dir : {"Alpha/beta/Gamma/zeta", "Alpha/beta/Gamma/Delta", "Alpha/beta/Gamma/alpha2",
                          "Alpha/beta/Gamma/what?", "Alpha/beta/Other"}) {
    MakeDirectory(std::string("drive_c/") + dir);
  }
  TestPrefix::WriteFile(prefix_.root() + "/drive_c/Alpha/beta/Gamma/file.txt", "not a directory");
  Run("c:\\alpha\\BETA\\gamma", "click 2\n");
  // "what?" is no name Windows could give a directory.
  const std::vector<std::string> expected = {"c:\\", "Alpha", "beta", "Gamma", "alpha2", "Delta", "zeta"};
  EXPECT_EQ(hookLog.directoriesWhenShown, expected);
  EXPECT_EQ(hookLog.selectionWhenShown, 3) << "the current directory";
}

TEST_F(OpenDialogTest, DoubleClickAndEnterInTheListChangeTheDirectory) {
  MakeDirectory("drive_c/Games/New");
  const BOOL result = Run("c:\\games",
                          "double-click 1121 new\n"      // down into a subdirectory
                          "double-click 1121 c:\\\n"     // up to the root
                          "select 1121 games\n"      // a click only selects
                          "key Enter\n"              // Enter in the list opens
                          "key Down\n"
                          "click 1\n");
  EXPECT_EQ(result, TRUE);
  const std::vector<std::string> expected = {
      "stc1 c:\\Games",  "init",           "show",
      "1121 selchange",  "1121 dblclk",    "stc1 c:\\Games\\New",
      "1121 selchange",  "1121 dblclk",    "stc1 c:\\",
      "1121 selchange",  "ok",             "stc1 c:\\Games",
      "1121 selchange",  "ok"};
  EXPECT_EQ(hookLog.events, expected);
  EXPECT_EQ(hookLog.directoriesAtEnd, (std::vector<std::string>{"c:\\", "Games", "New"}));
  EXPECT_EQ(files::CurrentDirectory(), "c:\\Games") << "the dialog moves the current directory";
}

TEST_F(OpenDialogTest, DriveListChangesToTheDrivesCurrentDirectory) {
  MakeDirectory("ddrive/Data");
  fs::create_directory_symlink(prefix_.root() + "/ddrive", prefix_.root() + "/dosdevices/d:");
  files::Reset();
  ASSERT_EQ(files::SetCurrentDirectory("d:\\data"), Error::None);
  Run("c:\\windows", "select 1137 d:\nclick 2\n");
  EXPECT_EQ(hookLog.events, (std::vector<std::string>{"stc1 c:\\windows", "init", "show", "1137 selchange",
                                                      "stc1 d:\\Data", "cancel"}));
  EXPECT_EQ(hookLog.drivesAtEnd, (std::vector<std::string>{"c:", "d:", "z:"}));
  EXPECT_EQ(hookLog.driveAtEnd, "d:");
  EXPECT_EQ(hookLog.directoriesAtEnd, (std::vector<std::string>{"d:\\", "Data"}));

  // A drive whose current directory is gone opens at its root.
  ASSERT_EQ(files::SetCurrentDirectory("d:\\data"), Error::None);
  fs::remove(prefix_.root() + "/ddrive/Data");
  hookLog = HookLog{};
  Run("c:\\windows", "select 1137 d:\nclick 2\n");
  EXPECT_EQ(hookLog.events.at(4), "stc1 d:\\");
}

TEST_F(OpenDialogTest, OkWithTheTemplatesFileNameSucceedsCancelAndCloseDoNot) {
  struct Case {
    const char* script;
    BOOL result;
  };
  const Case cases[] = {
      {"click 1\n", TRUE},   {"key Enter\n", TRUE},      // the hidden edt1 holds "JUNK!"
      {"click 2\n", FALSE},  {"key Escape\n", FALSE},
      {"key Alt+F4\n", FALSE},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run("c:\\windows", c.script), c.result) << c.script;
    EXPECT_EQ(CommDlgExtendedError(), 0u) << c.script;
    EXPECT_EQ(GetActiveWindow(), host_) << "the owner is back";
  }
  // Where the caller gives a buffer, the name comes back in the current directory.
  char file[MAX_PATH] = "";
  record_.lpstrFile = file;
  record_.nMaxFile = sizeof file;
  EXPECT_EQ(Run("c:\\windows", "click 1\n"), TRUE);
  EXPECT_STREQ(file, "c:\\windows\\JUNK!");
  EXPECT_EQ(record_.nFileOffset, 11);
  // A name in the buffer is what edt1 starts with.
  std::strcpy(file, "readme.txt");
  EXPECT_EQ(Run("c:\\windows", "click 1\n"), TRUE);
  EXPECT_STREQ(file, "c:\\windows\\readme.txt");
  EXPECT_EQ(record_.nFileExtension, 18);
  record_.nMaxFile = 8;
  EXPECT_EQ(Run("c:\\windows", "click 1\n"), FALSE);
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
}

TEST_F(OpenDialogTest, RecordsTheDialogCannotRunAreRefused) {
  struct Case {
    const char* what;
    void (*spoil)(OPENFILENAMEA&);
    DWORD error;
  };
  const Case cases[] = {
      {"size", [](OPENFILENAMEA& r) { r.lStructSize = 12; }, CDERR_STRUCTSIZE},
      {"no template", [](OPENFILENAMEA& r) { r.Flags = OFN_ENABLEHOOK; }, CDERR_INITIALIZATION},
      {"explorer", [](OPENFILENAMEA& r) { r.Flags |= OFN_EXPLORER; }, CDERR_INITIALIZATION},
      {"template name", [](OPENFILENAMEA& r) { r.lpTemplateName = nullptr; }, CDERR_NOTEMPLATE},
      {"hook", [](OPENFILENAMEA& r) { r.lpfnHook = nullptr; }, CDERR_NOHOOK},
      {"unknown template", [](OPENFILENAMEA& r) { r.lpTemplateName = MAKEINTRESOURCEA(4711); }, CDERR_FINDRESFAILURE},
  };
  for (const Case& c : cases) {
    OPENFILENAMEA spoilt = record_;
    c.spoil(spoilt);
    EXPECT_EQ(GetOpenFileNameA(&spoilt), FALSE) << c.what;
    EXPECT_EQ(CommDlgExtendedError(), c.error) << c.what;
  }
  EXPECT_TRUE(hookLog.events.empty());
}

}  // namespace
}  // namespace vorn::testing
