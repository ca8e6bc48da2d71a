// Operations the parts of the window system share: activation, focus, visibility,
// painting state, the queue's clock, and dialog windows.
#pragma once

#include <string>

#include "platform/api/kernel.h"
#include "platform/api/types.h"
#include "platform/user/resources.h"
#include "platform/user/window.h"

namespace vorn::user {

// Text of a window, with the side effects every change has (repaint, trace).
void ChangeText(HWND window, const std::string& text);

// The active top-level window (what keyboard input and scripts address), or null.
HWND ActiveWindow();
void Activate(HWND window);
// Called when a top-level window is hidden, disabled or destroyed: activation
// passes to its owner, else to the most recently active window that can take it.
void ActivateNextAfter(HWND leaving);

// Shows or hides without WM_SHOWWINDOW, as SetWindowPos does.
void SetVisible(HWND window, bool visible);

// Marks the whole client area, or a rectangle of it, as needing paint.
void Invalidate(HWND window, const RECT* rect, bool erase);
// The first window (in creation order, parents before children) that needs paint
// and is visible, and that the filter admits; or null.
HWND NextWindowToPaint(HWND filter);

// Removes what the queue holds for a window that is going away.
void ForgetQueuedFor(HWND window);
// Empties the queue: posted messages, input, timers, the quit flag, key states.
void ClearQueue();

// The virtual (or real) milliseconds of the display clock.
DWORD Now();

// The dialog state of a window created as a dialog.
struct DialogState {
  DLGPROC proc = nullptr;
  LPARAM param = 0;
  std::string templateName;  // empty for dialogs the platform builds (message boxes)
  bool fromTemplate = false;
  bool ended = false;
  INT_PTR result = 0;
  int defaultId = 0;
  bool messageBox = false;
};

// Creates a dialog window (hidden) and its controls from a template, sends
// WM_SETFONT and WM_INITDIALOG, and sets the first focus; null on failure.
HWND CreateDialogFromTemplate(const DialogTemplate& dialogTemplate, HWND owner, DLGPROC proc, LPARAM param);
// Runs the modal loop of a dialog window until EndDialog, with its owner disabled;
// destroys the dialog and returns its result.
INT_PTR RunModal(HWND dialog, HWND owner);
// Creates an empty, hidden dialog window of a client size in pixels.
HWND CreateDialogWindow(const std::string& caption, DWORD style, DWORD exStyle, RECT client, HWND owner,
                        DLGPROC proc, LPARAM param);

// Is the window a dialog built from a template (what automation calls a "dialog")?
bool IsTemplateDialog(HWND window);

}  // namespace vorn::user
