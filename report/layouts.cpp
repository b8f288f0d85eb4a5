// The one entry of the layouts: the sheet's size and the layout chosen.
#include "report/layouts.h"

#include <utility>

#include "report/layout_parts.h"
#include "report/text_metrics.h"

namespace report {

PaperSize PortraitSize(Paper paper) {
  constexpr double kPointsPerMm = 72.0 / 25.4;
  if (paper == Paper::letter) return {8.5 * 72, 11 * 72};
  return {210 * kPointsPerMm, 297 * kPointsPerMm};
}

std::string PrintableText(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::string();
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  std::string printable(text);
  for (char& c : printable) c = PrintableByte(c);
  return printable;
}

namespace {
std::string JoinNames(std::string_view a, std::string_view separator, std::string_view b) {
  std::string first = PrintableText(a);
  std::string second = PrintableText(b);
  if (first.empty()) return second;
  if (!second.empty()) first.append(separator).append(second);
  return first;
}
}  // namespace

std::string ListName(const StudentRecord& record) {
  return JoinNames(record.field(lastName), ", ", record.field(firstName));
}

std::string FullName(const StudentRecord& record) {
  return JoinNames(record.field(firstName), " ", record.field(lastName));
}

TextRun Text(double x, double y, double size, Weight weight, std::string_view text) {
  std::string printable(text);
  for (char& c : printable) c = PrintableByte(c);
  return TextRun{x, y, size, weight, std::move(printable)};
}

Document LayOut(std::span<const StudentRecord* const> records, const ReportOptions& options) {
  Document document;
  document.paper = PortraitSize(options.paper);
  document.title = options.bookName;
  switch (options.layout) {
    case Layout::list:
      LayOutList(records, options, document);
      break;
    case Layout::labels:
      LayOutLabels(records, options, document);
      break;
    case Layout::cards:
      LayOutCards(records, options, document);
      break;
  }
  if (document.pages.empty()) document.pages.emplace_back();
  return document;
}

}  // namespace report
