// Dialogs from the program's templates: their rectangles in pixels, the modal loop
// with its owner, and the dialog manager's keys.
#include <cstring>

#include "platform/display/automation.h"
#include "platform/user/input.h"
#include "platform/user/resources.h"
#include "tests/unit/user_fixture.h"

// Found by argument lookup: RECT lives in the global namespace.
static bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
static std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace vorn::testing {
namespace {

// Records the commands a dialog receives; answers WM_INITDIALOG with TRUE so that
// the dialog manager puts the focus on the first tab stop.
std::vector<int> commands;
INT_PTR CALLBACK RecordingDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND) {
    commands.push_back(LOWORD(wParam));
    return TRUE;
  }
  (void)dialog;
  return FALSE;
}

class DialogTest : public WindowSystemTest {
 protected:
  void SetUp() override {
    WindowSystemTest::SetUp();
    commands.clear();
    host_ = MakeWindow("host");
    dialog_ = CreateDialogParamA(nullptr, "INSTALL_DLG", host_, RecordingDialog, 0);
    ASSERT_NE(dialog_, nullptr);
    Pump(dialog_);
  }
  int FocusId() { return GetDlgCtrlID(GetFocus()); }
  void Key(UINT key, std::vector<UINT> modifiers = {}) {
    Press(key, std::move(modifiers));
    Pump(dialog_);
  }
  // A control's rectangle in the dialog's client coordinates.
  RECT ClientRectOf(int id) {
    RECT r;
    GetWindowRect(GetDlgItem(dialog_, id), &r);
    POINT topLeft{r.left, r.top};
    POINT bottomRight{r.right, r.bottom};
    ScreenToClient(dialog_, &topLeft);
    ScreenToClient(dialog_, &bottomRight);
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
  }
  HWND host_ = nullptr;
  HWND dialog_ = nullptr;
};

TEST_F(DialogTest, ControlsLieWhereTheirDialogUnitsSay) {
  // x * 6 / 4 and y * 13 / 8, each rounded: 69 -> 103.5 -> 104, 229 -> 372.125 -> 372.
  struct Case {
    int id;
    RECT pixels;
  };
  const Case cases[] = {
      {1, {104, 338, 164, 364}},    // 69, 208, 40 x 16
      {115, {68, 182, 262, 211}},   // 45, 112, 129 x 18
      {119, {275, 13, 308, 57}},    // 183, 8, 22 x 27
      {105, {20, 89, 263, 102}},    // 13, 55, 162 x 8
  };
  for (const Case& c : cases) EXPECT_EQ(ClientRectOf(c.id), c.pixels) << "control " << c.id;
  RECT client;
  GetClientRect(dialog_, &client);
  EXPECT_EQ(client, (RECT{0, 0, 329, 372}));
  RECT frame;
  GetWindowRect(dialog_, &frame);
  EXPECT_EQ(frame.right - frame.left, 329 + 2 * 3) << "a dialog frame of 3 pixels";
  EXPECT_EQ(frame.bottom - frame.top, 372 + 2 * 3 + 18) << "and a caption of 18";
}

TEST_F(DialogTest, TemplateStatesAndTextsArrive) {
  EXPECT_TRUE(IsWindowVisible(dialog_));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog_, 113)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog_, 113)));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog_, 109)));
  char text[300];
  EXPECT_EQ(GetDlgItemTextA(dialog_, 102, text, sizeof text), std::strlen("Welcome to the Vorn installation program!"));
  EXPECT_STREQ(text, "Welcome to the Vorn installation program!");
  EXPECT_EQ(GetDlgItemTextA(dialog_, 102, text, 8), 7u) << "cut to the buffer";
  EXPECT_STREQ(text, "Welcome");
  SetDlgItemTextA(dialog_, 105, "c:\\vorn");
  EXPECT_EQ(GetWindowTextLengthA(GetDlgItem(dialog_, 105)), 7);
  CheckDlgButton(dialog_, 109, BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, 109), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog_, 111), static_cast<UINT>(BST_UNCHECKED));
}

