// What must hold when any bytes at all are imported as CSV, vCard or a
// workbook: a
// refusal leaves the book as it was; an import appends only records that a
// field can hold whole, one line of at most 99 characters each; and the
// export of what came in, imported again, gives the same records.
#include <cstring>
#include <string>

#include "fuzz/fuzz_checks.h"
#include "store/student_record.h"
#include "text/field_text.h"
#include "tools/book_csv.h"
#include "tools/book_vcard.h"
#include "tools/book_xlsx.h"
#include "tools/xlsx_reader.h"
#include "tools/zip_writer.h"

namespace {

constexpr char kEarlier[] = "Earlier";

RecordList BookBefore() {
  RecordList book(1);
  std::strcpy(book[0].fields[lastName], kEarlier);
  return book;
}

std::string CheckAppended(const RecordList& book, std::size_t added) {
  if (book.size() != 1 + added) return "added is not the number of records appended";
  if (std::strcmp(book[0].fields[lastName], kEarlier) != 0) return "the book's record changed";
  for (std::size_t i = 1; i < book.size(); ++i) {
    if (IsEmpty(book[i])) return "an empty record was appended";
    for (const auto& field : book[i].fields) {
      if (std::memchr(field, '\0', StudentRecord::kFieldSize) == nullptr) {
        return "a field lacks its NUL";
      }
      if (field_text::Check(field) != field_text::Fault::kNone) {
        return "a field holds what a field may not: " + std::string(field);
      }
    }
  }
  return {};
}

std::string CheckSame(const RecordList& a, const RecordList& b) {
  if (a.size() != b.size()) return "the round trip changed the number of records";
  for (std::size_t i = 0; i < a.size(); ++i) {
    for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
      if (std::strcmp(a[i].fields[f], b[i].fields[f]) != 0) {
        return "the round trip changed field " + std::to_string(f) + " of record " +
               std::to_string(i) + ": " + a[i].fields[f] + " became " + b[i].fields[f];
      }
    }
  }
  return {};
}

// Runs `import` on `input`, checks the outcome, then exports what came in
// with `exportRecords` and imports that again.
template <typename Import, typename Export>
std::string CheckImport(std::string_view input, Import import, Export exportRecords) {
  RecordList book = BookBefore();
  const auto result = import(input, book);
  if (!result.ok) {
    if (book.size() != 1 || std::strcmp(book[0].fields[lastName], kEarlier) != 0) {
      return "a refused import changed the book";
    }
    return result.error.empty() ? "a refusal without a message" : "";
  }
  if (std::string failure = CheckAppended(book, result.added); !failure.empty()) return failure;
  const RecordList imported(book.begin() + 1, book.end());
  RecordList again;
  const auto back = import(exportRecords(imported), again);
  if (!back.ok) return "the export of imported records was refused: " + back.error;
  return CheckSame(imported, again);
}

}  // namespace

std::string CheckCsvImport(std::string_view input) {
  return CheckImport(
      input, [](std::string_view bytes, RecordList& book) { return book_csv::ImportRecords(bytes, book); },
      [](const RecordList& records) { return book_csv::ExportRecords(records, {}); });
}

std::string CheckVCardImport(std::string_view input) {
  return CheckImport(
      input,
      [](std::string_view bytes, RecordList& book) { return book_vcard::ImportRecords(bytes, book); },
      [](const RecordList& records) { return book_vcard::ExportRecords(records); });
}

std::string WorkbookOfParts(std::string_view parts) {
  static constexpr const char* kNames[] = {"xl/workbook.xml", "xl/_rels/workbook.xml.rels",
                                           "xl/sharedStrings.xml", "xl/styles.xml",
                                           "xl/worksheets/sheet1.xml"};
  constexpr std::string_view kSplit = "\n=====\n";
  zip::Writer zip;
  for (const char* name : kNames) {
    const std::size_t end = parts.find(kSplit);
    zip.Add(name, parts.substr(0, end));
    parts = end == std::string_view::npos ? std::string_view() : parts.substr(end + kSplit.size());
  }
  return zip.Finish();
}

std::string CheckXlsxImport(std::string_view input) {
  const std::string workbook = xlsx::LooksLikeZip(input) ? std::string(input) : WorkbookOfParts(input);
  return CheckImport(
      workbook,
      [](std::string_view bytes, RecordList& book) { return book_xlsx::ImportRecords(bytes, book); },
      [](const RecordList& records) { return book_xlsx::ExportRecords(records); });
}
