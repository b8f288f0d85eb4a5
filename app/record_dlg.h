// CRecordDlg: one record in thirteen edits, for browsing the matches of a
// search ("Matching Record 3 of 7") or for typing a new record ("New Record").
// Every change is written twice: into the record shown and, through its
// master link, into the book's record it stands for.
#pragma once

#include <functional>
#include <string>

#include "app/toolkit/afxwin.h"
#include "store/student_record.h"

class CRecordDlg : public CDialog {
 public:
  // Ways the dialog ends (DoModal's result).
  static constexpr int kViewMatchingList = IDOK;  // browsing only
  static constexpr int kStartOver = IDCANCEL;     // "Start &Over" or Escape
  static constexpr int kNextRecord = 1020;        // "&Next Record", or a confirmed delete

  explicit CRecordDlg(CWnd* parent = nullptr);
  ~CRecordDlg() override;

  // Shows `shown` at the next run: the edits start from its fields 0-11 and
  // its address parts joined into one line. Changes go to `shown` and to
  // `shown->master` (the same record for a new one).
  void SetRecord(StudentRecord* shown);

  // The edits' texts by field index 0-12, 12 being the whole address line.
  CString texts[StudentRecord::kSearchFieldCount];
  // 0: a new record. Otherwise the first number of "Matching Record %d of %d".
  int position = 0;
  // The number of matches browsed; 1 for a single match or a new record.
  int count = 1;
  StudentRecord* record = nullptr;
  // A session on a book that another desk holds: the edits show the record
  // but take no typing, and "&Save Changes" and "&Delete Record" are disabled.
  bool readOnly = false;
  // Told of every change as it reaches the record's master ("&Save Changes",
  // "&Delete Record"), with the master; the program journals it.
  std::function<void(const StudentRecord& master)> changed;
  // Ctrl+P: prints the record as the edits show it, saved or not.
  std::function<void(const StudentRecord& shown)> print;

  BOOL OnInitDialog() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  // "&View Matching List" while browsing; Enter without a default button
  // (a new record) moves the focus on instead.
  void OnOK() override;
  // "Start &Over" and Escape; a new record asks "Save and exit?" first.
  void OnCancel() override;

  void OnNextRecord();
  void OnDeleteRecord();
  void OnSaveChanges();
  void OnFilePrint();

  HICON icon = nullptr;

 private:
  // Copies the edits into the shown record and its master, unless both
  // names are empty and the user does not answer Yes to storing the record
  // anyway; then neither record changes.
  void SaveTexts();
  // The Address edit takes only a line that the five address parts can
  // hold: an edit that would make it longer is undone.
  void OnChangeAddress();
  std::string acceptedAddress_;

  DECLARE_MESSAGE_MAP()
};