TEST_F(DialogTest, TabAndShiftTabGoOverTheVisibleEnabledTabStops) {
  EXPECT_EQ(FocusId(), 1);
  std::vector<int> order;
  for (int i = 0; i < 5; ++i) {
    Key(VK_TAB);
    order.push_back(FocusId());
  }
  EXPECT_EQ(order, (std::vector<int>{2, 106, 109, 111, 1}));
  Key(VK_TAB, {VK_SHIFT});
  EXPECT_EQ(FocusId(), 111);
  ShowWindow(GetDlgItem(dialog_, 106), SW_HIDE);
  EnableWindow(GetDlgItem(dialog_, 109), FALSE);
  SetFocus(GetDlgItem(dialog_, 2));
  Key(VK_TAB);
  EXPECT_EQ(FocusId(), 111);
}

TEST_F(DialogTest, EnterPressesTheFocusedPushButtonElseTheDefaultOne) {
  SetFocus(GetDlgItem(dialog_, 2));
  Key(VK_RETURN);
  SetFocus(GetDlgItem(dialog_, 109));
  Key(VK_RETURN);
  EnableWindow(GetDlgItem(dialog_, 1), FALSE);
  Key(VK_RETURN);
  EXPECT_EQ(commands, (std::vector<int>{2, 1})) << "a disabled default button is not pressed";
}

TEST_F(DialogTest, EscapeAndTheSystemCloseAreCancel) {
  Key(VK_ESCAPE);
  SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump(dialog_);
  Key(VK_F4, {VK_MENU});
  EXPECT_EQ(commands, (std::vector<int>{IDCANCEL, IDCANCEL, IDCANCEL}));
}

TEST_F(DialogTest, AltLetterRunsTheMnemonic) {
  Key('M', {VK_MENU});
  EXPECT_EQ(IsDlgButtonChecked(dialog_, 109), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(FocusId(), 109);
  Key('B', {VK_MENU});
  Key('I', {VK_MENU});
  EXPECT_EQ(commands, (std::vector<int>{109, 106, 1}));
  EnableWindow(GetDlgItem(dialog_, 106), FALSE);
  Key('B', {VK_MENU});
  EXPECT_EQ(commands.size(), 3u) << "a disabled control has no mnemonic";
}

TEST_F(DialogTest, SpaceTogglesTheFocusedCheckBox) {
  SetFocus(GetDlgItem(dialog_, 111));
  Key(VK_SPACE);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, 111), static_cast<UINT>(BST_CHECKED));
  Key(VK_SPACE);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, 111), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(commands, (std::vector<int>{111, 111}));
}

TEST_F(DialogTest, ClicksGoToTheVisibleControlUnderThePointer) {
  // The hidden progress frame 115 lies over the check box 109.
  RECT box;
  GetWindowRect(GetDlgItem(dialog_, 109), &box);
  const POINT onBox{box.left + 4, box.top + 4};
  user::QueueMouseAt(WM_LBUTTONDOWN, onBox);
  user::QueueMouseAt(WM_LBUTTONUP, onBox);
  Pump(dialog_);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, 109), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(commands, (std::vector<int>{109}));
  EnableWindow(GetDlgItem(dialog_, 109), FALSE);
  user::QueueMouseAt(WM_LBUTTONDOWN, onBox);
  user::QueueMouseAt(WM_LBUTTONUP, onBox);
  Pump(dialog_);
  EXPECT_EQ(commands.size(), 1u) << "a disabled control takes no click";
}

TEST_F(DialogTest, LabelMnemonicFocusesTheNextControl) {
  HWND chooser = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(1537), dialog_, RecordingDialog, 0);
  ASSERT_NE(chooser, nullptr);
  ShowWindow(chooser, SW_SHOW);
  Press('I', {VK_MENU});
  Pump(chooser);
  EXPECT_EQ(GetDlgCtrlID(GetFocus()), 102) << "from the label to the edit field";
  Press('V', {VK_MENU});
  Pump(chooser);
  EXPECT_EQ(GetDlgCtrlID(GetFocus()), 1137) << "from Drives to the drive list";
}

// The modal loop: owner disabled while it runs, WM_SHOWWINDOW, the result.
struct ModalSeen {
  BOOL ownerEnabledAtInit = TRUE;
  BOOL ownerEnabledWhenShown = TRUE;
  int shown = 0;
  HWND owner = nullptr;
} modal;

INT_PTR CALLBACK ModalDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      modal.owner = reinterpret_cast<HWND>(lParam);
      modal.ownerEnabledAtInit = IsWindowEnabled(modal.owner);
      return FALSE;
    case WM_SHOWWINDOW:
      modal.shown += wParam ? 1 : 0;
      modal.ownerEnabledWhenShown = IsWindowEnabled(modal.owner);
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == 2) EndDialog(dialog, 5);
      return TRUE;
    default:
      return FALSE;
  }
}

