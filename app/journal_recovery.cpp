// Start-up's recovery of a session that died: what is at the journal's name
// is read through store/journal_file, and offered, kept aside or refused.
#include "app/journal_recovery.h"

#include <utility>

#include "app/shown_path.h"
#include "app/toolkit/afxwin.h"

namespace {

// Tells the user what was done with the old journal, in a box of its own.
void Tell(const CString& message) { AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION); }

}  // namespace

std::string JournalRecovery::MoveAside() {
  std::string reason;
  const std::string aside = journal::KeepAside(file.path(), reason);
  if (aside.empty()) tellJournalOff(reason);  // the old journal is not overwritten
  return aside;
}

bool JournalRecovery::Begin() {
  if (session.Begin(store.knownStamp())) return true;
  tellJournalOff(session.failure());
  return false;
}

bool JournalRecovery::Run() {
  const std::string path = file.path();
  // Opened anyway beside another Kestrel: the journal there is that
  // session's, alive; it is neither offered nor replaced.
  if (store.lock().status() == platform::BookLock::Status::busy) {
    tellJournalOff("it belongs to the other Kestrel that has the book open");
    return false;
  }
  journal::Left left = journal::ReadLeft(path);
  switch (left.status) {
    case journal::Left::Status::none:
      return Begin();
    case journal::Left::Status::unreadable:
      tellJournalOff(left.reason);  // a journal we cannot read is not overwritten
      return false;
    case journal::Left::Status::planted: {
      // Planted by someone who may write the folder: a link would lead the
      // journal onto another file, a FIFO would stall the start, another
      // user's file would carry changes of theirs.
      const std::string aside = MoveAside();
      if (aside.empty()) return false;
      CString message;
      message.Format("Kestrel found %s where it keeps its recovery file \"%s\", and did not use it.  "
                     "It has been renamed \"%s\".",
                     left.found.c_str(), ShownPath(path).c_str(), ShownPath(aside).c_str());
      Tell(message);
      return Begin();
    }
    case journal::Left::Status::tooLarge:
    case journal::Left::Status::read:
      break;
  }

  std::string refusal = left.reason;  // too large to read
  journal::Summary summary;
  if (left.status == journal::Left::Status::read) {
    if (left.bytes.empty()) {  // created, and the session died before its header was written
      if (const std::string failed = journal::Remove(path); !failed.empty()) {
        tellJournalOff(failed);
        return false;
      }
      return Begin();
    }
    summary = journal::Summarize(left.bytes, store.records.size());
    if (!summary.headerValid) {
      const std::string aside = MoveAside();
      if (aside.empty()) return false;
      CString message;
      message.Format("The recovery file \"%s\" that Kestrel found is damaged, and cannot be restored.  "
                     "It is kept in \"%s\".",
                     ShownPath(path).c_str(), ShownPath(aside).c_str());
      Tell(message);
      return Begin();
    }
    if (summary.entries == 0) {  // a session that changed nothing
      if (const std::string failed = journal::Remove(path); !failed.empty()) {
        tellJournalOff(failed);
        return false;
      }
      return Begin();
    }
    refusal = journal::ReplayRefusal(summary, store.records);
  }
  if (!refusal.empty()) {
    const std::string aside = MoveAside();
    if (aside.empty()) return false;
    CString message;
    message.Format("Kestrel was not closed properly, but its recovery file \"%s\" is too large to "
                   "restore: %s.  It is kept in \"%s\".",
                   ShownPath(path).c_str(), refusal.c_str(), ShownPath(aside).c_str());
    Tell(message);
    return Begin();
  }

  const std::size_t count = summary.entries;
  const bool sameBook = summary.book == store.knownStamp() && summary.fitting == count;
  if (sameBook) {
    CString question;
    question.Format(count == 1 ? "Kestrel was not closed properly. %zu change made in that session "
                                 "was not saved. Restore it?"
                               : "Kestrel was not closed properly. %zu changes made in that session "
                                 "were not saved. Restore them?",
                    count);
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES) {
      journal::ReplayEntries(left.bytes, store.records);
      left.bytes = std::string();
      // The journal already names the book as loaded and holds the restored
      // changes: this session carries it on, without its torn tail.
      if (session.Continue(summary.wholeBytes)) return true;
      tellJournalOff(session.failure());
      return false;
    }
  }
  std::string reason;
  const std::string aside = journal::KeepAside(path, reason);
  if (!sameBook) {
    CString message;
    message.Format("Kestrel was not closed properly, and the book \"%s\" has changed since.  "
                   "The %zu change%s made in that session cannot be restored onto it; "
                   "%s kept in \"%s\".",
                   ShownPath(store.fileName).c_str(), count, count == 1 ? "" : "s",
                   count == 1 ? "it is" : "they are", ShownPath(aside.empty() ? path : aside).c_str());
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
  }
  if (aside.empty()) {
    tellJournalOff(reason);  // the old journal is not overwritten
    return false;
  }
  return Begin();
}
