// The Win32 side of CWnd and CDialog, for the backend's own sources: the
// window behind an object, and the private parts of a dialog.
#pragma once

#include "app/toolkit/cdialog.h"
#include "app/toolkit/win32/native.h"

namespace toolkit {

struct Access {
  static win32::Window Window(const CWnd& window);
  static void Attach(CWnd& window, win32::Window handle);
  static void DropItems(CWnd& window);  // forgets the GetDlgItem objects
  static const MessageMap* MapOf(const CWnd& window) { return window.GetMessageMap(); }
  static CMenu& SystemMenuOf(CDialog& dialog) { return dialog.systemMenu_; }
};

}  // namespace toolkit
