// Start-up's recovery of a session that died without the user's choice: the
// journal it left beside the book is offered for restoring, kept aside, or
// refused, and this session's journal begins. Everything here reaches files
// through store/journal_file; what cannot be used is never written to.
#pragma once

#include <functional>
#include <string>

#include "store/journal.h"
#include "store/journal_file.h"
#include "store/record_store.h"

struct JournalRecovery {
  RecordStore& store;             // loaded and locked for the session
  journal::FileSink& file;        // this session's journal file
  journal::Session& session;      // this session's journal
  // Tells the user, once, that this session's changes cannot be recovered.
  std::function<void(const std::string& reason)> tellJournalOff;

  // Reads what is at the journal's name and acts on it:
  //  - another Kestrel holds the book: its journal is left alone, and this
  //    session keeps none;
  //  - a link, FIFO, device, folder or another user's file: never read nor
  //    written; moved aside by its own name, and the user told so;
  //  - a journal of ours too large for the memory available, or with a
  //    damaged header: kept aside, and the user told so;
  //  - a journal of ours holding changes to the book as loaded: the user is
  //    asked whether to restore them; restored, they stay in the journal,
  //    which this session carries on; otherwise it is kept aside;
  //  - changes to a book that has changed since: kept aside, the user told.
  // Then this session's journal begins, unless an old one could not be moved
  // out of its way. Returns whether this session's journal is the one on disk.
  bool Run();

 private:
  bool Begin();
  // Moves what is at the journal's name aside; "" (the user told why) when it cannot.
  std::string MoveAside();
};
