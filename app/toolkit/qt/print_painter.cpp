// The report's drawing operations on a QPainter: points scaled to the
// printer's dots, Helvetica as Liberation Sans (the same widths) at the exact
// point size, Windows-1252 text turned into Unicode here at the edge.
#include "app/toolkit/qt/print_painter.h"

#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <type_traits>

#include "text/cp1252.h"

namespace toolkit {
namespace {

// Widths as the report measured them: no kerning, no hinting that would
// round each letter to the printer's dots.
QFont ReportFont(const report::TextRun& run) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::Helvetica, QFont::PreferOutline);
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setKerning(false);
  font.setPointSizeF(run.size);
  font.setBold(run.weight == report::Weight::bold);
  return font;
}

// The five bytes that Windows-1252 leaves undefined print as "?".
QString PrintedText(const std::string& cp1252Text) {
  QString text;
  text.reserve(static_cast<qsizetype>(cp1252Text.size()));
  for (const char byte : cp1252Text) {
    const char32_t c = cp1252::ToUnicode(static_cast<unsigned char>(byte));
    text += (c >= 0x80 && c < 0xA0) ? QChar(u'?') : QChar(static_cast<char16_t>(c));
  }
  return text;
}

class PagePainter {
 public:
  PagePainter(QPainter& painter, double dotsPerPoint) : painter_(painter), scale_(dotsPerPoint) {}

  void operator()(const report::TextRun& run) {
    painter_.setFont(ReportFont(run));
    painter_.drawText(QPointF(run.x * scale_, run.y * scale_), PrintedText(run.text));
  }
  void operator()(const report::Line& line) {
    painter_.setPen(Pen(line.width));
    painter_.drawLine(QPointF(line.x1 * scale_, line.y1 * scale_),
                      QPointF(line.x2 * scale_, line.y2 * scale_));
  }
  void operator()(const report::Frame& frame) {
    painter_.setPen(Pen(frame.width));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(
        QRectF(frame.x * scale_, frame.y * scale_, frame.w * scale_, frame.h * scale_));
  }

 private:
  QPen Pen(double widthInPoints) const {
    QPen pen(Qt::black);
    pen.setWidthF(widthInPoints * scale_);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
  }

  QPainter& painter_;
  double scale_;
};

}  // namespace

report::PaperSize PaperOf(const QPrinter& printer) {
  const QRectF sheet = printer.pageLayout().fullRect(QPageLayout::Point);
  return {sheet.width(), sheet.height()};
}

bool PaintDocument(QPrinter& printer, const report::Document& document,
                   const std::function<bool(int page)>& beforePage) {
  printer.setFullPage(true);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  painter.setRenderHint(QPainter::Antialiasing);
  // A font's point size already counts the printer's resolution; positions
  // and pens are in the painter's dots.
  PagePainter draw(painter, printer.resolution() / 72.0);
  const int count = static_cast<int>(document.pages.size());
  for (int i = 0; i < count; ++i) {
    if (beforePage && !beforePage(i)) {
      printer.abort();
      return false;
    }
    if (i > 0) printer.newPage();
    for (const report::DrawOp& op : document.pages[static_cast<std::size_t>(i)].ops) {
      std::visit(draw, op);
    }
  }
  return painter.end();
}

}  // namespace toolkit
