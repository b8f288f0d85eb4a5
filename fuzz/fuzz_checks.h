// What must hold for any input of the fuzz targets. The fuzzers and the
// corpus replay test both call these, so a finding replays without clang.
#pragma once

#include <string>
#include <string_view>

// Each check runs one path of the book over `input` and returns the first
// property that failed, in words naming it, or an empty string when every
// property held. A crash, a sanitizer report or a hang is a failure too, but
// one that the check cannot return.

// Decoding `input` as a whole data file, then reading the decoded text as a
// book (the load path): nothing is appended to what the output held before;
// a file without a trustworthy header or table gives nothing; the decoded
// bytes never outnumber what the payload present can hold at the shortest
// code length, nor what totalBits allows; the fast decoder and the
// bit-by-bit reference give the same bytes and the same report; a file found
// sound whose text matches its table encodes back to itself.
std::string CheckDecodeFile(std::string_view input);

// Reading `input` as the decoded text of a book: one record per line (no
// more, no fewer), every field NUL-terminated with at most 99 characters and
// equal to what the field rules give, and saving those records then loading
// the saved text gives the same live records.
std::string CheckLoadText(std::string_view input);

// Encoding the bytes of `input` (or, when it starts with the byte 0xFF, the
// runs it describes: see ExpandRuns) and decoding the file: the bytes come
// back exactly, the file is judged sound and has the size its counts and
// bits give, and the fast and reference engines write the same file.
std::string CheckRoundTrip(std::string_view input);

// Importing `input` as CSV, and as vCard: a refusal has a message and leaves
// the book as it was; an import appends `added` records, none empty, each
// field NUL-terminated and fit for a field (one line, at most 99
// characters); and the export of the records that came in imports again to
// the same records.
std::string CheckCsvImport(std::string_view input);
std::string CheckVCardImport(std::string_view input);

// The same for a workbook: `input` itself when it starts as a zip archive
// does ("PK"), else the workbook that WorkbookOfParts packs from it.
std::string CheckXlsxImport(std::string_view input);

// A workbook packed from XML parts, so that the fuzzer mutates the XML
// rather than the deflate streams and checksums around it: `parts` split at
// each line "=====" gives, in order, xl/workbook.xml, its relationships,
// xl/sharedStrings.xml, xl/styles.xml and xl/worksheets/sheet1.xml.
std::string WorkbookOfParts(std::string_view parts);

// Reading `input` as a session journal: the reader that keeps no entries
// (Summarize, ReplayEntries) and the one that keeps them all (Parse, Replay)
// agree on the header, the entries, the torn tail and what replaying onto a
// small book gives; replaying adds no more records than there are entries;
// every field read holds at most 99 bytes and its NUL; and the entries read
// encode back to a journal that reads the same.
std::string CheckJournal(std::string_view input);

// Expands a run description: after the first byte, each pair (value, n)
// stands for `value` repeated 2^(n % 17) times, up to 128 KiB in all. Skewed
// counts give the long codes (up to 17 bits) that short inputs never reach.
std::string ExpandRuns(std::string_view description);
