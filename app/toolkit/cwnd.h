// CWnd: a window or a control of a running dialog, as the dialog code sees it.
// No Qt here: the window behind a CWnd is the toolkit's business. A CWnd that
// is not attached to a window (before a dialog runs, after it ends, or a
// control that was never bound) ignores every call and returns 0, FALSE or an
// empty text.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/toolkit/cstring.h"
#include "app/toolkit/message_map.h"
#include "app/toolkit/win_types.h"

class CDataExchange;
class CDialog;

struct CRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// A window's system menu: the commands the toolkit puts there ("&Close") and
// what the dialog appends. The toolkit shows it on a right-click on the
// dialog's background and on Alt+Space; a choice is sent as WM_SYSCOMMAND.
class CMenu {
 public:
  struct Item {
    UINT flags;  // MF_STRING or MF_SEPARATOR, possibly with MF_GRAYED
    UINT id;
    std::string text;  // Windows-1252, "&" marks the mnemonic
  };

  // Adds an item at the end. Returns FALSE, adding nothing, for a string item
  // without text.
  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr);
  const std::vector<Item>& Items() const { return items_; }
  void RemoveAll() { items_.clear(); }

 private:
  std::vector<Item> items_;
};

class CWnd {
 public:
  CWnd();
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // Non-null while a window is attached.
  HWND GetSafeHwnd() const { return hwnd_; }

  // nCmdShow SW_HIDE hides, SW_SHOW shows, SW_MINIMIZE / SW_RESTORE apply to a
  // dialog. Returns TRUE when the window was visible before.
  BOOL ShowWindow(int nCmdShow);
  // Returns TRUE when the window was disabled before.
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsIconic() const;  // a minimised dialog

  // The caption of a dialog, the text of a control.
  void SetWindowText(const char* text);
  void GetWindowText(CString& text) const;
  CString GetWindowText() const;

  // The control numbered id of this dialog, or nullptr when the dialog is not
  // running or has no such control. The object is the toolkit's and lives
  // until the dialog's window goes.
  CWnd* GetDlgItem(int id) const;
  void SetFocus();

  // The messages of the toolkit (see win_types.h), among them WM_NEXTDLGCTL,
  // WM_SETICON, WM_SYSCOMMAND, WM_COMMAND, EM_LIMITTEXT and the LB_ messages.
  // Returns the message's result; 0 for a message the window does not know.
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  // Modal message box owned by this window; a null caption is the program's
  // title. Returns the id of the chosen button (IDOK, IDCANCEL, IDYES, IDNO).
  int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);

  void GetClientRect(CRect* rect) const;
  // Sets the big or the small window icon; returns the one it replaces.
  HICON SetIcon(HICON icon, BOOL bigIcon);
  // The dialog's system menu, or nullptr when its template has none (or it is
  // not running). The menu is rebuilt at every run.
  CMenu* GetSystemMenu(BOOL revert);

  // Default processing, for handlers that pass a message on: SC_CLOSE sends
  // the command IDCANCEL; default painting; no drag icon.
  void OnSysCommand(UINT id, LPARAM lParam);
  void OnPaint();
  HCURSOR OnQueryDragIcon();

 protected:
  static const MessageMap* GetThisMessageMap();
  virtual const MessageMap* GetMessageMap() const;

 private:
  friend class CDialog;  // attaches its window and its controls for one run
  friend void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
  HWND hwnd_ = nullptr;
  mutable std::vector<std::unique_ptr<CWnd>> items_;  // handed out by GetDlgItem
};

// A device context for WM_PAINT handlers; draws only while the window is
// painting (inside OnPaint), and nothing otherwise.
class CPaintDC {
 public:
  explicit CPaintDC(CWnd* window);
  ~CPaintDC();
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;

  HDC GetSafeHdc() const { return m_hDC; }
  // Draws the big image of icon with its top-left corner at (x, y).
  BOOL DrawIcon(int x, int y, HICON icon);

  HDC m_hDC = nullptr;

 private:
  HWND window_ = nullptr;
};

// SM_CXICON and SM_CYICON: the size of a big icon, 32; 0 for other indexes.
int GetSystemMetrics(int index);
