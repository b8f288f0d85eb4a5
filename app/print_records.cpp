// From the records chosen in the dialogs to the platform's printer.
#include "app/print_records.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "app/print_dlg.h"
#include "app/toolkit/afxwin.h"
#include "app/toolkit/backend.h"

namespace {

// Today as the list's title prints it.
std::string Today() {
  const std::time_t now = std::time(nullptr);
  // The dialogs run on one thread: localtime's shared result is safe here.
  const std::tm* local = std::localtime(&now);
  char text[16] = {};
  if (local != nullptr) std::strftime(text, sizeof text, "%Y-%m-%d", local);
  return text;
}

// How far apart two sheets are, either way round.
double Distance(const report::PaperSize& a, double width, double height) {
  const double upright = std::hypot(a.width - width, a.height - height);
  const double turned = std::hypot(a.width - height, a.height - width);
  return std::min(upright, turned);
}

}  // namespace

report::Paper NearestPaper(const report::PaperSize& sheet) {
  const double a4 = Distance(sheet, 595.276, 841.890);
  const double letter = Distance(sheet, 612, 792);
  return letter < a4 ? report::Paper::letter : report::Paper::a4;
}

report::ReportOptions OptionsForSheet(report::ReportOptions chosen,
                                      const report::PaperSize& sheet) {
  chosen.paper = NearestPaper(sheet);
  chosen.landscape = chosen.layout == report::Layout::list && sheet.width > sheet.height;
  return chosen;
}

void PrintRecords(const PrintSource& source, report::Layout layout) {
  CPrintDlg choose;
  choose.layout = layout;
  choose.offerPreview = toolkit::backend::CanPreviewPrint();
  const INT_PTR chosen = choose.DoModal();
  if (chosen != CPrintDlg::kPrint && chosen != CPrintDlg::kPreview) return;

  report::ReportOptions options;
  options.layout = choose.layout;
  options.to = choose.to;
  options.skipLabels = choose.skipLabels;
  options.bookName = source.bookName;
  options.searchText = source.searchText;
  options.date = Today();
  toolkit::backend::PrintJob job;
  job.title = "Kestrel - " + source.bookName;
  job.layOut = [&](const report::PaperSize& sheet) {
    return report::LayOut(source.records, OptionsForSheet(options, sheet));
  };
  std::string failure;
  const toolkit::backend::PrintResult result = toolkit::backend::Print(
      toolkit::ActiveDialogWindow(), job, chosen == CPrintDlg::kPreview, failure);
  if (result == toolkit::backend::PrintResult::failed) {
    CString message;
    message.Format("The records could not be printed: %s.", failure.c_str());
    AfxMessageBox(message, MB_OK | MB_ICONSTOP);
  }
}
