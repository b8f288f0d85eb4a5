// Address labels: the addressee and the address parts, as large as fits
// from 10 pt down to 7 pt, then cut; never outside the label's cell.
#include <algorithm>
#include <string>
#include <vector>

#include "report/label_sheet.h"
#include "report/layout_parts.h"
#include "report/text_metrics.h"

namespace report {

LabelSheet SheetOf(Paper paper) {
  constexpr double kMm = 72.0 / 25.4;
  constexpr double kInch = 72.0;
  if (paper == Paper::letter) {
    return {3, 10, 2.625 * kInch, 1 * kInch, 0.5 * kInch, 0.1875 * kInch, 2.75 * kInch, 1 * kInch};
  }
  return {3, 7, 63.5 * kMm, 38.1 * kMm, 15.15 * kMm, 7.2 * kMm, 66.04 * kMm, 38.1 * kMm};
}

namespace {

// The Helvetica faces' reach above and below the baseline (the font's
// bounding box), and the baseline-to-baseline step, per point of size.
constexpr double kAscent = 0.931;
constexpr double kDescent = 0.225;
constexpr double kLeading = 1.2;

double BlockHeight(std::size_t lines, double size) {
  return (kAscent + kDescent + kLeading * static_cast<double>(lines - 1)) * size;
}

std::vector<std::string> LabelLines(const StudentRecord& record, Addressee to) {
  std::vector<std::string> lines;
  std::string addressee = to == Addressee::parent ? PrintableText(record.field(parentName)) : "";
  if (addressee.empty()) addressee = FullName(record);
  lines.push_back(std::move(addressee));
  for (int part = address1; part <= address5; ++part) {
    std::string text = PrintableText(record.field(part));
    if (!text.empty()) lines.push_back(std::move(text));
  }
  return lines;
}

void LayOutLabel(const StudentRecord& record, Addressee to, double cellX, double cellY,
                 const LabelSheet& sheet, Page& page) {
  std::vector<std::string> lines = LabelLines(record, to);
  const double room = sheet.labelWidth - 2 * kLabelInsetX;
  const double tall = sheet.labelHeight - 2 * kLabelInsetY;

  double size = kLabelSmallestSize;
  for (double s = kLabelLargestSize; s >= kLabelSmallestSize; s -= 0.5) {
    const bool fitsDown = BlockHeight(lines.size(), s) <= tall;
    const bool fitsAcross = std::all_of(lines.begin(), lines.end(), [&](const std::string& line) {
      return TextWidth(line, Weight::regular, s) <= room;
    });
    if (fitsDown && fitsAcross) {
      size = s;
      break;
    }
  }
  while (lines.size() > 1 && BlockHeight(lines.size(), size) > tall) lines.pop_back();

  const double blockTop = cellY + (sheet.labelHeight - BlockHeight(lines.size(), size)) / 2;
  double baseline = blockTop + kAscent * size;
  for (const std::string& line : lines) {
    std::string fitted = CutToWidth(line, Weight::regular, size, room);
    if (!fitted.empty()) {
      page.ops.push_back(Text(cellX + kLabelInsetX, baseline, size, Weight::regular, fitted));
    }
    baseline += kLeading * size;
  }
}

}  // namespace

void LayOutLabels(Records records, const ReportOptions& options, Document& document) {
  const LabelSheet sheet = SheetOf(options.paper);
  const std::size_t skip =
      static_cast<std::size_t>(std::clamp(options.skipLabels, 0, sheet.cells() - 1));
  const auto cells = static_cast<std::size_t>(sheet.cells());
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::size_t slot = skip + i;
    if (slot % cells == 0 || document.pages.empty()) document.pages.emplace_back();
    const auto position = static_cast<int>(slot % cells);
    const double x = sheet.left + (position % sheet.columns) * sheet.columnPitch;
    const double y = sheet.top + (position / sheet.columns) * sheet.rowPitch;
    LayOutLabel(*records[i], options.to, x, y, sheet, document.pages.back());
  }
}

}  // namespace report
