// The window tree read with USER32: siblings and the dialog manager's tab order.
#include "tests/toolkit/win32/window_tree.h"

#include <windows.h>

std::string StaticTextBefore(HWND__* control) {
  HWND before = GetWindow(control, GW_HWNDPREV);
  wchar_t className[32] = {};
  if (before == nullptr || GetClassNameW(before, className, 32) == 0 ||
      lstrcmpiW(className, L"Static") != 0) {
    return "<none>";
  }
  char text[256] = {};
  GetWindowTextA(before, text, sizeof text);
  return text;
}

std::vector<int> TabStopIds(HWND__* dialog) {
  std::vector<int> ids;
  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  for (HWND at = first; at != nullptr;) {
    ids.push_back(GetDlgCtrlID(at));
    at = GetNextDlgTabItem(dialog, at, FALSE);
    if (at == first || ids.size() > 100) break;
  }
  return ids;
}
