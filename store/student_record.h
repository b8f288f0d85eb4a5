// The one record type of the book: seventeen fixed 100-byte text fields and a
// link, copied whole wherever it goes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "store/huge_page_allocator.h"
#include "text/field_text.h"

// Field indexes. Operations run over fields 0 to 12 (the thirteen searchable
// fields, 12 standing for the whole address) or over all 17 by index.
enum FieldIndex : int {
  studentNo = 0,
  lastName = 1,
  firstName = 2,
  middleName1 = 3,
  middleName2 = 4,
  gender = 5,
  birthday = 6,
  phone = 7,
  email = 8,
  cellPhone = 9,
  parentName = 10,
  parentPhone = 11,
  address1 = 12,
  address2 = 13,
  address3 = 14,
  address4 = 15,
  address5 = 16,
};

struct StudentRecord {
  static constexpr int kFieldCount = 17;
  static constexpr int kSearchFieldCount = 13;
  static constexpr int kFieldSize = field_text::kMaxLength + 1;  // the text and its NUL

  // Windows-1252 text, NUL-terminated, at most 99 characters each (text/field_text.h).
  char fields[kFieldCount][kFieldSize] = {};

  // In a copy held in the search's matches: the book's record it was copied
  // from. In the new-record temporary: the record itself. Never read elsewhere.
  StudentRecord* master = nullptr;

  const char* field(int index) const { return fields[index]; }
  char* field(int index) { return fields[index]; }
};

// The book and the search's matches both hold records in one of these. Large
// lists live in huge pages: a book is touched for the first time as it loads.
using RecordList = std::vector<StudentRecord, HugePageAllocator<StudentRecord>>;

// Sets the first byte of each of the 17 fields to NUL; the link is kept.
void Clear(StudentRecord& record);

// True when every one of the 17 fields is empty: the record is deleted.
bool IsEmpty(const StudentRecord& record);

// "<Deleted Record>" for a deleted record, else "last, first: phone".
std::string RecordLabel(const StudentRecord& record);

// Appends RecordLabel(record) to out without a temporary; the match list
// sorts a whole book of labels and formats each only once.
void AppendRecordLabel(const StudentRecord& record, std::string& out);
