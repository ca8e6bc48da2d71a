// The install run controller: starts a run, paces the scanner one slice per posted
// step with a pause between slices, turns the scanner's result into the dialog's
// outcome, and handles Cancel.
#pragma once

#include "platform/win32.h"

constexpr UINT WM_INSTALL_STEP = WM_USER + 2;
constexpr UINT_PTR IDT_DELAY = 1025;
constexpr UINT kStepDelayMs = 50;

void StartInstallRun(HWND dialog);
// Returns true when the step ended the dialog or sent it back to the setup page.
bool RunInstallStep(HWND dialog);
void ResumeAfterDelay(HWND dialog);
void RequestAbort(HWND dialog);
