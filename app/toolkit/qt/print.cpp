// Printing on Qt: Qt's print dialog (whose printers include a PDF file) or
// its print preview, then the pages painted with a progress dialog that can
// cancel a long print.
#include <QCoreApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <cstdlib>

#include "app/toolkit/backend.h"
#include "app/toolkit/qt/dialog_window.h"
#include "app/toolkit/qt/print_painter.h"
#include "app/toolkit/qt/qt_text.h"

namespace toolkit::backend {
namespace {

// Pages beyond which a print shows its progress.
constexpr int kPagesWithoutProgress = 3;

// A file the print dialog offers at first instead of a printer: set by the
// tests that drive the real program, so that its print lands in their folder.
void OfferTestOutputFile(QPrinter& printer) {
  const char* file = std::getenv("KESTREL_PRINT_FILE");
  if (file != nullptr && *file != '\0') printer.setOutputFileName(QString::fromLocal8Bit(file));
}

PrintResult PaintWithProgress(QPrinter& printer, const report::Document& document, QWidget* owner) {
  const int count = static_cast<int>(document.pages.size());
  if (count <= kPagesWithoutProgress) {
    return PaintDocument(printer, document) ? PrintResult::printed : PrintResult::failed;
  }
  QProgressDialog progress(owner);
  progress.setWindowTitle(QStringLiteral("Printing"));
  progress.setCancelButtonText(QStringLiteral("Cancel"));
  progress.setRange(0, count);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  bool cancelled = false;
  const bool done = PaintDocument(printer, document, [&](int page) {
    progress.setLabelText(QStringLiteral("Printing page %1 of %2").arg(page + 1).arg(count));
    progress.setValue(page);
    QCoreApplication::processEvents();
    cancelled = progress.wasCanceled();
    return !cancelled;
  });
  progress.setValue(count);
  if (cancelled) return PrintResult::cancelled;
  return done ? PrintResult::printed : PrintResult::failed;
}

}  // namespace

bool CanPreviewPrint() { return true; }

PrintResult Print(HWND owner, const PrintJob& job, bool preview, std::string& failure) {
  QWidget* ownerWidget = WidgetOf(owner);
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(ToQt(job.title));
  printer.setFullPage(true);
  OfferTestOutputFile(printer);
  if (preview) {
    QPrintPreviewDialog dialog(&printer, ownerWidget);
    bool painted = true;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&](QPrinter* target) {
      painted = PaintDocument(*target, job.layOut(PaperOf(*target))) && painted;
    });
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (!accepted) return PrintResult::cancelled;
    if (!painted) failure = "the printer could not be started";
    return painted ? PrintResult::printed : PrintResult::failed;
  }
  QPrintDialog dialog(&printer, ownerWidget);
  dialog.setWindowTitle(QStringLiteral("Print"));
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  if (dialog.exec() != QDialog::Accepted) return PrintResult::cancelled;
  const report::Document document = job.layOut(PaperOf(printer));
  const PrintResult result = PaintWithProgress(printer, document, ownerWidget);
  if (result == PrintResult::failed) {
    failure = printer.outputFileName().isEmpty()
                  ? "the printer could not be started"
                  : "\"" + FromQt(printer.outputFileName()) + "\" could not be written";
  }
  return result;
}

}  // namespace toolkit::backend
