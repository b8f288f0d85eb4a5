// The PDF writer's own promises; qpdf and pdftotext read its files in the
// print_pdf_check test.
#include "report/pdf_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

report::Document OneLine(const std::string& text) {
  report::Document document;
  document.pages.resize(1);
  document.pages[0].ops.push_back(report::TextRun{10, 20, 9, report::Weight::regular, text});
  return document;
}

TEST(PdfWriterTest, TextIsEscapedAndKeepsItsWindows1252Bytes) {
  const std::string pdf = report::WritePdf(OneLine("a(b)c\\\xE9\x80\x81"));
  EXPECT_NE(pdf.find("(a\\(b\\)c\\\\\xE9\x80?) Tj"), std::string::npos);
  EXPECT_NE(pdf.find("/BaseFont /Helvetica /Encoding /WinAnsiEncoding"), std::string::npos);
}

TEST(PdfWriterTest, TheSameDocumentGivesTheSameBytesDatedOnlyWhenAsked) {
  const report::Document document = OneLine("x");
  const std::string once = report::WritePdf(document);
  EXPECT_EQ(once, report::WritePdf(document));
  EXPECT_EQ(once.find("CreationDate"), std::string::npos);
  const std::string dated = report::WritePdf(document, {1765252800});  // 2025-12-09 04:00 UTC
  EXPECT_NE(dated.find("/CreationDate (D:20251209040000Z)"), std::string::npos);
}

TEST(PdfWriterTest, ADocumentWithoutPagesStillHasOne) {
  const std::string pdf = report::WritePdf(report::Document{});
  EXPECT_NE(pdf.find("/Count 1 "), std::string::npos);
  EXPECT_NE(pdf.find("/Type /Page /Parent"), std::string::npos);
}

}  // namespace
