// The class list: one row per record under column heads repeated on every
// page, a title line above and "Page n of m" below.
#include <algorithm>
#include <array>
#include <string>

#include "report/layout_parts.h"
#include "report/text_metrics.h"
#include "text/form_labels.h"

namespace report {
namespace {

constexpr double kMargin = 36;
constexpr double kTitleSize = 12;
constexpr double kDateSize = 10;
constexpr double kCellSize = 9;
constexpr double kRowPitch = 13;
constexpr double kCellGap = 6;  // kept clear at the right of every cell

// A label of the form without its colon: "Student #".
std::string Head(const char* label) {
  std::string head = label;
  if (!head.empty() && head.back() == ':') head.pop_back();
  return head;
}

struct Column {
  std::string head;
  int field;     // -1: the name, "Last, First"
  double share;  // of the printable width
};

const std::array<Column, 7>& Columns() {
  static const std::array<Column, 7> columns = {{
      {"Name", -1, 0.20},
      {Head(form_labels::kStudentNo), studentNo, 0.10},
      {Head(form_labels::kBirthday), birthday, 0.10},
      {Head(form_labels::kPhone), phone, 0.14},
      {Head(form_labels::kCellPhone), cellPhone, 0.14},
      {Head(form_labels::kParentName), parentName, 0.18},
      {Head(form_labels::kParentPhone), parentPhone, 0.14},
  }};
  return columns;
}

}  // namespace

void LayOutList(Records records, const ReportOptions& options, Document& document) {
  if (options.landscape) std::swap(document.paper.width, document.paper.height);
  const double width = document.paper.width;
  const double height = document.paper.height;
  const double printable = width - 2 * kMargin;

  const double titleBaseline = kMargin + kTitleSize;
  const double headBaseline = titleBaseline + 2 * kRowPitch;
  const double headRule = headBaseline + 4;
  const double firstRow = headRule + kRowPitch;
  const double footBaseline = height - kMargin;
  const double lastRowLimit = footBaseline - 2 * kRowPitch;
  const auto rowsPerPage = static_cast<std::size_t>((lastRowLimit - firstRow) / kRowPitch) + 1;
  const std::size_t pageCount =
      std::max<std::size_t>(1, (records.size() + rowsPerPage - 1) / rowsPerPage);

  std::array<double, 7> left{};
  std::array<double, 7> room{};
  double x = kMargin;
  for (std::size_t c = 0; c < Columns().size(); ++c) {
    left[c] = x;
    room[c] = Columns()[c].share * printable - kCellGap;
    x += Columns()[c].share * printable;
  }

  const std::string search = options.searchText.empty() ? "All records" : options.searchText;
  const std::string date = PrintableText(options.date);
  const double dateWidth = TextWidth(date, Weight::regular, kDateSize);
  const std::string title = CutToWidth(
      PrintableText(options.bookName.empty() ? search : options.bookName + " \x97 " + search),
      Weight::bold, kTitleSize, printable - dateWidth - 2 * kCellGap);
  if (!options.bookName.empty()) document.title = options.bookName + " \x97 " + search;

  document.pages.reserve(pageCount);
  std::size_t next = 0;
  for (std::size_t n = 1; n <= pageCount; ++n) {
    Page& page = document.pages.emplace_back();
    const std::size_t rows = std::min(rowsPerPage, records.size() - next);
    page.ops.reserve(10 + Columns().size() * (rows + 1));
    page.ops.push_back(Text(kMargin, titleBaseline, kTitleSize, Weight::bold, title));
    page.ops.push_back(
        Text(width - kMargin - dateWidth, titleBaseline, kDateSize, Weight::regular, date));
    for (std::size_t c = 0; c < Columns().size(); ++c) {
      page.ops.push_back(Text(left[c], headBaseline, kCellSize, Weight::bold,
                              CutToWidth(Columns()[c].head, Weight::bold, kCellSize, room[c])));
    }
    page.ops.emplace_back(std::in_place_type<Line>,
                          Line{kMargin, headRule, width - kMargin, headRule, 0.75});

    for (std::size_t r = 0; r < rows; ++r, ++next) {
      const StudentRecord& record = *records[next];
      const double baseline = firstRow + static_cast<double>(r) * kRowPitch;
      for (std::size_t c = 0; c < Columns().size(); ++c) {
        const int field = Columns()[c].field;
        std::string cell = field < 0 ? ListName(record) : PrintableText(record.field(field));
        if (cell.empty()) continue;
        page.ops.push_back(Text(left[c], baseline, kCellSize, Weight::regular,
                                CutToWidth(cell, Weight::regular, kCellSize, room[c])));
      }
    }

    const std::string foot = "Page " + std::to_string(n) + " of " + std::to_string(pageCount);
    page.ops.push_back(Text((width - TextWidth(foot, Weight::regular, kCellSize)) / 2, footBaseline,
                            kCellSize, Weight::regular, foot));
  }
}

}  // namespace report
