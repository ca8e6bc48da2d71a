// The destination chooser: the suggestions it makes from the current directory, its
// hook's dispatch, and ChooseDestination with its first-use cut.
#include <cstring>
#include <filesystem>

#include "engine/install_state.h"
#include "platform/display/automation.h"
#include "platform/kernel/module.h"
#include "shell/installer_app.h"
#include "tests/support/test_prefix.h"
#include "tests/unit/user_fixture.h"
#include "ui/chooser.h"

namespace vorn::testing {
namespace {

INT_PTR CALLBACK Quiet(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG ? TRUE : FALSE; }

class ChooserTest : public WindowSystemTest {
 protected:
  void SetUp() override {
    WindowSystemTest::SetUp();
    const std::string installer = prefix_.root() + "/drive_c/TEMP/INSTALL.EXE";
    TestPrefix::WriteFile(installer, "MZ");
    kernel::SetModuleFileForTesting(installer);
    installerApp.instance = kernel::ProgramInstance();
    host_ = MakeWindow("install dialog");
    // The chooser's template as a modeless dialog, for the parts of the chooser
    // that work on any window built from it.
    chooser_ = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(1537), host_, Quiet, 0);
    ASSERT_NE(chooser_, nullptr);
  }
  void TearDown() override {
    kernel::SetModuleFileForTesting("");
    WindowSystemTest::TearDown();
  }
  std::string Text(int id) {
    char text[400] = "";
    GetDlgItemTextA(chooser_, id, text, sizeof text);
    return text;
  }
  // The suggestion for a current-directory text, as the hook writes it.
  std::string Suggest(const std::string& currentDir) {
    SetDlgItemTextA(chooser_, kChooserCurrentDir, currentDir.c_str());
    UpdateChooserPath(chooser_);
    EXPECT_EQ(Text(kChooserPathEdit), installState.destinationDir) << "built in destinationDir";
    return Text(kChooserPathEdit);
  }

