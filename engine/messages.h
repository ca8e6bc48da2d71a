// Message boxes of the install run, all owned by the install dialog.
#pragma once

// The error icon and a single OK button.
void ShowInstallError(const char* text, const char* caption);
// The question icon with Yes and No; returns the answer.
int AskInstallQuestion(const char* text, const char* caption);

constexpr const char* kWarningCaption = "Vorn Installation Warning";
