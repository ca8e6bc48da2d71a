// The LISTBOX and COMBOBOX classes: lists of strings with item data and one
// selection, sorted where the style asks, moved through by keys and clicks.
#include <strings.h>

#include <algorithm>
#include <cstring>

#include "platform/user/internal.h"
#include "platform/user/metrics.h"

namespace vorn::user {

namespace {

constexpr int kItemHeight = kListItemHeight;

int Count(const ControlState& c) { return static_cast<int>(c.items.size()); }

int Insert(ControlState& c, int index, const char* text, bool sorted) {
  const std::string item = text != nullptr ? text : "";
  if (sorted) {
    index = 0;
    while (index < Count(c) && strcasecmp(c.items[index].c_str(), item.c_str()) <= 0) ++index;
  } else if (index < 0 || index > Count(c)) {
    index = Count(c);
  }
  c.items.insert(c.items.begin() + index, item);
  c.itemData.insert(c.itemData.begin() + index, 0);
  if (c.selection >= index) c.selection += 1;
  return index;
}

int Delete(ControlState& c, int index) {
  if (index < 0 || index >= Count(c)) return -1;
  c.items.erase(c.items.begin() + index);
  c.itemData.erase(c.itemData.begin() + index);
  if (c.selection == index) c.selection = -1;
  if (c.selection > index) c.selection -= 1;
  return Count(c);
}

int Find(const ControlState& c, int after, const char* text, bool exact) {
  const std::string wanted = text != nullptr ? text : "";
  for (int n = 1; n <= Count(c); ++n) {
    const int index = (after + n) % Count(c);
    const std::string& item = c.items[index];
    const bool match = exact ? strcasecmp(item.c_str(), wanted.c_str()) == 0
                             : strncasecmp(item.c_str(), wanted.c_str(), wanted.size()) == 0;
    if (match) return index;
  }
  return -1;
}

int CopyItem(const ControlState& c, int index, LPARAM buffer) {
  if (index < 0 || index >= Count(c)) return -1;
  if (buffer != 0) std::memcpy(reinterpret_cast<char*>(buffer), c.items[index].c_str(), c.items[index].size() + 1);
  return static_cast<int>(c.items[index].size());
}

// A move of the selection by a key; returns whether it changed.
bool MoveSelection(ControlState& c, WPARAM key, int page) {
  if (Count(c) == 0) return false;
  int next = c.selection;
  switch (key) {
    case VK_UP: next = std::max(c.selection - 1, 0); break;
    case VK_DOWN: next = std::min(c.selection + 1, Count(c) - 1); break;
    case VK_PRIOR: next = std::max(c.selection - page, 0); break;
    case VK_NEXT: next = std::min(std::max(c.selection, 0) + page, Count(c) - 1); break;
    case VK_HOME: next = 0; break;
    case VK_END: next = Count(c) - 1; break;
    default: return false;
  }
  if (next == c.selection) return false;
  c.selection = next;
  return true;
}

}  // namespace

LRESULT CALLBACK ListBoxProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = user::Find(handle);
  if (window == nullptr) return 0;
  ControlState& c = window->control;
  const bool notify = (window->style & LBS_NOTIFY) != 0;
  const int index = static_cast<int>(wParam);
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case LB_ADDSTRING:
      Invalidate(handle, nullptr, true);
      return Insert(c, -1, reinterpret_cast<const char*>(lParam), (window->style & LBS_SORT) != 0);
    case LB_INSERTSTRING:
      Invalidate(handle, nullptr, true);
      return Insert(c, index, reinterpret_cast<const char*>(lParam), false);
    case LB_DELETESTRING:
      Invalidate(handle, nullptr, true);
      return Delete(c, index);
    case LB_RESETCONTENT:
      c.items.clear();
      c.itemData.clear();
      c.selection = -1;
      c.topIndex = 0;
      Invalidate(handle, nullptr, true);
      return 0;
    case LB_GETCOUNT:
      return Count(c);
    case LB_SETCURSEL:
      c.selection = index >= 0 && index < Count(c) ? index : -1;
      Invalidate(handle, nullptr, false);
      return c.selection == -1 ? LB_ERR : c.selection;
    case LB_GETCURSEL:
      return c.selection;
    case LB_GETTEXT:
      return CopyItem(c, index, lParam);
    case LB_GETTEXTLEN:
      return index >= 0 && index < Count(c) ? static_cast<LRESULT>(c.items[index].size()) : LB_ERR;
    case LB_GETITEMDATA:
      return index >= 0 && index < Count(c) ? c.itemData[index] : LB_ERR;
    case LB_SETITEMDATA:
      if (index < 0 || index >= Count(c)) return LB_ERR;
      c.itemData[index] = lParam;
      return TRUE;
    case LB_SETTOPINDEX:
      if (index < 0 || index >= std::max(Count(c), 1)) return LB_ERR;
      c.topIndex = index;
      Invalidate(handle, nullptr, true);
      return 0;
    case LB_GETTOPINDEX:
      return c.topIndex;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
      return Find(c, index, reinterpret_cast<const char*>(lParam), message == LB_FINDSTRINGEXACT);
    case LB_SELECTSTRING: {
      const int found = Find(c, index, reinterpret_cast<const char*>(lParam), false);
      if (found >= 0) c.selection = found;
      Invalidate(handle, nullptr, false);
      return found;
    }
    case WM_KEYDOWN: {
      const RECT client = ClientRect(*window);
      if (MoveSelection(c, wParam, std::max<int>(client.bottom / kItemHeight, 1))) {
        Invalidate(handle, nullptr, false);
        if (notify) NotifyParent(handle, LBN_SELCHANGE);
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      SetFocus(handle);
      if ((window = user::Find(handle)) == nullptr) return 0;
      const int hit = window->control.topIndex + static_cast<short>(HIWORD(lParam)) / kItemHeight;
      if (hit < 0 || hit >= Count(window->control)) return 0;
      const bool changed = window->control.selection != hit;
      window->control.selection = hit;
      Invalidate(handle, nullptr, false);
      if (notify && changed) NotifyParent(handle, LBN_SELCHANGE);
      if (notify && message == WM_LBUTTONDBLCLK) NotifyParent(handle, LBN_DBLCLK);
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate(handle, nullptr, false);
      if (notify) NotifyParent(handle, message == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
      return 0;
    default:
      return DefWindowProcA(handle, message, wParam, lParam);
  }
}

LRESULT CALLBACK ComboBoxProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = user::Find(handle);
  if (window == nullptr) return 0;
  ControlState& c = window->control;
  const int index = static_cast<int>(wParam);
  // The text of a drop-down list is its selected item.
  auto showSelection = [handle](const ControlState& state) {
    ChangeText(handle, state.selection >= 0 ? state.items[state.selection] : "");
  };
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case CB_ADDSTRING:
      return Insert(c, -1, reinterpret_cast<const char*>(lParam), (window->style & CBS_SORT) != 0);
    case CB_INSERTSTRING:
      return Insert(c, index, reinterpret_cast<const char*>(lParam), false);
    case CB_DELETESTRING: {
      const int left = Delete(c, index);
      showSelection(c);
      return left;
    }
    case CB_RESETCONTENT:
      c.items.clear();
      c.itemData.clear();
      c.selection = -1;
      showSelection(c);
      return 0;
    case CB_GETCOUNT:
      return Count(c);
    case CB_SETCURSEL:
      c.selection = index >= 0 && index < Count(c) ? index : -1;
      showSelection(c);
      return c.selection == -1 ? CB_ERR : c.selection;
    case CB_GETCURSEL:
      return c.selection;
    case CB_GETLBTEXT:
      return CopyItem(c, index, lParam);
    case CB_GETLBTEXTLEN:
      return index >= 0 && index < Count(c) ? static_cast<LRESULT>(c.items[index].size()) : CB_ERR;
    case CB_GETITEMDATA:
      return index >= 0 && index < Count(c) ? c.itemData[index] : CB_ERR;
    case CB_SETITEMDATA:
      if (index < 0 || index >= Count(c)) return CB_ERR;
      c.itemData[index] = lParam;
      return TRUE;
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
      return Find(c, index, reinterpret_cast<const char*>(lParam), message == CB_FINDSTRINGEXACT);
    case CB_SELECTSTRING: {
      const int found = Find(c, index, reinterpret_cast<const char*>(lParam), false);
      if (found >= 0) c.selection = found;
      showSelection(c);
      return found;
    }
    case CB_SHOWDROPDOWN:
      NotifyParent(handle, wParam ? CBN_DROPDOWN : CBN_CLOSEUP);
      return TRUE;
    case WM_KEYDOWN:
      if (MoveSelection(c, wParam, 1)) {
        showSelection(c);
        NotifyParent(handle, CBN_SELCHANGE);
      }
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(handle);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate(handle, nullptr, false);
      NotifyParent(handle, message == WM_SETFOCUS ? CBN_SETFOCUS : CBN_KILLFOCUS);
      return 0;
    default:
      return DefWindowProcA(handle, message, wParam, lParam);
  }
}

}  // namespace vorn::user
