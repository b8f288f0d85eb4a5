// Painting a report's pages with QPainter on a QPrinter, and the printer's
// paper in the report's points. print.cpp uses it behind the dialogs; tests
// paint into a PDF file with it.
#pragma once

#include <functional>

#include "report/page.h"

class QPrinter;

namespace toolkit {

// The whole sheet of the printer's paper in points, as the printer will
// print it: wider than tall when it prints landscape.
report::PaperSize PaperOf(const QPrinter& printer);

// Paints every page of `document` on `printer`, in points from the sheet's
// top-left corner (the printer is set to its full page). `beforePage` is
// asked before each page with its index; false stops the print and aborts
// the job. False when the printer could not be started or the print was
// stopped.
bool PaintDocument(QPrinter& printer, const report::Document& document,
                   const std::function<bool(int page)>& beforePage = {});

}  // namespace toolkit
