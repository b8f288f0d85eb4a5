// Records to CSV rows and back, with every check a row must pass before the
// book takes it.
#include "tools/book_csv.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "text/cp1252.h"
#include "text/field_text.h"
#include "tools/csv.h"

namespace book_csv {

namespace {

constexpr int kNoField = -1;

std::string Where(int line, int column, std::string_view name) {
  std::string where = "line " + std::to_string(line);
  if (column > 0) where += ", column " + std::to_string(column);
  if (!name.empty()) where += " (" + std::string(name) + ")";
  return where;
}

// Converts one field to the book's encoding and checks that a record can hold
// it; on a fault returns false and sets `why`.
bool ConvertField(std::string_view utf8, std::string& converted, std::string& why) {
  why.clear();
  if (!Utf8ToWindows1252(utf8, converted, why)) return false;
  const field_text::Fault fault = field_text::Check(converted);
  if (fault == field_text::Fault::kNone) return true;
  why = field_text::Describe(fault, converted.size());
  return false;
}

int FieldOfColumn(std::string_view name) {
  for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
    if (kColumnNames[f] == name) return f;
  }
  return kNoField;
}

// Maps each column of the header to its field; returns false with `error` set
// on an unknown or repeated name.
bool ReadHeader(const std::vector<std::string>& header, std::vector<int>& fieldOfColumn,
                std::string& error) {
  bool seen[StudentRecord::kFieldCount] = {};
  for (std::size_t c = 0; c < header.size(); ++c) {
    const int column = static_cast<int>(c) + 1;
    const int field = FieldOfColumn(header[c]);
    if (field == kNoField) {
      error = Where(1, column, "") + ": unknown column \"" + header[c] +
              "\"; the columns are student_no, last_name, first_name, middle_name1, "
              "middle_name2, gender, birthday, phone, email, cell_phone, parent_name, "
              "parent_phone, address1 to address5";
      return false;
    }
    if (seen[field]) {
      error = Where(1, column, "") + ": column \"" + header[c] + "\" named twice";
      return false;
    }
    seen[field] = true;
    fieldOfColumn.push_back(field);
  }
  return true;
}

bool AllEmpty(const std::vector<std::string>& fields) {
  for (const std::string& field : fields) {
    if (!field.empty()) return false;
  }
  return true;
}

}  // namespace

bool Utf8ToWindows1252(std::string_view utf8, std::string& out, std::string& why) {
  cp1252::FromUtf8Result result = cp1252::FromUtf8(utf8);
  if (result.failure == cp1252::FromUtf8Result::Failure::kMalformed) {
    why = "not valid UTF-8";
    return false;
  }
  if (result.failure == cp1252::FromUtf8Result::Failure::kUnrepresentable) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(result.badChar));
    why = std::string("character ") + code + " has no place in Windows-1252";
    return false;
  }
  out = std::move(result.text);
  return true;
}

void AppendHeader(char delimiter, std::string& out) {
  const std::vector<std::string_view> names(kColumnNames.begin(), kColumnNames.end());
  csv::AppendRow(names, delimiter, out);
}

void AppendRecordRow(const StudentRecord& record, char delimiter, std::string& out) {
  for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
    if (f > 0) out += delimiter;
    const char* text = record.fields[f];
    csv::AppendField(cp1252::ToUtf8({text, strnlen(text, StudentRecord::kFieldSize)}), delimiter,
                     out);
  }
  out += csv::kLineEnd;
}

std::string ExportRecords(const RecordList& records, const ExportOptions& options) {
  std::string out;
  if (options.bom) out += csv::kUtf8Bom;
  AppendHeader(options.delimiter, out);
  for (const StudentRecord& record : records) {
    if (!IsEmpty(record)) AppendRecordRow(record, options.delimiter, out);
  }
  return out;
}

ImportResult ImportRecords(std::string_view fileBytes, RecordList& records) {
  ImportResult result;
  if (fileBytes.starts_with("\xFF\xFE") || fileBytes.starts_with("\xFE\xFF")) {
    result.error = "line 1: the file is UTF-16 text; save it as CSV in UTF-8";
    return result;
  }
  const std::string_view text = csv::StripBom(fileBytes);

  char delimiter = ',';
  csv::Fault fault;
  if (!csv::DetectDelimiter(text, &delimiter, &fault)) {
    result.error = Where(fault.line, fault.column, "") + ": " + fault.message;
    return result;
  }
  csv::Reader reader(text, delimiter);
  std::vector<std::string> fields;
  auto readFault = [&]() {
    const csv::Fault& f = reader.fault();
    return Where(f.line, f.column, "") + ": " + f.message;
  };

  switch (reader.ReadRow(fields)) {
    case csv::Reader::Status::kEnd:
      result.error = "line 1: no header row; the file is empty";
      return result;
    case csv::Reader::Status::kFault:
      result.error = readFault();
      return result;
    case csv::Reader::Status::kRow:
      break;
  }
  std::vector<int> fieldOfColumn;
  if (!ReadHeader(fields, fieldOfColumn, result.error)) return result;

  // No room is reserved by the count of lines: a file of blank lines would
  // ask for 1.7 KB per line. The book grows as rows come, so it never holds
  // more than about twice the records it ends with.
  const std::size_t before = records.size();
  auto refuse = [&](std::string error) {
    records.resize(before);
    result.error = std::move(error);
    return result;
  };
  std::string converted;
  std::string why;
  for (;;) {
    const csv::Reader::Status status = reader.ReadRow(fields);
    if (status == csv::Reader::Status::kEnd) break;
    if (status == csv::Reader::Status::kFault) return refuse(readFault());
    if (AllEmpty(fields)) {
      ++result.emptyRows;
      continue;
    }
    if (fields.size() != fieldOfColumn.size()) {
      const int column =
          fields.size() > fieldOfColumn.size() ? static_cast<int>(fieldOfColumn.size()) + 1 : 0;
      return refuse(Where(reader.RowLine(), column, "") + ": " + std::to_string(fields.size()) +
                    (fields.size() == 1 ? " field" : " fields") + " where the header has " +
                    std::to_string(fieldOfColumn.size()));
    }
    StudentRecord& record = records.emplace_back();
    for (std::size_t c = 0; c < fields.size(); ++c) {
      const int field = fieldOfColumn[c];
      if (!ConvertField(fields[c], converted, why)) {
        return refuse(Where(reader.FieldLine(c), static_cast<int>(c) + 1, kColumnNames[field]) +
                      ": " + why);
      }
      std::memcpy(record.fields[field], converted.data(), converted.size());
      record.fields[field][converted.size()] = '\0';
    }
  }
  result.added = records.size() - before;
  result.ok = true;
  return result;
}

}  // namespace book_csv