  TestPrefix prefix_;
  HWND host_ = nullptr;
  HWND chooser_ = nullptr;
};

TEST_F(ChooserTest, SuggestionFromTheCurrentDirectory) {
  struct Case {
    const char* currentDir;
    const char* suggestion;
  };
  const Case cases[] = {
      {"c:\\", "c:\\vorn"},
      {"c:\\program files", "c:\\program files\\vorn"},
      {"C:\\VORN\\OLD", "c:\\vorn\\old"},
      {"d:\\myvorn", "d:\\myvorn\\vorn"},
      {"d:\\vornish", "d:\\vornish"},
      {"d:", "d:\\vorn"},
      // Too short to be a directory: the installer's own (C:\TEMP\INSTALL.EXE), not lower-cased.
      {"", "C:\\TEMP\\vorn"},
      {"x", "C:\\TEMP\\vorn"},
  };
  for (const Case& c : cases) EXPECT_EQ(Suggest(c.currentDir), c.suggestion) << "\"" << c.currentDir << "\"";
}

TEST_F(ChooserTest, ADirectoryTooLongForVornIsCutTo294Characters) {
  const std::string a(300, 'a');
  struct Case {
    std::string currentDir;
    std::string suggestion;
  };
  const Case cases[] = {
      {"c:\\" + a.substr(0, 291), "c:\\" + a.substr(0, 291) + "\\vorn"},        // 294: fits
      {"c:\\" + a.substr(0, 292), "c:\\" + a.substr(0, 291) + "\\vorn"},        // 295: cut
      {"c:\\" + a.substr(0, 295) + "\\", "c:\\" + a.substr(0, 291) + "\\vorn"}, // 299 with its backslash
      {"c:\\" + a.substr(0, 290) + "\\bb", "c:\\" + a.substr(0, 290) + "\\vorn"}, // cut after a backslash
      {"c:\\" + a + a, "c:\\" + a.substr(0, 291) + "\\vorn"},                   // read as 299 characters
  };
  for (const Case& c : cases) {
    const std::string suggestion = Suggest(c.currentDir);
    EXPECT_EQ(suggestion, c.suggestion) << c.currentDir.size() << " characters";
    EXPECT_LE(suggestion.size(), 299u);
  }
}

TEST_F(ChooserTest, HookSuggestsOnDirectoryChangesAndListNotificationsOnly) {
  struct Case {
    WPARAM wParam;
    bool suggests;
  };
  const Case cases[] = {
      {MAKEWPARAM(1088, EN_CHANGE), true},       {MAKEWPARAM(1088, EN_UPDATE), false},
      {MAKEWPARAM(1121, LBN_SELCHANGE), true},   {MAKEWPARAM(1121, LBN_DBLCLK), true},
      {MAKEWPARAM(1121, LBN_SETFOCUS), false},   {MAKEWPARAM(1137, CBN_SELCHANGE), true},
      {MAKEWPARAM(1137, CBN_DBLCLK), true},      {MAKEWPARAM(1137, CBN_SETFOCUS), false},
      {MAKEWPARAM(102, EN_CHANGE), false},       {MAKEWPARAM(IDCANCEL, BN_CLICKED), false},
  };
  for (const Case& c : cases) {
    SetDlgItemTextA(chooser_, kChooserCurrentDir, "d:\\games");
    SetDlgItemTextA(chooser_, kChooserPathEdit, "typed");
    EXPECT_EQ(ChooserHookProc(chooser_, WM_COMMAND, c.wParam, 0), 0u);
    EXPECT_EQ(Text(kChooserPathEdit), c.suggests ? "d:\\games\\vorn" : "typed")
        << "id " << LOWORD(c.wParam) << " code " << HIWORD(c.wParam);
  }
  EXPECT_EQ(ChooserHookProc(chooser_, WM_INITDIALOG, 0, 0), 0u);
  EXPECT_EQ(Text(kChooserPathEdit), "typed");
}

TEST_F(ChooserTest, OkTakesTheEditFieldCutTo299Characters) {
  const std::string typed = "E:\\Typed\\" + std::string(350, 'x');
  SetDlgItemTextA(chooser_, kChooserPathEdit, typed.c_str());
  EXPECT_EQ(ChooserHookProc(chooser_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0), 0u);
  EXPECT_EQ(std::string(installState.destinationDir), typed.substr(0, 299)) << "and not lower-cased";
}

TEST_F(ChooserTest, WhenShownTheSuggestionHasTheFocusWithTheCaretAtItsEndAndTheDialogIsCentred) {
  SetDlgItemTextA(chooser_, kChooserCurrentDir, "c:\\games");
  ShowWindow(chooser_, SW_SHOW);
  EXPECT_EQ(ChooserHookProc(chooser_, WM_SHOWWINDOW, TRUE, 0), 0u);
  EXPECT_EQ(Text(kChooserPathEdit), "c:\\games\\vorn");
  EXPECT_EQ(GetFocus(), GetDlgItem(chooser_, kChooserPathEdit));
  DWORD start = 0;
  DWORD end = 0;
  SendDlgItemMessageA(chooser_, kChooserPathEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                      reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 13u);
  EXPECT_EQ(end, 13u);
  RECT screen;
  RECT own;
  GetWindowRect(GetDesktopWindow(), &screen);
  GetWindowRect(chooser_, &own);
  EXPECT_EQ(own.left, screen.right / 2 - (own.right - own.left) / 2);
  EXPECT_EQ(own.top, screen.bottom / 2 - (own.bottom - own.top) / 2);
}

TEST_F(ChooserTest, FirstBrowseStartsAtTheDriveRootLaterOnesAtTheWholeDestination) {
  DestroyWindow(chooser_);
  std::filesystem::create_directories(prefix_.root() + "/drive_c/games/vorn");
  struct Case {
    const char* script;
    int result;
    const char* chosen;
  };
  const Case cases[] = {
      {"click 1\n", 1, "c:\\vorn"},        // the first opens at the drive root
      {"click 1\n", 1, "c:\\games\\vorn"},  // later ones at the whole text
      {"type 102 D:\\Typed\\Path\nclick 1\n", 1, "D:\\Typed\\Path"},
      {"double-click 1121 c:\\\nclick 2\n", 0, nullptr},
  };
  firstBrowse = true;
  for (const Case& c : cases) {
    std::strcpy(installState.destinationDir, "c:\\games\\vorn");
    automation::SetScriptText(c.script);
    EXPECT_EQ(ChooseDestination(host_), c.result) << c.script;
    if (c.chosen != nullptr) {
      EXPECT_STREQ(installState.destinationDir, c.chosen) << c.script;
    }
    EXPECT_FALSE(firstBrowse);
  }
}

}  // namespace
}  // namespace vorn::testing
