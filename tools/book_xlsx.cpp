// Records to a workbook's sheet and back, through the checks every imported
// value passes.
#include "tools/book_xlsx.h"

#include <cstring>
#include <vector>

#include "text/cp1252.h"
#include "tools/duplicates.h"
#include "tools/xlsx_cell_ref.h"
#include "tools/xlsx_reader.h"
#include "tools/xlsx_writer.h"

namespace book_xlsx {

namespace {

constexpr char kSheetName[] = "Students";

std::string Where(int column, int row, int field) {
  std::string where = "cell " + xlsx::CellName(column, row);
  if (field != book_csv::kNoField) where += " (" + std::string(book_csv::kColumnNames[field]) + ")";
  return where;
}

}  // namespace

std::string ExportRecords(const RecordList& records) {
  xlsx::SheetWriter sheet(kSheetName, std::vector<std::string_view>(book_csv::kFieldLabels.begin(),
                                                                    book_csv::kFieldLabels.end()));
  std::vector<std::string> cells(StudentRecord::kFieldCount);
  std::vector<std::string_view> views(StudentRecord::kFieldCount);
  for (const StudentRecord& record : records) {
    if (IsEmpty(record)) continue;
    for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
      cells[f] =
          cp1252::ToUtf8({record.fields[f], strnlen(record.fields[f], StudentRecord::kFieldSize)});
      views[f] = cells[f];
    }
    sheet.AddRow(views);
  }
  return sheet.Finish();
}

book_csv::ImportResult ImportRecords(std::string_view fileBytes, RecordList& records,
                                     const import_text::ImportOptions& options) {
  book_csv::ImportResult result;
  const std::size_t before = records.size();
  duplicates::SameRecordFilter known;
  if (options.skipDuplicates) known.LearnLive(records);
  std::vector<int> fieldOfColumn;  // empty until the header is read
  std::string converted;
  std::string why;
  std::string error;

  auto onRow = [&](const xlsx::Row& row) {
    if (fieldOfColumn.empty()) {
      if (row.cells.empty()) return true;  // blank rows above the header
      bool seen[StudentRecord::kFieldCount] = {};
      fieldOfColumn.assign(row.cells.back().column + 1, book_csv::kNoField);
      for (const xlsx::Cell& cell : row.cells) {
        const int field = book_csv::FieldOfColumn(cell.text);
        if (field == book_csv::kNoField) {
          error = Where(cell.column, row.number, field) + ": " + book_csv::UnknownColumn(cell.text);
          return false;
        }
        if (seen[field]) {
          error = Where(cell.column, row.number, book_csv::kNoField) + ": column \"" + cell.text +
                  "\" named twice";
          return false;
        }
        seen[field] = true;
        fieldOfColumn[cell.column] = field;
      }
      return true;
    }
    if (row.cells.empty()) {
      ++result.emptyRows;
      return true;
    }
    StudentRecord& record = records.emplace_back();
    for (const xlsx::Cell& cell : row.cells) {
      const int field = cell.column < static_cast<int>(fieldOfColumn.size())
                            ? fieldOfColumn[cell.column]
                            : book_csv::kNoField;
      if (field == book_csv::kNoField) {
        error = Where(cell.column, row.number, field) + ": a value in a column without a name";
        return false;
      }
      if (!import_text::ToField(cell.text, import_text::Encoding::kUtf8, converted, why)) {
        error = Where(cell.column, row.number, field) + ": " + why;
        return false;
      }
      std::memcpy(record.fields[field], converted.data(), converted.size());
      record.fields[field][converted.size()] = '\0';
    }
    if (options.skipDuplicates && known.SeenBefore(record)) {
      records.pop_back();
      ++result.duplicates;
    }
    return true;
  };

  if (!xlsx::ReadFirstSheet(fileBytes, onRow, error)) {
    records.resize(before);
    result.error = std::move(error);
    return result;
  }
  if (fieldOfColumn.empty()) {
    result.error = "the first sheet is empty: no header row";
    return result;
  }
  result.added = records.size() - before;
  result.ok = true;
  return result;
}

}  // namespace book_xlsx
