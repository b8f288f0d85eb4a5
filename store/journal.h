// The session journal, "<book>.journal": every change a session makes to the
// book in memory, appended and synced as it is made, so that a session that
// dies before "Save and Exit" can be replayed onto the same book at the next
// start. The book file itself is written exactly as without a journal.
//
// Layout (integers little-endian; crc is CRC-32 of the bytes before it in
// the same header or entry):
//   journal := header entry*
//   header  := magic:"KESTRELJ" version:u8=1 stamp crc:u32
//   stamp   := exists:u8 volume:u64 file:u64 size:i64 mtimeSeconds:i64 mtimeNanoseconds:i64
//   entry   := bodySize:u16 body crc:u32
//   body    := position:u32 field{17}
//   field   := length:u8 (0 to 99) byte{length}
// An entry's position is the index of the book's record it sets, or the
// number of records (the record is appended). A deleted record is an entry
// of seventeen empty fields. A last entry cut short or failing its crc was
// torn by the crash and is ignored, with anything after it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/platform/platform.h"
#include "store/student_record.h"

namespace journal {

struct Entry {
  std::uint32_t position = 0;
  StudentRecord record;  // the fields to set; the link is unused
};

std::string EncodeHeader(const platform::FileStamp& book);
std::string EncodeEntry(std::uint32_t position, const StudentRecord& record);

struct Contents {
  bool headerValid = false;  // false: not a journal, or torn before its header was whole
  platform::FileStamp book;          // the book's stamp when the session loaded it
  std::vector<Entry> entries;
  std::size_t entryBytes = 0;  // bytes of the whole entries, after the header
  bool tornTail = false;       // bytes after the last whole entry were ignored
};

// Reads a journal's bytes: the header and every whole entry up to the first
// torn or damaged one. Each entry becomes a whole record: for journals known
// to be small; recovery reads with Summarize and ReplayEntries instead.
Contents Parse(std::string_view bytes);

// Bytes of a journal's header, which is all a journal of no changes holds.
inline constexpr std::size_t kHeaderBytes = 54;

// What a journal holds, read entry by entry without keeping the entries, so
// that reading takes no memory beyond the bytes themselves.
struct Summary {
  bool headerValid = false;   // false: not a journal, or its header is damaged
  platform::FileStamp book;   // the book's stamp when that session loaded it
  std::size_t entries = 0;    // whole entries, up to the first torn or damaged one
  std::size_t fitting = 0;    // how many of them, from the first, apply to the book
  std::size_t recordsAfter = 0;  // the book's records once the fitting ones are applied
  std::size_t wholeBytes = 0;    // the header and the whole entries: all but a torn tail
};

// Summarizes the journal `bytes` for a book of `recordCount` records. The
// records after replaying are at most recordCount plus the entries present.
Summary Summarize(std::string_view bytes, std::size_t recordCount);

// Replay for a journal's bytes: applies its entries one at a time, each
// decoded as it is applied, and returns how many were applied. Room for
// the records it adds is made once, from the summary.
std::size_t ReplayEntries(std::string_view bytes, RecordList& records);

// Applies `entries` in order to `records`: sets the record at each position,
// or appends when the position is the number of records. Stops at the first
// entry whose position lies beyond the end (a journal of another book) and
// returns how many were applied.
std::size_t Replay(const std::vector<Entry>& entries, RecordList& records);

// How many of `entries`, from the first, Replay would apply to a book of
// `recordCount` records.
std::size_t Fitting(const std::vector<Entry>& entries, std::size_t recordCount);

// Where the journal's bytes go: a file in the program, memory in tests.
class Sink {
 public:
  virtual ~Sink() = default;
  // Makes the journal hold exactly `bytes`, durably, readable by its owner
  // alone. Returns "" or the system's words for the failure.
  virtual std::string Start(std::string_view bytes) = 0;
  // Adds `bytes` at the end and syncs them to disk. Returns "" or the
  // system's words for the failure.
  virtual std::string Append(std::string_view bytes) = 0;
  // Takes over the journal that is there already, cut to its first
  // `keepBytes` bytes (a torn tail dropped), for appending. Returns "" or
  // the system's words for the failure.
  virtual std::string Continue(std::uint64_t keepBytes) = 0;
};

// The journal of one session. After the first failure it writes nothing
// more: the session goes on without recovery, and failure() says why once.
class Session {
 public:
  explicit Session(Sink& sink) : sink_(sink) {}

  // Begins the journal of a session on the book with stamp `book`, carrying
  // over `carried` (changes restored from the previous session), which are
  // already in the book in memory.
  bool Begin(const platform::FileStamp& book, const std::vector<Entry>& carried = {});

  // Begins the journal of a session by carrying on the one a session that
  // died left, whose changes were restored: its header already names the
  // book as loaded, and its first `wholeBytes` bytes are kept.
  bool Continue(std::uint64_t wholeBytes);

  // Records that the book's record at `position` (or a new one, when
  // position is the number of records) now holds `record`.
  bool Record(std::size_t position, const StudentRecord& record);

  bool on() const { return on_; }
  // Why the journal went off, in the system's words; "" while it never failed.
  const std::string& failure() const { return failure_; }

 private:
  bool Fail(const std::string& reason);

  Sink& sink_;
  bool on_ = false;
  std::string failure_;
};

// "<book>.journal".
std::string PathFor(const std::string& bookPath);

}  // namespace journal
