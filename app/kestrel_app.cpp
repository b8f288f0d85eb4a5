// The program's start-up, its main loop and the commands of the main form.
#include "app/kestrel_app.h"

#include <filesystem>
#include <future>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "app/journal_recovery.h"
#include "app/print_records.h"
#include "app/read_only_session.h"
#include "app/shown_path.h"
#include "app/toolkit/session_end.h"
#include "res/resources.h"
#include "search/browse_machine.h"
#include "search/find_matches.h"
#include "search/match_order.h"
#include "text/cp1252.h"

CKestrelApp::CKestrelApp(const char* dataFile)
    : store(dataFile), journalFile(journal::PathFor(dataFile)) {
  AfxSetResources(ProgramResources());
  recordDlg.changed = [this](const StudentRecord& record) { JournalChange(record); };
  recordDlg.print = [this](const StudentRecord& shown) { PrintCard(shown); };
  searchDlg.print = [this](const auto& texts) { PrintMatching(texts); };
}
CKestrelApp::~CKestrelApp() = default;

BOOL CKestrelApp::InitInstance() {
  AfxEnableControlContainer();
  Enable3dControls();
  LoadBook();
  if (!OpenBookForSession()) return FALSE;
  searchDlg.readOnly = recordDlg.readOnly = readOnly_;
  ReportDamagedBook();
  if (!readOnly_) RecoverJournal();  // the journal beside the book is the other desk's
  for (;;) {
    matches.clear();
    const INT_PTR command = searchDlg.DoModal();
    switch (command) {
      case CSearchDlg::kSearch:
        if (readOnly_) read_only::CatchUp(store);  // what the other desk saved meanwhile
        SearchBook();
        if (!matches.empty()) {
          BrowseMatches();
        } else {
          // The main form is closed by now: the box has no owner.
          searchDlg.MessageBox("Your search did not return any result.  Please try again",
                               "No Result", MB_ICONINFORMATION);
        }
        break;
      case CSearchDlg::kCreateNewRecord:
        CreateRecord();
        break;
      case CSearchDlg::kSaveAndExit:
        if (SaveBook()) {
          EndJournal();
          return FALSE;
        }
        break;
      case CSearchDlg::kDiscardAndExit:
        // A desktop logging out closes the form too; that is no choice of
        // the user's, so the journal stays to be offered at the next start.
        if (!AfxSessionEnding()) EndJournal();
        return FALSE;
      default:
        // The toolkit could not show the form at all; asking again would
        // fail the same way for ever.
        if (command < 0) return FALSE;
        break;
    }
  }
}

void CKestrelApp::PrepareInstance() {
  store.SetAnnounceBadChecksum(false);  // said by the load done again, if at all
  try {
    loading_ = std::async(std::launch::async, [this] { store.Load(); });
  } catch (const std::system_error&) {
    store.SetAnnounceBadChecksum(true);  // no thread: InitInstance loads it
  }
}

void CKestrelApp::LoadBook() {
  if (loading_.valid()) {
    loading_.get();
    store.SetAnnounceBadChecksum(true);
    const LoadProblem found = store.loadReport().problem;
    if (found == LoadProblem::kNone || found == LoadProblem::kNoFile) return;
  }
  store.Load();
}

bool CKestrelApp::OpenBookForSession() {
  const LoadReport& report = store.loadReport();
  if (report.problem == LoadProblem::kNotAFile || report.problem == LoadProblem::kTooLarge) {
    CString message;
    message.Format("The book \"%s\" cannot be opened: %s.", ShownPath(store.path().c_str()).c_str(),
                   report.reason.c_str());
    AfxMessageBox(message, MB_OK | MB_ICONSTOP);
    return false;
  }
  // Held until the program ends; the system lets it go if the program dies.
  const platform::BookLock& lock = store.Lock(platform::BookLock::Purpose::session);
  if (lock.status() != platform::BookLock::Status::busy) return true;
  readOnly_ = read_only::AskToOpen(store);
  return readOnly_;
}

void CKestrelApp::ReportDamagedBook() {
  const LoadReport& report = store.loadReport();
  if (!report.damaged) return;
  CString saving;  // read-only, the desk that holds the book is the one to save it
  if (!readOnly_) {
    saving.Format(
        "\n\nWhen you save, the damaged file will be kept beside the new one as a backup, "
        "named \"%s.bak\" (or .bak.1 and so on if that name is taken).",
        store.fileName);
  }
  CString message;
  message.Format(
      "The book \"%s\" could not be read whole (%s).  %zu record%s could be read from it.%s",
      ShownPath(store.path().c_str()).c_str(), report.reason.c_str(), report.recordsRead,
      report.recordsRead == 1 ? "" : "s", static_cast<const char*>(saving));
  AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
}

void CKestrelApp::CreateRecord() {
  StudentRecord fresh;
  Clear(fresh);
  fresh.master = &fresh;  // the dialog's write-through lands in the record itself
  recordDlg.SetRecord(&fresh);
  recordDlg.position = 0;
  recordDlg.count = 1;
  newRecord_ = &fresh;
  recordDlg.DoModal();
  newRecord_ = nullptr;
  recordDlg.record = nullptr;  // the temporary goes; the dialog must not point at it
  if (!IsEmpty(fresh)) store.Append(fresh);
}

