// The built-in controls: edit notifications and selection, list and combo boxes.
#include "platform/display/automation.h"
#include "tests/unit/user_fixture.h"

namespace vorn::testing {
namespace {

std::vector<std::pair<int, int>> notifications;  // (id, code)
INT_PTR CALLBACK NotedDialog(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND) notifications.emplace_back(LOWORD(wParam), HIWORD(wParam));
  return FALSE;
}

class ControlsTest : public WindowSystemTest {
 protected:
  void SetUp() override {
    WindowSystemTest::SetUp();
    notifications.clear();
    host_ = MakeWindow("host");
    chooser_ = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(1537), host_, NotedDialog, 0);
    ASSERT_NE(chooser_, nullptr);
    ShowWindow(chooser_, SW_SHOW);
    Pump(chooser_);
    notifications.clear();
  }
  bool Notified(int id, int code) {
    for (const auto& n : notifications) {
      if (n.first == id && n.second == code) return true;
    }
    return false;
  }
  HWND host_ = nullptr;
  HWND chooser_ = nullptr;
};

TEST_F(ControlsTest, EveryTextChangeOfAnEditIsAnEnChange) {
  SetDlgItemTextA(chooser_, 1088, "c:\\games");
  EXPECT_TRUE(Notified(1088, EN_CHANGE)) << "also for a hidden edit";
  notifications.clear();
  HWND edit = GetDlgItem(chooser_, 102);
  SetFocus(edit);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("c:\\vorn"));
  SendMessageA(edit, EM_SETSEL, 0, -1);
  DWORD start = 9;
  DWORD end = 9;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 7u);
  SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 7u) << "deselected, the caret at the end";
  Press(VK_BACK);
  Press('X', {VK_SHIFT});
  Pump(chooser_);
  char text[32];
  GetDlgItemTextA(chooser_, 102, text, sizeof text);
  EXPECT_STREQ(text, "c:\\vorX");
  EXPECT_TRUE(Notified(102, EN_CHANGE));
}

TEST_F(ControlsTest, SortedListKeepsItemsInOrderAndNotifiesSelection) {
  HWND list = GetDlgItem(chooser_, 1121);
  for (const char* name : {"windows", "c:\\", "Vorn", "games"}) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  std::vector<std::string> items;
  char text[32];
  for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  EXPECT_EQ(items, (std::vector<std::string>{"c:\\", "games", "Vorn", "windows"}));
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("vorn")), 2);
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  EXPECT_TRUE(notifications.empty()) << "a selection by message is not notified";
  SetFocus(list);
  Press(VK_DOWN);
  Pump(chooser_);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
  EXPECT_TRUE(Notified(1121, LBN_SELCHANGE));
}

TEST_F(ControlsTest, DropDownListShowsItsSelectedItem) {
  HWND drives = GetDlgItem(chooser_, 1137);
  for (const char* name : {"d:", "c:", "z: network"}) SendMessageA(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  SendMessageA(drives, CB_SETCURSEL, 0, 0);
  char text[32];
  GetWindowTextA(drives, text, sizeof text);
  EXPECT_STREQ(text, "c:");
  SetFocus(drives);
  Press(VK_DOWN);
  Pump(chooser_);
  GetWindowTextA(drives, text, sizeof text);
  EXPECT_STREQ(text, "d:");
  EXPECT_TRUE(Notified(1137, CBN_SELCHANGE));
}

INT_PTR CALLBACK FilledChooser(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    HWND list = GetDlgItem(dialog, 1121);
    for (int i = 0; i < 20; ++i) {
      const std::string name = "dir" + std::to_string(100 + i);
      SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    for (const char* drive : {"c:", "d:"}) SendDlgItemMessageA(dialog, 1137, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(drive));
    return TRUE;
  }
  if (message == WM_COMMAND) {
    notifications.emplace_back(LOWORD(wParam), HIWORD(wParam));
    if (LOWORD(wParam) == IDCANCEL) {
      const int item = static_cast<int>(SendDlgItemMessageA(dialog, 1121, LB_GETCURSEL, 0, 0));
      const int drive = static_cast<int>(SendDlgItemMessageA(dialog, 1137, CB_GETCURSEL, 0, 0));
      EndDialog(dialog, item * 10 + drive);
    }
    return TRUE;
  }
  return FALSE;
}

TEST_F(ControlsTest, ScriptsPickListItemsByTheirText) {
  automation::SetScriptText("select 1121 dir102\ndouble-click 1121 dir117\nselect 1137 d:\nclick 2\n");
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(1537), host_, FilledChooser, 0), 17 * 10 + 1);
  const std::vector<std::pair<int, int>> wanted = {{1121, LBN_SELCHANGE}, {1121, LBN_SELCHANGE}, {1121, LBN_DBLCLK},
                                                   {1137, CBN_SELCHANGE}};
  std::vector<std::pair<int, int>> seen;
  for (const auto& n : notifications) {
    if (n.first == 1121 || n.first == 1137) {
      if (n.second == LBN_SELCHANGE || n.second == LBN_DBLCLK) seen.push_back(n);
    }
  }
  EXPECT_EQ(seen, wanted) << "the item below the visible ones is scrolled into view first";
}

TEST_F(ControlsTest, WindowsMoveOnTheScreen) {
  RECT screen;
  GetWindowRect(GetDesktopWindow(), &screen);
  EXPECT_EQ(screen.right, 800);
  EXPECT_EQ(screen.bottom, 600);
  RECT before;
  GetWindowRect(chooser_, &before);
  SetWindowPos(chooser_, nullptr, 1, 1, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RECT after;
  GetWindowRect(chooser_, &after);
  EXPECT_EQ(after.left, 1);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  POINT p{0, 0};
  ClientToScreen(chooser_, &p);
  EXPECT_EQ(p.x, 1 + 3);
  EXPECT_EQ(p.y, 1 + 3 + 18);
}

}  // namespace
}  // namespace vorn::testing
