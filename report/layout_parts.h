// What the three layouts share inside the report layer: paper sizes, the
// texts of a record as printed, and one function per layout.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "report/layouts.h"
#include "report/page.h"
#include "store/student_record.h"

namespace report {

// The sheet in points, portrait.
PaperSize PortraitSize(Paper paper);

// `text` with every byte that is no character made a "?", and blanks at
// either end dropped.
std::string PrintableText(std::string_view text);

// "Last, First"; one of the two alone when the other is empty.
std::string ListName(const StudentRecord& record);

// "First Last"; one of the two alone when the other is empty.
std::string FullName(const StudentRecord& record);

// A text run, its text made printable.
TextRun Text(double x, double y, double size, Weight weight, std::string_view text);

using Records = std::span<const StudentRecord* const>;
void LayOutList(Records records, const ReportOptions& options, Document& document);
void LayOutLabels(Records records, const ReportOptions& options, Document& document);
void LayOutCards(Records records, const ReportOptions& options, Document& document);

}  // namespace report
