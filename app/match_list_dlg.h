// CMatchListDlg: the matches of a search as a sorted list of one-line labels,
// in which the user picks the record that browsing goes on from. Opening it
// sorts the application's matches, so item i of the list is match i.
#pragma once

#include "app/toolkit/afxwin.h"

class CMatchListDlg : public CDialog {
 public:
  // Ways the dialog ends (DoModal's result).
  static constexpr int kChosen = IDOK;   // the application's selIndex holds the choice
  static constexpr int kExit = IDCANCEL;  // "E&xit" or Escape; selIndex unchanged

  explicit CMatchListDlg(CWnd* parent = nullptr);
  ~CMatchListDlg() override;

  // Control 1015, bound at the start of every run; filled by the running
  // application's FillMatchList.
  CListBox listBox;

  BOOL OnInitDialog() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;

  // A double-click on an item, "&View Selected", and Enter: the selected
  // item's index goes to the application's selIndex, and the run ends with 1.
  void OnDblclkMatchList();
  void OnViewSelected();
  // Ctrl+P: prints the listed matches, in the list's order.
  void OnFilePrint();

  HICON icon = nullptr;

  DECLARE_MESSAGE_MAP()
};
