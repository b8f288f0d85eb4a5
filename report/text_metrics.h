// Measuring text as every printed page measures it: with the standard
// Helvetica widths, whatever device draws it.
#pragma once

#include <string>
#include <string_view>

#include "report/page.h"

namespace report {

// "…" in Windows-1252: what ends a text cut to fit.
inline constexpr char kEllipsis = '\x85';

// The byte itself, or '?' for a byte that is no character in Windows-1252
// (the five undefined ones, the control characters and DEL).
char PrintableByte(char byte);

// The advance width of `byte` in thousandths of the font size.
int GlyphWidth(Weight weight, char byte);

// The width in points of `text` at `size` points.
double TextWidth(std::string_view text, Weight weight, double size);

// `text` if it fits in `width` points, else its longest beginning that fits
// with "…" after it (blanks before the "…" dropped); empty when not even
// the "…" fits.
std::string CutToWidth(std::string_view text, Weight weight, double size, double width);

}  // namespace report
