// Matching the thirteen texts of the search form against the book: which live
// records hold every non-empty criterion, ignoring case, in its field.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "store/student_record.h"

// The thirteen texts of the search form, in field order: text[k] is compared
// with field k for k = 0 to 11, and text[12] with the address text of
// fields 12 to 16. Windows-1252 bytes, as typed: never trimmed.
struct SearchCriteria {
  std::array<std::string, StudentRecord::kSearchFieldCount> text;
};

// Appends to `matches` a copy of every live record of `book` that satisfies
// all criteria, in book order, each copy's `master` pointing at the record of
// `book` it was taken from. A criterion matches when, lower-cased with the
// Windows-1252 folding of cp1252::ToLower, it occurs as a contiguous substring
// of its lower-cased field; an empty criterion matches every record. Deleted
// records (all fields empty) never match. `matches` is not cleared first, and
// `book` is not changed; its records must outlive the copies' links, and it
// must not be resized while the copies are in use.
void FindMatches(RecordList& book, const SearchCriteria& criteria, RecordList& matches);

// The same records without copies: pointers into `book`, in book order, for
// a reader that changes nothing (printing a whole book costs no second book).
std::vector<const StudentRecord*> FindMatchingRecords(const RecordList& book,
                                                      const SearchCriteria& criteria);

// The address text that criterion 12 is compared with: the five address
// parts, each followed by one blank, so an empty part still adds its blank.
std::string AddressText(const StudentRecord& record);
