// A cell's place in a sheet as workbooks write it: "B7" is column 1 (from
// 0) of row 7 (from 1).
#pragma once

#include <string>
#include <string_view>

namespace xlsx {

// The most columns and rows a sheet may have.
inline constexpr int kMaxColumns = 16384;  // A to XFD
inline constexpr int kMaxRows = 1048576;

// "A" for 0, "Z" for 25, "AA" for 26.
std::string ColumnName(int column);

// "B7" for column 1 of row 7.
std::string CellName(int column, int row);

// Reads a reference "B7" into its column (from 0) and row (from 1). Returns
// false for anything else or a place outside a sheet's bounds.
bool ReadCellName(std::string_view name, int& column, int& row);

}  // namespace xlsx
