// The book as comma-separated text: one column per field, named in a header
// row, UTF-8 (or Windows-1252) outside and Windows-1252 inside the records.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "store/student_record.h"
#include "tools/import_text.h"

namespace book_csv {

// The header names of the seventeen fields, in field order.
inline constexpr std::array<std::string_view, StudentRecord::kFieldCount> kColumnNames = {
    "student_no", "last_name", "first_name", "middle_name1", "middle_name2", "gender",
    "birthday",   "phone",     "email",      "cell_phone",   "parent_name",  "parent_phone",
    "address1",   "address2",  "address3",   "address4",     "address5"};

// The program's own labels of the fields, which a header may use as well.
inline constexpr std::array<std::string_view, StudentRecord::kFieldCount> kFieldLabels = {
    "Student #",  "Last Name",     "First Name",     "Middle Name1", "Middle Name2", "Gender",
    "Birthday",   "Phone",         "E-mail",         "Cell Phone",   "Parent's Name",
    "Parent's Phone", "Address 1", "Address 2",      "Address 3",    "Address 4",    "Address 5"};

// The field a header cell names, by its column name or the program's label,
// ignoring case, blanks and punctuation; kNoField for any other name.
inline constexpr int kNoField = -1;
int FieldOfColumn(std::string_view name);

// Why a header cell that names no field is refused, after its place.
std::string UnknownColumn(std::string_view name);

// Converts UTF-8 text to Windows-1252 into `out`. Returns false, with `why`
// set to "not valid UTF-8" or "character U+XXXX has no place in
// Windows-1252", when it cannot.
bool Utf8ToWindows1252(std::string_view utf8, std::string& out, std::string& why);

struct ExportOptions {
  char delimiter = ',';     // ',' or ';' for CSV, '\t' for tab-separated text
  bool bom = false;         // start with a UTF-8 byte-order mark
  bool safeCells = false;   // an apostrophe before a cell a spreadsheet would run as a formula
  bool windows1252 = false;  // the records' own bytes instead of UTF-8 (no byte-order mark)
};

// Appends the header row: the column names in field order, CRLF-terminated.
void AppendHeader(char delimiter, std::string& out);

// Appends one row of the record's seventeen fields, converted to UTF-8
// (unless `windows1252`), quoted where needed, CRLF-terminated. With
// `safeCells` a field starting with '=', '+', '-', '@', a tab or a CR gets an
// apostrophe in front.
void AppendRecordRow(const StudentRecord& record, char delimiter, std::string& out,
                     bool safeCells = false, bool windows1252 = false);

// The whole export: an optional byte-order mark, the header row, then one row
// per live record of `records` in order; deleted records are left out.
std::string ExportRecords(const RecordList& records, const ExportOptions& options);

using ImportOptions = import_text::ImportOptions;

struct ImportResult {
  bool ok = false;
  // When !ok: what was wrong and where, e.g.
  // "line 7, column 2 (last_name): longer than 99 bytes in Windows-1252 (104)".
  std::string error;
  std::size_t added = 0;       // records appended, one per row in file order
  std::size_t emptyRows = 0;   // rows whose fields were all empty, skipped
  std::size_t duplicates = 0;  // rows identical to a live record, skipped
};

// Reads records from a whole CSV file and appends them to `records`.
// Accepts UTF-8 with or without a byte-order mark, or Windows-1252 (see
// ImportOptions); CRLF, LF or (in a file without any LF) CR line ends;
// comma, semicolon or tab as the delimiter, found in the header row or named
// by Excel's first line "sep=X"; a header that names any of the seventeen
// columns once each, in any order, by its column name or the program's label,
// ignoring case, blanks and punctuation (columns it leaves out come out
// empty), and may end in columns without a name, which must stay empty. All
// or nothing: the first fault refuses the whole file, names its line and
// column, and leaves `records` as it was. Faults: no header row, UTF-16 or
// UTF-32 text, an unknown or repeated column, a malformed quote, a row with
// another number of fields than the header (its fields empty or not), and a
// field that the book cannot hold: invalid UTF-8, a character Windows-1252
// lacks, a tab, line break or NUL byte, or more than 99 bytes once
// converted. A blank line, or a row whose fields are all empty, is skipped
// and counted.
ImportResult ImportRecords(std::string_view fileBytes, RecordList& records,
                           const ImportOptions& options = {});

}  // namespace book_csv
