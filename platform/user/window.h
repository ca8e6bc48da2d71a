// The window records of the window system: what a HWND stands for, and the lookups
// the rest of the service uses.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/api/types.h"
#include "platform/api/user.h"
#include "platform/gdi/surface.h"

namespace vorn::user {

struct DialogState;

// The state a built-in control keeps beyond its text.
struct ControlState {
  int check = BST_UNCHECKED;
  bool pushed = false;               // a button held down by mouse or space bar
  std::vector<std::string> items;    // list and combo boxes
  std::vector<LONG_PTR> itemData;
  int selection = -1;
  int topIndex = 0;
  DWORD editSelStart = 0;            // edit selection, in characters
  DWORD editSelEnd = 0;
  DWORD textLimit = 30000;
  HICON icon = nullptr;              // static icons (STM_SETICON)
};

struct WindowClass {
  std::string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  bool builtIn = false;
};

struct Window {
  HWND handle = nullptr;
  const WindowClass* windowClass = nullptr;
  WNDPROC proc = nullptr;
  HWND parent = nullptr;  // child windows only
  HWND owner = nullptr;   // top-level windows only
  DWORD style = 0;
  DWORD exStyle = 0;
  int id = 0;
  std::string text;
  RECT rect{};  // the window rectangle: in the parent's client coordinates, or on the screen
  HINSTANCE instance = nullptr;
  LONG_PTR userData = 0;
  std::vector<HWND> children;  // creation order: z-order and tab order
  bool destroying = false;

  // The update region, kept as one rectangle in client coordinates.
  bool invalid = false;
  bool erasePending = false;
  RECT update{};

  // Top-level windows: the pixels, and the child that had the focus last.
  std::unique_ptr<gdi::Surface> surface;
  HWND lastFocus = nullptr;

  std::unique_ptr<DialogState> dialog;  // windows created from a dialog template
  ControlState control;
};

// The window behind a handle, or null for a handle that is not (or no longer) a window.
Window* Find(HWND handle);
bool IsChild(const Window& window);
// The top-level window a window belongs to (itself for a top-level window).
Window* Root(Window* window);
// The top-level windows, oldest first.
const std::vector<HWND>& TopLevelWindows();

// The registered class of a name (case-insensitive), built-in classes included.
const WindowClass* FindClass(const std::string& name);
void RegisterBuiltInClasses();

// Window procedures of the built-in classes.
LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ListBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ComboBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);

// The class name of dialog windows.
inline constexpr const char* kDialogClass = "#32770";

// Whether a window and all its ancestors are visible / it and its ancestors enabled.
bool IsReallyVisible(const Window& window);
bool IsReallyEnabled(const Window& window);

// Sends WM_COMMAND with a notification code to the control's parent.
void NotifyParent(HWND control, WORD code);

}  // namespace vorn::user
