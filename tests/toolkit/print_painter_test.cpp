// The Qt painter of printed pages, into a PDF file as Qt's print-to-file
// writes it, read back with pdftotext: every run's text, where it lands, and
// at Helvetica's widths.
#include "app/toolkit/qt/print_painter.h"

#include <QPageSize>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <string>
#include <vector>

#include "gtest/gtest.h"

namespace {

struct Word {
  int page;
  double xMin, yMin, xMax, yMax;
  QString text;
};

// What pdftotext -bbox reports: each word with its box, page by page.
std::vector<Word> WordsOf(const QString& pdf) {
  const std::string command = "pdftotext -bbox '" + pdf.toStdString() + "' -";
  std::string html;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char chunk[4096];
    for (std::size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) html.append(chunk, n);
    pclose(pipe);
  }
  std::vector<Word> words;
  int page = -1;
  static const QRegularExpression tag(
      QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                     "yMax=\"([\\d.]+)\">([^<]*)</word>"));
  for (auto it = tag.globalMatch(QString::fromUtf8(html)); it.hasNext();) {
    const auto m = it.next();
    if (m.captured(0).startsWith(QStringLiteral("<page"))) {
      ++page;
      continue;
    }
    words.push_back({page, m.captured(1).toDouble(), m.captured(2).toDouble(),
                     m.captured(3).toDouble(), m.captured(4).toDouble(), m.captured(5)});
  }
  return words;
}

bool HavePdfToText() { return std::system("pdftotext -v >/dev/null 2>&1") == 0; }

TEST(PrintPainterTest, EveryRunPrintsWhereTheDocumentPutsItAtHelveticaWidths) {
  if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
  struct Run {
    int page;
    report::TextRun run;
    QString printed;
    double width;  // from Helvetica's widths, in points
  };
  const std::vector<Run> runs = {
      {0, {72, 100, 10, report::Weight::regular, "Zo\xEB"}, QStringLiteral("Zo\u00EB"), 17.23},
      {0,
       {300.5, 412.25, 12, report::Weight::bold,
        "\x80"
        "5"},
       QStringLiteral("\u20AC5"),
       13.344},
      {0, {40, 770, 8, report::Weight::regular, "a\x81z"}, QStringLiteral("a?z"), 12.896},
      {1, {100, 200, 10, report::Weight::regular, "Second"}, QStringLiteral("Second"), 33.91},
  };
  report::Document document;
  document.paper = {612, 792};
  document.pages.resize(2);
  for (const Run& r : runs) {
    document.pages[static_cast<std::size_t>(r.page)].ops.emplace_back(
        std::in_place_type<report::TextRun>, r.run);
  }
  document.pages[0].ops.emplace_back(std::in_place_type<report::Line>, 72, 120, 540, 120, 1);
  document.pages[0].ops.emplace_back(std::in_place_type<report::Frame>, 36, 36, 540, 720, 0.5);

  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString pdf = folder.filePath(QStringLiteral("pages.pdf"));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  printer.setPageSize(QPageSize(QSizeF(612, 792), QPageSize::Point));
  const report::PaperSize sheet = toolkit::PaperOf(printer);
  EXPECT_NEAR(sheet.width, 612, 0.5);
  EXPECT_NEAR(sheet.height, 792, 0.5);
  std::vector<int> asked;
  ASSERT_TRUE(toolkit::PaintDocument(printer, document, [&](int page) {
    asked.push_back(page);
    return true;
  }));
  EXPECT_EQ(asked, (std::vector<int>{0, 1}));

  const std::vector<Word> words = WordsOf(pdf);
  ASSERT_EQ(words.size(), runs.size());
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const Run& r = runs[i];
    const Word& w = words[i];
    SCOPED_TRACE(r.printed.toStdString());
    EXPECT_EQ(w.text, r.printed);
    EXPECT_EQ(w.page, r.page);
    EXPECT_NEAR(w.xMin, r.run.x, 0.05);
    EXPECT_NEAR(w.xMax - w.xMin, r.width, 0.15);
    // The baseline lies in the word's box, a little above its bottom.
    EXPECT_LT(w.yMin, r.run.y);
    EXPECT_GT(w.yMax, r.run.y);
    EXPECT_NEAR(w.yMax - r.run.y, 0.212 * r.run.size, 0.1 * r.run.size);
  }
}

TEST(PrintPainterTest, FalseFromBeforePageStopsThePrint) {
  report::Document document;
  document.pages.resize(3);
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(folder.filePath(QStringLiteral("stopped.pdf")));
  std::vector<int> asked;
  EXPECT_FALSE(toolkit::PaintDocument(printer, document, [&](int page) {
    asked.push_back(page);
    return page < 1;
  }));
  EXPECT_EQ(asked, (std::vector<int>{0, 1}));
}

}  // namespace
