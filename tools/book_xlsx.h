// The book as a workbook: one sheet, a header row of the program's labels,
// every cell text. Import reads the first sheet of any workbook with the
// header mapping, checks and all-or-nothing rule of the CSV import.
#pragma once

#include <string>
#include <string_view>

#include "store/student_record.h"
#include "tools/book_csv.h"

namespace book_xlsx {

// The live records of `records`, in order, as a workbook's bytes.
std::string ExportRecords(const RecordList& records);

// Appends the rows of the first sheet of the workbook `fileBytes` to
// `records`. The first row with any text is the header: each cell names a
// field as a CSV header does, and an empty header cell a column that must
// stay empty. Cells are read as the sheet shows them: text, numbers as
// written, dates as YYYY-MM-DD. All or nothing, as book_csv::ImportRecords:
// the first fault refuses the whole workbook, names its cell ("cell C7
// (first_name): ...") and leaves `records` as it was. The text is always
// UTF-8; `options.encoding` does not apply.
book_csv::ImportResult ImportRecords(std::string_view fileBytes, RecordList& records,
                                     const import_text::ImportOptions& options = {});

}  // namespace book_xlsx
