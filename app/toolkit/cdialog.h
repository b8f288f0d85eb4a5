// CDialog: a modal dialog run from a template, with data exchange between its
// controls and the dialog object's members.
//
// A dialog class names its template, declares a message map and overrides the
// hooks it needs:
//
//   class CAboutDlg : public CDialog {
//    public:
//     CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
//    protected:
//     void DoDataExchange(CDataExchange* pDX) override;   // DDX_Text, DDX_Control rows
//     DECLARE_MESSAGE_MAP()
//   };
//
// Every DoModal builds the window afresh from the template (controls, ids,
// texts, styles, positions), calls OnInitDialog, runs until EndDialog and then
// destroys the window; the dialog object and its members stay.
#pragma once

#include <vector>

#include "app/toolkit/cwnd.h"

class CDialog;

namespace toolkit {
// The window of the innermost dialog running now, or nullptr: the owner of a
// dialog or message box opened without one.
HWND ActiveDialogWindow();
}  // namespace toolkit

// One exchange between a dialog's controls and its members.
class CDataExchange {
 public:
  CDataExchange(CDialog* dialog, BOOL saveAndValidate)
      : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
  BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
  CDialog* m_pDlgWnd;
};

// Edit control id <-> value. Saving copies the edit's text into value;
// loading puts value into the edit. Does nothing for a missing control.
void DDX_Text(CDataExchange* pDX, int id, CString& value);

// Attaches control, if not attached yet, to control id of the running dialog,
// so that calls on control act on it until the dialog's window goes.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;

  // Builds the window from the template, calls OnInitDialog, runs modally and
  // returns the code given to EndDialog. Returns -1 without showing anything
  // when the template does not exist, the toolkit is not started, or this
  // dialog is already running.
  virtual INT_PTR DoModal();

  // Ends the modal run with result; the window closes once the handler that
  // called it returns. Allowed in OnInitDialog, where it ends the run before
  // the window shows.
  void EndDialog(int result);

  // Runs DoDataExchange in one direction: TRUE saves controls into members,
  // FALSE fills controls from members. Returns FALSE when not running.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  // Fills the controls from the members (UpdateData(FALSE)). Returning TRUE
  // lets the toolkit put the focus on the first visible, enabled tab stop;
  // FALSE means the dialog has set the focus itself.
  virtual BOOL OnInitDialog();

 protected:
  // Command IDOK (the Enter key without a default button): ends with IDOK.
  virtual void OnOK();
  // Command IDCANCEL (Escape, the close box, a button numbered 2): ends with IDCANCEL.
  virtual void OnCancel();
  // The dialog's exchange table; the base exchanges nothing.
  virtual void DoDataExchange(CDataExchange* pDX);

  DECLARE_MESSAGE_MAP()

 private:
  friend class CWnd;
  friend void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
  class Events;
  // The system menu while the dialog runs with one, else nullptr.
  CMenu* RunningSystemMenu() { return hasSystemMenu_ ? &systemMenu_ : nullptr; }
  void Detach();

  UINT templateId_;
  CWnd* parent_;
  bool running_ = false;
  bool hasSystemMenu_ = false;
  CMenu systemMenu_;
  std::vector<CWnd*> boundControls_;  // by DDX_Control, released when the run ends
};
