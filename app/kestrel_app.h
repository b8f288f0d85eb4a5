// CKestrelApp: the program object. It owns the book, the matches of the last
// search and the three dialogs, and its InitInstance is the whole run: load
// the book, then show the main form again and again and carry out the
// command it ends with (search, create a record, save and exit, discard).
#pragma once

#include <array>
#include <cstdint>
#include <future>
#include <string>

#include "app/match_list_dlg.h"
#include "app/record_dlg.h"
#include "app/search_dlg.h"
#include "app/toolkit/afxwin.h"
#include "store/journal.h"
#include "store/journal_file.h"
#include "store/record_store.h"

class CKestrelApp : public CWinApp {
 public:
  // The book is `dataFile`, "phone.dat" of the current folder for the program.
  explicit CKestrelApp(const char* dataFile = "phone.dat");
  ~CKestrelApp() override;

  // Loads the book, offers to restore the changes of a session that ended
  // without the user's choice, and runs the main loop until the user leaves.
  // Returns FALSE on every path, so that the toolkit then ends the process.
  // The data file is written only on "Save and E&xit" answered Yes, and only
  // replaced when the save succeeds; a failed save returns to the main form.
  // Every change of the session goes to the journal "<data file>.journal"
  // as it is made; the journal is removed when the user saves or discards,
  // and stays behind whenever the process ends any other way.
  BOOL InitInstance() override;

  // Begins loading the book on a thread of its own, so that it loads while
  // the toolkit starts; InitInstance waits for it. A load that meets any
  // problem at all is done again by InitInstance, after the toolkit has set
  // the user's language, so that its messages are the ones it always gave.
  void PrepareInstance() override;

  // Appends to the (empty) matches a copy of every live record of the book
  // that holds each of searchDlg.criteria in its field, ignoring case; each
  // copy's master points at its record in the book.
  void SearchBook();

  // Lets the user walk the matches (at least one) through the match list and
  // the record dialog; returns when either ends with "Start &Over", "E&xit"
  // or Escape. Edits and deletes are in the book by then.
  void BrowseMatches();

  // Sorts the matches by label and lists one label per match in
  // matchListDlg.listBox, so item i is match i. Called by the match list as
  // it opens.
  void FillMatchList();

  // Printing, each through the Print dialog and the platform's: the records
  // that the form's `texts` match (every record when all are empty), in the
  // match list's order; the matches as listed; one record's card.
  void PrintMatching(const std::array<std::string, StudentRecord::kSearchFieldCount>& texts);
  void PrintMatches();
  void PrintCard(const StudentRecord& shown);

  // Index into matches of the record picked in the match list.
  std::int32_t selIndex = 0;
  RecordStore store;
  RecordList matches;
  CSearchDlg searchDlg;
  CRecordDlg recordDlg;
  CMatchListDlg matchListDlg;

 private:
  // Loads the book, or finishes the load PrepareInstance began.
  void LoadBook();
  // Refuses a book that is no regular file or cannot fit in memory, then
  // locks the book for the session; when another desk holds it, asks
  // whether to open it read-only (default Yes). False: the program ends.
  bool OpenBookForSession();
  // Tells the user once that the data file could not be read whole.
  void ReportDamagedBook();
  // The create-a-record command: the record dialog on an empty record,
  // appended to the book unless it is still empty afterwards.
  void CreateRecord();
  // "Save and E&xit": true once the book is on disk. False, with the book
  // unchanged in memory, when the user chose not to replace a file that
  // changed on disk, or the save failed (the user was told why).
  bool SaveBook();
  // Offered when Save and Exit fails: writes the book to a file the user
  // chooses, leaving the book's own file as it was. True once a copy is on
  // disk; false when the user gives up, with the book unchanged in memory.
  bool SaveCopyElsewhere();

  // Start-up: reads a journal left behind, asks whether to restore it (or
  // says why it cannot be), and begins this session's journal.
  void RecoverJournal();
  // Journals a change of a record of the book, or of the new record.
  void JournalChange(const StudentRecord& changed);
  // Tells the user, once per session, that changes cannot be recovered.
  void TellJournalOff(const std::string& reason);
  // The session ends as the user chose: the journal goes.
  void EndJournal();
  // The book's name and the last search, for the list's title.
  std::string BookName() const;
  std::string LastSearch() const;

  journal::FileSink journalFile;
  journal::Session journal{journalFile};
  const StudentRecord* newRecord_ = nullptr;  // the record of the create-a-record dialog
  bool journalBegun_ = false;                 // this session's journal is the one on disk
  bool toldJournalOff_ = false;
  bool readOnly_ = false;  // another desk holds the book: search and view only
  std::future<void> loading_;  // the load PrepareInstance began
};
