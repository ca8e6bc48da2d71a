// The install run's message boxes.
#include "engine/messages.h"

#include "shell/installer_app.h"

void ShowInstallError(const char* text, const char* caption) {
  MessageBoxA(installerApp.dialogWindow, text, caption, MB_ICONERROR | MB_OK);
}

int AskInstallQuestion(const char* text, const char* caption) {
  return MessageBoxA(installerApp.dialogWindow, text, caption, MB_ICONQUESTION | MB_YESNO);
}
