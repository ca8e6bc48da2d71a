// The run controller. While a run is active there is one chain of steps: a posted
// WM_INSTALL_STEP, a step being handled, or an armed IDT_DELAY, each leading to the
// next; Cancel stops the chain only between steps.
#include "engine/run_controller.h"

#include "engine/install_state.h"
#include "engine/messages.h"
#include "engine/scanner.h"
#include "ui/install_dialog.h"
#include "ui/progress.h"

void StartInstallRun(HWND dialog) {
  SetDialogMode(dialog, 1);
  ResetInstallState();
  ShowFileStatus();
  PaintProgress(nullptr, nullptr);
  if (PrepareDestination() == BackToSetup) {
    SetDialogMode(dialog, 0);
    return;
  }
  SetFocus(GetDlgItem(dialog, IDCANCEL));
  if (OpenInstallImage() == Fatal) {
    EndDialog(dialog, 0);
    return;
  }
  PostMessageA(dialog, WM_INSTALL_STEP, 0, 0);
}

bool RunInstallStep(HWND dialog) {
  // A step that finds no image open belongs to no run: one armed just before the
  // user confirmed an abort expires after the reset has cleared the flag.
  if (installState.abortRequested || installState.imageStream == nullptr) return false;
  switch (ScanSlice()) {
    case Continue:
      SetTimer(dialog, IDT_DELAY, kStepDelayMs, nullptr);
      return false;
    case Done:
      if (installState.fileIndex > 0) {
        EndDialog(dialog, 1);
        return true;
      }
      RollbackInstall();
      ShowInstallError(
          "The installation file seems to be corrupt!\n\n"
          "Please try running the installation program again or download a new version!",
          "Vorn Installation Error [14]");
      EndDialog(dialog, 0);
      return true;
    case BackToSetup:
      RollbackInstall();
      SetDialogMode(dialog, 0);
      return true;
    default:
      RollbackInstall();
      EndDialog(dialog, 0);
      return true;
  }
}

void ResumeAfterDelay(HWND dialog) {
  KillTimer(dialog, IDT_DELAY);
  PostMessageA(dialog, WM_INSTALL_STEP, 0, 0);
}

void RequestAbort(HWND dialog) {
  installState.abortRequested = true;
  if (installState.imageStream == nullptr) {
    EndDialog(dialog, 0);
    return;
  }
  const int answer = AskInstallQuestion("Are you sure you want to abort the installation?", kWarningCaption);
  if (answer == IDNO) {
    installState.abortRequested = false;
    PostMessageA(dialog, WM_INSTALL_STEP, 0, 0);
    return;
  }
  RollbackInstall();
  ResetInstallState();
  SetDialogMode(dialog, 0);
}
