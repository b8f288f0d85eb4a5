// Record operations that need nothing but the record: clearing, the deleted
// test and the one-line label of the match list.
#include "store/student_record.h"

#include <cstring>

namespace {
constexpr char kDeletedLabel[] = "<Deleted Record>";
}

void Clear(StudentRecord& record) {
  for (auto& field : record.fields) field[0] = '\0';
}

bool IsEmpty(const StudentRecord& record) {
  for (const auto& field : record.fields) {
    if (field[0] != '\0') return false;
  }
  return true;
}

void AppendRecordLabel(const StudentRecord& record, std::string& out) {
  if (IsEmpty(record)) {
    out += kDeletedLabel;
    return;
  }
  // Fields are bounded to 100 bytes; a field read from a damaged source may lack
  // its NUL, so never read past the field's end.
  auto append = [&out](const char* text) { out.append(text, strnlen(text, StudentRecord::kFieldSize)); };
  append(record.fields[lastName]);
  out += ", ";
  append(record.fields[firstName]);
  out += ": ";
  append(record.fields[phone]);
}

std::string RecordLabel(const StudentRecord& record) {
  std::string label;
  AppendRecordLabel(record, label);
  return label;
}
