// What must hold when any bytes at all are read as a session journal left
// beside the book: the reader that keeps no entries and the one that keeps
// them all agree, replaying stays within its bound, and what was read
// encodes back to a journal that reads the same.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_checks.h"
#include "store/journal.h"
#include "store/student_record.h"

namespace {

bool Terminated(const StudentRecord& record) {
  for (const auto& field : record.fields) {
    if (std::memchr(field, '\0', StudentRecord::kFieldSize) == nullptr) return false;
  }
  return true;
}

bool SameFields(const StudentRecord& a, const StudentRecord& b) {
  for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
    if (std::strcmp(a.fields[f], b.fields[f]) != 0) return false;
  }
  return true;
}

// A small book for the entries to land on: three records, one of them empty.
RecordList SmallBook() {
  RecordList book(3);
  std::strcpy(book[0].fields[0], "Adams");
  std::strcpy(book[2].fields[1], "Brown");
  return book;
}

}  // namespace

std::string CheckJournal(std::string_view input) {
  if (input.empty()) input = {};
  const journal::Contents kept = journal::Parse(input);
  const RecordList book = SmallBook();
  const journal::Summary summary = journal::Summarize(input, book.size());
  if (summary.headerValid != kept.headerValid) return "the two readers disagree on the header";
  if (!kept.headerValid) {
    if (!kept.entries.empty() || summary.entries != 0) return "entries read without a header";
    return "";
  }
  if (summary.book != kept.book) return "the two readers read another book stamp";
  if (summary.entries != kept.entries.size()) return "the two readers count other entries";
  if (summary.wholeBytes != journal::kHeaderBytes + kept.entryBytes) return "whole bytes differ";
  if (kept.tornTail != (summary.wholeBytes < input.size())) return "torn tail misjudged";
  if (summary.fitting != journal::Fitting(kept.entries, book.size())) return "fitting differs";
  if (summary.recordsAfter > book.size() + summary.entries) return "records beyond the bound";
  for (const journal::Entry& entry : kept.entries) {
    if (!Terminated(entry.record)) return "an entry's field has no NUL within 99 bytes";
  }

  RecordList byBytes = SmallBook();
  RecordList byEntries = SmallBook();
  const std::size_t applied = journal::ReplayEntries(input, byBytes);
  if (applied != journal::Replay(kept.entries, byEntries)) return "the replays apply other counts";
  if (applied != summary.fitting) return "a replay applied other than the fitting entries";
  if (byBytes.size() != summary.recordsAfter) return "the book grew other than the summary said";
  if (byBytes.size() != byEntries.size()) return "the replays give other record counts";
  for (std::size_t k = 0; k < byBytes.size(); ++k) {
    if (!SameFields(byBytes[k], byEntries[k])) return "the replays give other records";
  }

  std::string again = journal::EncodeHeader(kept.book);
  for (const journal::Entry& entry : kept.entries) again += journal::EncodeEntry(entry.position, entry.record);
  const journal::Contents reread = journal::Parse(again);
  if (!reread.headerValid || reread.book != kept.book || reread.tornTail ||
      reread.entries.size() != kept.entries.size()) {
    return "the journal read does not encode back to one that reads the same";
  }
  for (std::size_t k = 0; k < kept.entries.size(); ++k) {
    if (reread.entries[k].position != kept.entries[k].position ||
        !SameFields(reread.entries[k].record, kept.entries[k].record)) {
      return "entry " + std::to_string(k) + " changed on encoding again";
    }
  }
  return "";
}
