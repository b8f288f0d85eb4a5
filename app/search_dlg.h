// CSearchDlg: the main form. Thirteen edits, one per searchable field, and
// the buttons that end it with the command for the main loop to carry out.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "app/toolkit/afxwin.h"
#include "store/student_record.h"

class CSearchDlg : public CDialog {
 public:
  // Ways the form ends (DoModal's result).
  static constexpr int kSearch = IDOK;              // criteria hold the edits
  static constexpr int kCreateNewRecord = 1023;     // criteria unchanged
  static constexpr int kSaveAndExit = 1025;         // the user said Yes to saving
  static constexpr int kDiscardAndExit = IDCANCEL;  // "&Discard and Exit", Escape, Close

  explicit CSearchDlg(CWnd* parent = nullptr);
  ~CSearchDlg() override;

  // The texts of the last search, by field index 0-12 (12: the address). The
  // form shows them at every run; only "&Search Database" changes them.
  CString criteria[StudentRecord::kSearchFieldCount];
  // "&Print..." of the system menu, with the form's texts as they stand
  // (typed but not searched for), by field index; the program prints the
  // records they match. The criteria stay as they were.
  std::function<void(const std::array<std::string, StudentRecord::kSearchFieldCount>& texts)> print;
  // A session on a book that another desk holds: the caption says so, and
  // "&Create New Record" and "Save and E&xit" are disabled.
  bool readOnly = false;

  BOOL OnInitDialog() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  // Enter without a focused button moves the focus on, as Tab does.
  void OnOK() override;

  void OnSysCommand(UINT id, LPARAM lParam);
  void OnPaint();
  HCURSOR OnQueryDragIcon();
  void OnSearch();
  void OnSaveAndExit();
  void OnCreateNewRecord();

  HICON icon = nullptr;

  DECLARE_MESSAGE_MAP()
};