class ModalDialogTest : public WindowSystemTest {};

TEST_F(ModalDialogTest, DialogBoxRunsWithItsOwnerDisabled) {
  HWND host = MakeWindow("host");
  modal = ModalSeen{};
  automation::SetScriptText("click 2\n");
  EXPECT_EQ(DialogBoxParamA(nullptr, "INSTALL_DLG", host, ModalDialog, reinterpret_cast<LPARAM>(host)), 5);
  EXPECT_FALSE(modal.ownerEnabledWhenShown);
  EXPECT_EQ(modal.shown, 1);
  EXPECT_TRUE(IsWindowEnabled(host));
  EXPECT_EQ(GetActiveWindow(), host);
  EXPECT_EQ(DialogBoxParamA(nullptr, "NO_SUCH_DLG", host, ModalDialog, 0), -1);
}

TEST_F(ModalDialogTest, InstallTemplateHasItsControlsInTabOrder) {
  const user::DialogTemplate* install = user::FindDialogTemplate("install_dlg");
  ASSERT_NE(install, nullptr) << "names are found whatever their case";
  EXPECT_EQ(install->style, 0x90C800C4u);
  EXPECT_EQ(install->pointSize, 8);
  EXPECT_STREQ(install->font, "MS Sans Serif");
  // Visible, disabled, tab stop and group as the template's table gives them.
  const std::pair<int, DWORD> items[] = {
      {1, 0x50010001},   {2, 0x50010000},   {102, 0x50020000}, {103, 0x50020000}, {104, 0x50000007},
      {105, 0x50020000}, {106, 0x50010000}, {107, 0x50020000}, {108, 0x50020000}, {109, 0x50010003},
      {112, 0x50020000}, {113, 0x48000000}, {114, 0x48000000}, {115, 0x48000007}, {118, 0x48000000},
      {110, 0x50020000}, {111, 0x50010003}, {117, 0x48020000}, {119, 0x48800000},
  };
  ASSERT_EQ(install->itemCount, std::size(items));
  for (std::size_t i = 0; i < std::size(items); ++i) {
    EXPECT_EQ(install->items[i].id, items[i].first) << i;
    EXPECT_EQ(install->items[i].style, items[i].second) << "control " << items[i].first;
  }
}

TEST_F(ModalDialogTest, ChooserTemplateHasTheStylesOfItsTable) {
  const user::DialogTemplate* chooser = user::FindDialogTemplate(MAKEINTRESOURCEA(1537));
  ASSERT_NE(chooser, nullptr);
  EXPECT_EQ(chooser->style, 0x80C800C4u);
  EXPECT_EQ(std::string(chooser->caption), "Vorn Destination Directory");
  struct Item {
    int id;
    const char* className;
    DWORD style;
  };
  const Item items[] = {
      {-1, "Static", 0x50020000},    {102, "Edit", 0x50810080},      {1121, "ListBox", 0x50A11053},
      {1091, "Static", 0x50020000},  {1137, "ComboBox", 0x50A10353}, {1040, "Button", 0x48020003},
      {1038, "Button", 0x48020000},  {1090, "Static", 0x50020000},   {1152, "Edit", 0x48800480},
      {1120, "ListBox", 0x48A01053}, {1089, "Static", 0x48020000},   {1136, "ComboBox", 0x48A00043},
      {1088, "Edit", 0x40800080},    {1, "Button", 0x50010000},      {2, "Button", 0x50010000},
  };
  ASSERT_EQ(chooser->itemCount, std::size(items));
  for (std::size_t i = 0; i < std::size(items); ++i) {
    EXPECT_EQ(chooser->items[i].id, items[i].id) << i;
    EXPECT_STREQ(chooser->items[i].className, items[i].className) << i;
    EXPECT_EQ(chooser->items[i].style, items[i].style) << "control " << items[i].id;
  }
  EXPECT_EQ(chooser->items[12].x, -78);
  EXPECT_STREQ(chooser->items[8].text, "JUNK!");
  EXPECT_NE(LoadIconA(reinterpret_cast<HINSTANCE>(1), MAKEINTRESOURCEA(1)), nullptr);
  EXPECT_NE(LoadIconA(reinterpret_cast<HINSTANCE>(1), MAKEINTRESOURCEA(2)), nullptr);
}

}  // namespace
}  // namespace vorn::testing
