// The second desk: a session on a book that another desk holds. It may
// search, view and print, never change the book; it writes no journal, no
// lock file and nothing else, and it reads the book again when the desk
// that holds it has saved.
#pragma once

#include "store/record_store.h"

namespace read_only {

// Asks whether to open the book of `store`, which another desk holds (its
// lock is busy), read-only, naming that desk. True when the user says Yes,
// the default; No ends the program.
bool AskToOpen(const RecordStore& store);

// Before a search: when the book on disk is no longer the one loaded (the
// other desk has saved since), reads it again, whole; a save replaces the
// file at once, so the read finds the old book or the new one. True when
// it read the book again.
bool CatchUp(RecordStore& store);

}  // namespace read_only