bool CKestrelApp::SaveBook() {
  const std::string path = ShownPath(store.path().c_str());
  if (store.ChangedOnDisk()) {
    std::error_code error;
    const bool removed = !std::filesystem::exists(store.fileName, error) && !error;
    CString question;
    question.Format(
        removed ? "The book \"%s\" was removed by another program since Kestrel read it.\n\n"
                  "Write the book as you see it here?"
                : "The book \"%s\" was changed by another program since Kestrel read it.\n\n"
                  "Replace it with the book as you see it here?",
        path.c_str());
    if (AfxMessageBox(question, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return false;
  }
  const SaveResult saved = store.Save();
  if (saved.ok()) return true;
  CString message;
  message.Format(
      "The book could not be saved to \"%s\": %s.\n\n"
      "The file on disk is unchanged and your changes are still here.  "
      "Fix the cause, then choose Save and Exit again.\n\n"
      "Save the book to another file?",
      path.c_str(), saved.reason.c_str());
  if (AfxMessageBox(message, MB_YESNO | MB_ICONSTOP) != IDYES) return false;
  return SaveCopyElsewhere();
}

bool CKestrelApp::SaveCopyElsewhere() {
  for (;;) {
    // The current folder stays: it is where "phone.dat" is looked for at the
    // next Save and Exit.
    CFileDialog dialog(FALSE, "dat", "phone.dat",
                       OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR,
                       "Kestrel book (*.dat)|*.dat|All files (*.*)|*.*||");
    if (dialog.DoModal() != IDOK) return false;
    const SaveResult copied = store.SaveCopy(dialog.GetSystemPath());
    if (copied.ok()) return true;
    CString message;
    message.Format(
        "The book could not be saved to \"%s\": %s.\n\n"
        "Your changes are still here.  Save the book to another file?",
        dialog.GetPathName().GetString(), copied.reason.c_str());
    if (AfxMessageBox(message, MB_YESNO | MB_ICONSTOP) != IDYES) return false;
  }
}

void CKestrelApp::RecoverJournal() {
  JournalRecovery recovery{store, journalFile, journal,
                           [this](const std::string& reason) { TellJournalOff(reason); }};
  journalBegun_ = recovery.Run();
}

void CKestrelApp::JournalChange(const StudentRecord& changed) {
  const std::size_t position = &changed == newRecord_
                                   ? store.records.size()  // appended when its dialog closes
                                   : static_cast<std::size_t>(&changed - store.records.data());
  if (!journal.Record(position, changed)) TellJournalOff(journal.failure());
}

void CKestrelApp::TellJournalOff(const std::string& reason) {
  if (toldJournalOff_) return;
  toldJournalOff_ = true;
  CString message;
  message.Format(
      "Kestrel cannot keep its recovery file \"%s\" (%s).  You can go on working, but if "
      "Kestrel is not closed properly, the changes made since it started will be lost.",
      ShownPath(journalFile.path().c_str()).c_str(), reason.c_str());
  AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
}

void CKestrelApp::EndJournal() {
  journalFile.Close();
  if (journalBegun_) journal::Remove(journalFile.path());
}

void CKestrelApp::SearchBook() {
  SearchCriteria criteria;
  for (int k = 0; k < StudentRecord::kSearchFieldCount; ++k) {
    criteria.text[static_cast<std::size_t>(k)] = searchDlg.criteria[k].str();
  }
  FindMatches(store.records, criteria, matches);
}

void CKestrelApp::BrowseMatches() {
  browse::BrowseMachine machine(static_cast<int>(matches.size()));
  for (browse::Step step = machine.Next(); step.dialog != browse::Step::Dialog::kDone;
       step = machine.Next()) {
    if (step.dialog == browse::Step::Dialog::kMatchList) {
      const INT_PTR result = matchListDlg.DoModal();
      machine.OnListResult(static_cast<int>(result), selIndex);
    } else {
      recordDlg.SetRecord(&matches[static_cast<std::size_t>(step.element)]);
      recordDlg.position = step.position;
      recordDlg.count = step.count;
      machine.OnRecordResult(static_cast<int>(recordDlg.DoModal()));
    }
  }
  recordDlg.record = nullptr;
}

void CKestrelApp::FillMatchList() {
  const std::vector<std::string> labels = SortMatches(matches);
  for (const std::string& label : labels) matchListDlg.listBox.AddString(label.c_str());
}

std::string CKestrelApp::BookName() const {
  // By hand: the path is UTF-8 on every system, which std::filesystem on
  // Windows would read in the ANSI code page.
  const std::string& path = store.path();
  const std::size_t slash = path.find_last_of("/\\");
  return cp1252::FromUtf8(slash == std::string::npos ? path : path.substr(slash + 1)).text;
}

std::string CKestrelApp::LastSearch() const {
  SearchCriteria criteria;
  for (std::size_t k = 0; k < criteria.text.size(); ++k)
    criteria.text[k] = searchDlg.criteria[k].str();
  return report::DescribeSearch(criteria);
}

void CKestrelApp::PrintMatching(
    const std::array<std::string, StudentRecord::kSearchFieldCount>& texts) {
  SearchCriteria criteria;
  criteria.text = texts;
  // Pointers into the book, not copies: an empty form prints the whole book.
  std::vector<const StudentRecord*> found = FindMatchingRecords(store.records, criteria);
  if (found.empty()) {
    AfxMessageBox("No record matches the form, so there is nothing to print.",
                  MB_OK | MB_ICONINFORMATION);
    return;
  }
  SortByLabel(found);
  PrintRecords(PrintSource{std::move(found), report::DescribeSearch(criteria), BookName()},
               report::Layout::list);
}

void CKestrelApp::PrintMatches() {
  PrintSource source{{}, LastSearch(), BookName()};
  for (const StudentRecord& record : matches) source.records.push_back(&record);
  PrintRecords(source, report::Layout::list);
}

void CKestrelApp::PrintCard(const StudentRecord& shown) {
  PrintRecords(PrintSource{{&shown}, LastSearch(), BookName()}, report::Layout::cards);
}
