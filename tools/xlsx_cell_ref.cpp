// Cell references: letters for the column, digits for the row.
#include "tools/xlsx_cell_ref.h"

namespace xlsx {

std::string ColumnName(int column) {
  std::string name;
  for (int n = column + 1; n > 0; n = (n - 1) / 26) {
    name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
  }
  return name;
}

std::string CellName(int column, int row) { return ColumnName(column) + std::to_string(row); }

bool ReadCellName(std::string_view name, int& column, int& row) {
  std::size_t at = 0;
  int letters = 0;
  while (at < name.size() && name[at] >= 'A' && name[at] <= 'Z' && at < 3) {
    letters = letters * 26 + (name[at] - 'A' + 1);
    ++at;
  }
  if (at == 0 || letters > kMaxColumns) return false;
  if (at == name.size() || name.size() - at > 7 || name[at] == '0') return false;
  int number = 0;
  for (; at < name.size(); ++at) {
    if (name[at] < '0' || name[at] > '9') return false;
    number = number * 10 + (name[at] - '0');
  }
  if (number > kMaxRows) return false;
  column = letters - 1;
  row = number;
  return true;
}

}  // namespace xlsx
