// Records to CSV rows and back, with every check a row must pass before the
// book takes it.
#include "tools/book_csv.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "text/cp1252.h"
#include "tools/csv.h"
#include "tools/duplicates.h"

namespace book_csv {

namespace {

std::string Where(int line, int column, std::string_view name) {
  std::string where = "line " + std::to_string(line);
  if (column > 0) where += ", column " + std::to_string(column);
  if (!name.empty()) where += " (" + std::string(name) + ")";
  return where;
}

// A header name as matching sees it: letters and digits only, in lower case,
// so "Parent's Phone", "parent_phone" and "PARENT PHONE" are one name.
std::string HeaderKey(std::string_view name) {
  std::string key;
  for (char c : name) {
    const auto b = static_cast<unsigned char>(c);
    if (std::isalnum(b)) key += static_cast<char>(std::tolower(b));
  }
  return key;
}

// Maps each column of the header to its field, kNoField for the columns
// without a name that end it; returns false with `error` set on an unknown
// or repeated name.
bool ReadHeader(const std::vector<std::string>& header, int line, std::vector<int>& fieldOfColumn,
                std::string& error) {
  std::size_t named = header.size();
  while (named > 1 && header[named - 1].empty()) --named;
  if (named == 1 && header[0].empty()) named = header.size();  // nothing named at all
  bool seen[StudentRecord::kFieldCount] = {};
  for (std::size_t c = 0; c < header.size(); ++c) {
    if (c >= named) {
      fieldOfColumn.push_back(kNoField);
      continue;
    }
    const int column = static_cast<int>(c) + 1;
    const int field = FieldOfColumn(header[c]);
    if (field == kNoField) {
      error = Where(line, column, "") + ": " + UnknownColumn(header[c]);
      return false;
    }
    if (seen[field]) {
      error = Where(line, column, "") + ": column \"" + header[c] + "\" named twice";
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

// A cell that a spreadsheet would take for a formula (or, after a tab or CR,
// strip to one).
bool RunsAsFormula(std::string_view cell) {
  return !cell.empty() && std::strchr("=+-@\t\r", cell[0]) != nullptr;
}

}  // namespace

int FieldOfColumn(std::string_view name) {
  const std::string key = HeaderKey(name);
  if (key.empty()) return kNoField;
  for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
    if (HeaderKey(kColumnNames[f]) == key || HeaderKey(kFieldLabels[f]) == key) return f;
  }
  if (key == "studentnumber") return studentNo;  // as people write "Student #" out
  return kNoField;
}

std::string UnknownColumn(std::string_view name) {
  return "unknown column \"" + std::string(name) +
         "\"; the columns are student_no, last_name, first_name, middle_name1, "
         "middle_name2, gender, birthday, phone, email, cell_phone, parent_name, "
         "parent_phone, address1 to address5, or the program's labels (Student #, "
         "Last Name, First Name, Middle Name1, Middle Name2, Gender, Birthday, Phone, "
         "E-mail, Cell Phone, Parent's Name, Parent's Phone, Address 1 to Address 5); "
         "case, blanks and punctuation do not matter";
}

bool Utf8ToWindows1252(std::string_view utf8, std::string& out, std::string& why) {
  return import_text::ToWindows1252(utf8, import_text::Encoding::kUtf8, out, why);
}

void AppendHeader(char delimiter, std::string& out) {
  const std::vector<std::string_view> names(kColumnNames.begin(), kColumnNames.end());
  csv::AppendRow(names, delimiter, out);
}

void AppendRecordRow(const StudentRecord& record, char delimiter, std::string& out,
                     bool safeCells, bool windows1252) {
  for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
    if (f > 0) out += delimiter;
    const std::string_view text(record.fields[f], strnlen(record.fields[f], StudentRecord::kFieldSize));
    std::string cell = windows1252 ? std::string(text) : cp1252::ToUtf8(text);
    if (safeCells && RunsAsFormula(cell)) cell.insert(0, 1, '\'');
    csv::AppendField(cell, delimiter, out);
  }
  out += csv::kLineEnd;
}

std::string ExportRecords(const RecordList& records, const ExportOptions& options) {
  std::string out;
  if (options.bom) out += csv::kUtf8Bom;
  AppendHeader(options.delimiter, out);
  for (const StudentRecord& record : records) {
    if (!IsEmpty(record)) {
      AppendRecordRow(record, options.delimiter, out, options.safeCells, options.windows1252);
    }
  }
  return out;
}

ImportResult ImportRecords(std::string_view fileBytes, RecordList& records,
                           const ImportOptions& options) {
  ImportResult result;
  if (const std::string_view form = import_text::WideUnicodeForm(fileBytes); !form.empty()) {
    result.error = "line 1: the file is " + std::string(form) + " text; save it as CSV in UTF-8";
    return result;
  }
  bool hadBom = false;
  std::string_view text = import_text::StripUtf8Bom(fileBytes, &hadBom);
  const import_text::Encoding encoding = import_text::Resolve(options.encoding, text, hadBom);

  char delimiter = ',';
  int firstLine = 1;
  if (const std::size_t skip = csv::SeparatorLine(text, &delimiter); skip > 0) {
    text.remove_prefix(skip);
    firstLine = 2;
  }
  const csv::LineEnds ends = csv::DetectLineEnds(text);
  csv::Fault fault;
  if (firstLine == 1 && !csv::DetectDelimiter(text, &delimiter, &fault, ends)) {
    result.error = Where(fault.line, fault.column, "") + ": " + fault.message;
    return result;
  }
  csv::Reader reader(text, delimiter, ends, firstLine);
  std::vector<std::string> fields;
  auto readFault = [&]() {
    const csv::Fault& f = reader.fault();
    return Where(f.line, f.column, "") + ": " + f.message;
  };

  switch (reader.ReadRow(fields)) {
    case csv::Reader::Status::kEnd:
      result.error = Where(firstLine, 0, "") + ": no header row; the file is empty";
      return result;
    case csv::Reader::Status::kFault:
      result.error = readFault();
      return result;
    case csv::Reader::Status::kRow:
      break;
  }
  std::vector<int> fieldOfColumn;
  if (!ReadHeader(fields, firstLine, fieldOfColumn, result.error)) return result;

  // No room is reserved by the count of lines: a file of blank lines would
  // ask for 1.7 KB per line. The book grows as rows come, so it never holds
  // more than about twice the records it ends with.
  const std::size_t before = records.size();
  auto refuse = [&](std::string error) {
    records.resize(before);
    result.error = std::move(error);
    return result;
  };
  duplicates::SameRecordFilter known;
  if (options.skipDuplicates) known.LearnLive(records);
  std::string converted;
  std::string why;
  for (;;) {
    const csv::Reader::Status status = reader.ReadRow(fields);
    if (status == csv::Reader::Status::kEnd) break;
    if (status == csv::Reader::Status::kFault) return refuse(readFault());
    const bool blankLine = fields.size() == 1 && fields[0].empty();
    if (blankLine || (AllEmpty(fields) && fields.size() == fieldOfColumn.size())) {
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
      const int column = static_cast<int>(c) + 1;
      if (field == kNoField) {
        if (fields[c].empty()) continue;
        return refuse(Where(reader.FieldLine(c), column, "") +
                      ": a value in a column without a name");
      }
      if (!import_text::ToField(fields[c], encoding, converted, why)) {
        return refuse(Where(reader.FieldLine(c), column, kColumnNames[field]) + ": " + why);
      }
      std::memcpy(record.fields[field], converted.data(), converted.size());
      record.fields[field][converted.size()] = '\0';
    }
    if (options.skipDuplicates && known.SeenBefore(record)) {
      records.pop_back();
      ++result.duplicates;
    }
  }
  result.added = records.size() - before;
  result.ok = true;
  return result;
}

}  // namespace book_csv
