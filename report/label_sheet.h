// The two sheets of address labels Kestrel prints on, in points: where each
// label's cell lies, and how far inside it the text keeps.
#pragma once

#include "report/layouts.h"

namespace report {

struct LabelSheet {
  int columns = 0;
  int rows = 0;
  double labelWidth = 0, labelHeight = 0;
  double top = 0, left = 0;              // the first cell's corner from the sheet's
  double columnPitch = 0, rowPitch = 0;  // from one cell's corner to the next
  int cells() const { return columns * rows; }
};

// A4: 3 x 7 labels of 63.5 x 38.1 mm. US Letter: 3 x 10 of 2.625 x 1 in.
LabelSheet SheetOf(Paper paper);

// Text keeps this far from a cell's left and right edges, and at least
// kLabelInsetY from its top and bottom.
inline constexpr double kLabelInsetX = 6;
inline constexpr double kLabelInsetY = 3;

// The label text's sizes: the largest that fits, not below the smallest.
inline constexpr double kLabelLargestSize = 10;
inline constexpr double kLabelSmallestSize = 7;

}  // namespace report
