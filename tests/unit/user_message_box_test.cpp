// MessageBoxA: answered by a test responder without a window, or run as a real
// modal dialog of the platform and answered through its buttons and keys.
#include "platform/display/automation.h"
#include "tests/unit/user_fixture.h"

namespace vorn::testing {
namespace {

using automation::MessageBoxRecord;

class MessageBoxTest : public WindowSystemTest {};

TEST_F(MessageBoxTest, ResponderAnswersAtOnceAndRecordsTheBox) {
  HWND host = MakeWindow("host");
  HWND dialog = CreateDialogParamA(nullptr, "INSTALL_DLG", host, nullptr, 0);
  ASSERT_NE(dialog, nullptr);
  automation::SetMessageBoxResponder([](const MessageBoxRecord& box) { return box.caption == "Q" ? IDNO : IDOK; });
  EXPECT_EQ(MessageBoxA(dialog, "Sure?", "Q", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(MessageBoxA(GetDlgItem(dialog, 1), "a", "B", MB_OK), IDOK);
  EXPECT_EQ(MessageBoxA(host, "b", "C", MB_OK), IDOK);
  EXPECT_EQ(MessageBoxA(nullptr, "c", nullptr, MB_OK), IDOK);
  const auto& log = automation::MessageBoxLog();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0].ownerKind, "dialog");
  EXPECT_EQ(log[0].text, "Sure?");
  EXPECT_EQ(log[0].flags, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(log[0].answer, IDNO);
  EXPECT_EQ(log[1].ownerKind, "dialog") << "a control's box belongs to its dialog";
  EXPECT_EQ(log[2].ownerKind, "host");
  EXPECT_EQ(log[3].ownerKind, "none");
  EXPECT_EQ(log[3].caption, "Error") << "a box without caption";
  EXPECT_TRUE(IsWindowEnabled(dialog));
}

struct BoxCase {
  UINT flags;
  const char* script;
  int answer;
};

class MessageBoxAnswers : public MessageBoxTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(MessageBoxAnswers, ButtonsAndKeysGiveTheAnswer) {
  HWND host = MakeWindow("host");
  automation::SetScriptText(GetParam().script);
  EXPECT_EQ(MessageBoxA(host, "Line one\nline two", "Box", GetParam().flags), GetParam().answer);
  EXPECT_TRUE(IsWindowEnabled(host));
}

INSTANTIATE_TEST_SUITE_P(
    Flags, MessageBoxAnswers,
    ::testing::Values(BoxCase{MB_OK, "answer ok", IDOK}, BoxCase{MB_OK, "key Escape", IDOK},
                      BoxCase{MB_OK, "key Enter", IDOK}, BoxCase{MB_OKCANCEL, "key Escape", IDCANCEL},
                      BoxCase{MB_YESNO, "click 7", IDNO}, BoxCase{MB_YESNO, "key Enter", IDYES},
                      BoxCase{MB_YESNO | MB_DEFBUTTON2, "key Enter", IDNO},
                      BoxCase{MB_YESNO, "key Escape\nkey Alt+F4\nanswer yes", IDYES},
                      BoxCase{MB_YESNO, "key Tab\nkey Space", IDNO}, BoxCase{MB_YESNO, "key Alt+N", IDNO},
                      BoxCase{MB_YESNOCANCEL, "key Alt+F4", IDCANCEL},
                      BoxCase{MB_ABORTRETRYIGNORE, "answer retry", IDRETRY}));

TEST_F(MessageBoxTest, BoxHasTheButtonsOfItsFlagsSizedFromTheirLabels) {
  HWND host = MakeWindow("host");
  struct Seen {
    std::vector<int> buttons;
    int width = 0;
  } seen;
  static Seen* target;
  target = &seen;
  SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND box = GetActiveWindow();
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
      if (HWND button = GetDlgItem(box, id)) {
        target->buttons.push_back(id);
        RECT r;
        GetWindowRect(button, &r);
        target->width = r.right - r.left;
      }
    }
  });
  automation::SetScriptText("wait 20\nanswer no");
  MessageBoxA(host, "Text", "Box", MB_YESNOCANCEL);
  EXPECT_EQ(seen.buttons, (std::vector<int>{IDCANCEL, IDYES, IDNO}));
  EXPECT_GE(seen.width, 75);
}

}  // namespace
}  // namespace vorn::testing
