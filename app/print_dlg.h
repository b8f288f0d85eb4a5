// CPrintDlg: how to print the records chosen: the layout (a list, address
// labels or one card per record), whom the address labels are for, and how
// many labels of a partly used sheet to leave empty. The platform's own print
// dialog (printer, paper, copies) follows it.
#pragma once

#include "app/toolkit/afxwin.h"
#include "report/layouts.h"

class CPrintDlg : public CDialog {
 public:
  // Ways the dialog ends (DoModal's result).
  static constexpr int kPrint = IDOK;    // "&Print...": the choices below hold
  static constexpr int kPreview = 1033;  // "Pre&view...": the same, to see first
  static constexpr int kCancel = IDCANCEL;

  explicit CPrintDlg(CWnd* parent = nullptr);
  ~CPrintDlg() override;

  // Shown at the start of a run; the user's choices once it ends with
  // kPrint or kPreview.
  report::Layout layout = report::Layout::list;
  report::Addressee to = report::Addressee::student;
  int skipLabels = 0;
  // Whether to offer "Pre&view..." (the platform can show pages on screen).
  bool offerPreview = true;

  // The most labels a partly used sheet can ask to skip.
  static constexpr int kMaxSkip = 99;

  BOOL OnInitDialog() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;
  void OnPreview();

  CListBox layoutList;
  CListBox addresseeList;
  CString skipText;

 private:
  // Reads the controls into the choices; false, having told the user, when
  // the number of labels to skip is no whole number from 0 to kMaxSkip.
  bool TakeChoices();

  DECLARE_MESSAGE_MAP()
};
