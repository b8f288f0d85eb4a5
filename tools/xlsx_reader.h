// Reads the first sheet of a workbook (Office Open XML, as spreadsheet
// programs save .xlsx) row by row, every cell as the text it shows: shared
// and inline strings, numbers as written, dates as YYYY-MM-DD, TRUE and
// FALSE. Sizes are bounded throughout (see zip::Limits): a hostile file is
// refused with a message, never followed.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace xlsx {

struct Cell {
  int column = 0;    // from 0: A is 0
  std::string text;  // UTF-8, never empty
};

struct Row {
  int number = 0;           // from 1, as the sheet numbers it
  std::vector<Cell> cells;  // in column order; empty cells are left out
};

// Whether `bytes` start as a zip archive does, as every workbook does.
bool LooksLikeZip(std::string_view bytes);

// Hands each row of the first sheet of `workbook` to `onRow`, in order,
// rows without cells included. Returns true when the whole sheet was read,
// false when `onRow` returned false (`error` untouched) or when the
// workbook cannot be read (`error` says why, e.g. "xl/worksheets/sheet1.xml:
// cell B7 holds the error #DIV/0!").
bool ReadFirstSheet(std::string_view workbook, const std::function<bool(const Row&)>& onRow,
                    std::string& error);

// The date of a spreadsheet's day number `serial` as YYYY-MM-DD, counting
// from 1900 as Excel does (with its 29 February 1900) or, with `from1904`,
// from 1904. Empty when the number is no day from 1900 (or 1904) to 9999.
std::string DateOfSerial(double serial, bool from1904);

}  // namespace xlsx
