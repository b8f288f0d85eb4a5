// The text form of the book, which is what the data file compresses: one line
// per live record, each of the 17 fields followed by a tab, then a line feed.
// No header, no count, no escaping, no carriage return.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "store/student_record.h"

// Reads the 17 fields of `record` from `line` (without its line feed):
// field i is the text before the i-th tab, cut to 99 characters. A field of
// 100 or more characters keeps its first 99 and empties every later field of
// the line; a line with fewer than 17 tabs leaves the trailing fields empty;
// text after the 17th tab is ignored. `master` is left unchanged.
void ParseRecord(std::string_view line, StudentRecord& record);
StudentRecord ParseRecord(std::string_view line);

// Appends the text line of `record` to `out`, or nothing when it is deleted
// (IsEmpty). Each field is written up to its NUL, at most 99 characters; a
// tab or line feed inside a field is written as a space, since either would
// split the line differently when it is read back.
void WriteRecord(const StudentRecord& record, std::string& out);

// The text of the whole book: WriteRecord for each record in order.
std::string BookText(const RecordList& records);

// How many records ParseBookText makes of `text`: its line feeds, plus one
// for a last line without one.
std::size_t CountBookLines(std::string_view text);

// The records a book of `lines` lines is given room for as it loads: its
// own and those a session creates. Without the room, the first new record
// of a big book copies the whole book into twice its memory, a pause the
// user sees after "Save Changes".
std::size_t RecordsToReserve(std::size_t lines);

// Replaces `records` with one record per line of `text`, in order. Every
// line counts, however long (each field keeps its usual limit); an empty
// line gives an empty (deleted) record; a last line without a line feed is
// taken too. The records' memory is sized once, to RecordsToReserve(lines),
// unless `records` already has that room. A large text is parsed in two
// halves at once.
void ParseBookText(std::string_view text, RecordList& records);

// ParseBookText into `records` that hold only empty, unlinked records (as
// value-initialised ones are), however many: those are kept and filled in,
// extra ones dropped, missing ones made. Loading makes a book's empty
// records while its text is decoded.
void ParseBookTextIntoEmpty(std::string_view text, RecordList& records);
