// Writes a workbook of one sheet whose cells are all text: the first row a
// bold header that stays in view, the columns as wide as their text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace xlsx {

class SheetWriter {
 public:
  // `sheetName` names the sheet's tab; `header` is the first row, in UTF-8.
  SheetWriter(std::string_view sheetName, const std::vector<std::string_view>& header);

  // Adds a row of UTF-8 cells under the ones before; empty cells are left out.
  void AddRow(const std::vector<std::string_view>& cells);

  // The workbook's bytes (a zip archive). The writer is spent afterwards.
  std::string Finish();

 private:
  void AppendRow(const std::vector<std::string_view>& cells, int style);

  std::string sheetName_;
  std::string rows_;
  std::vector<std::size_t> widths_;  // in characters, per column
  int rowCount_ = 0;
};

// Appends `text` as the content of a text element: XML escapes, and the
// workbook's own escape _xHHHH_ for the control characters XML cannot hold
// (and for an underscore that would otherwise read as one).
void AppendCellText(std::string_view text, std::string& out);

}  // namespace xlsx
