// Record cards for the emergency folder: two framed cards a page, every
// field under the form's own label, the address as its five lines.
#include <algorithm>
#include <string>

#include "report/layout_parts.h"
#include "report/text_metrics.h"
#include "text/form_labels.h"

namespace report {
namespace {

constexpr double kMargin = 36;
constexpr double kGap = 24;  // between the two cards of a page
constexpr double kPadding = 14;
constexpr double kNameSize = 14;
constexpr double kFieldSize = 11;
constexpr double kRowPitch = 17;

void LayOutCard(const StudentRecord& record, double x, double y, double w, double h, Page& page) {
  page.ops.emplace_back(std::in_place_type<Frame>, Frame{x, y, w, h, 1});
  const double room = w - 2 * kPadding;
  double baseline = y + kPadding + kNameSize;
  const std::string name = ListName(record);
  page.ops.push_back(Text(x + kPadding, baseline, kNameSize, Weight::bold,
                          CutToWidth(name, Weight::bold, kNameSize, room)));
  baseline += 8;
  page.ops.emplace_back(std::in_place_type<Line>,
                        Line{x + kPadding, baseline, x + w - kPadding, baseline, 0.5});
  baseline += kRowPitch + 2;

  double labelRoom = 0;
  for (const char* label : form_labels::kInFieldOrder) {
    labelRoom = std::max(labelRoom, TextWidth(label, Weight::bold, kFieldSize));
  }
  const double valueX = x + kPadding + labelRoom + 12;
  const double valueRoom = x + w - kPadding - valueX;
  for (int field = 0; field < StudentRecord::kFieldCount; ++field) {
    if (field <= address1) {
      page.ops.push_back(Text(x + kPadding, baseline, kFieldSize, Weight::bold,
                              form_labels::kInFieldOrder[field]));
    }
    const std::string value = PrintableText(record.field(field));
    if (!value.empty()) {
      page.ops.push_back(Text(valueX, baseline, kFieldSize, Weight::regular,
                              CutToWidth(value, Weight::regular, kFieldSize, valueRoom)));
    }
    baseline += kRowPitch;
  }
}

}  // namespace

void LayOutCards(Records records, const ReportOptions& /*options*/, Document& document) {
  const double w = document.paper.width - 2 * kMargin;
  const double h = (document.paper.height - 2 * kMargin - kGap) / 2;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (i % 2 == 0) document.pages.emplace_back();
    const double y = kMargin + static_cast<double>(i % 2) * (h + kGap);
    LayOutCard(*records[i], kMargin, y, w, h, document.pages.back());
  }
}

}  // namespace report
