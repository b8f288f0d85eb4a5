// Workbooks: the book out and back, what the reader makes of each kind of
// cell, and the archives and sheets it must refuse.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tools/book_xlsx.h"
#include "tools/xlsx_reader.h"
#include "tools/zip_format.h"
#include "tools/zip_reader.h"
#include "tools/zip_writer.h"

namespace {

StudentRecord Record(std::initializer_list<std::pair<int, std::string>> values) {
  StudentRecord record;
  for (const auto& [field, text] : values) std::strcpy(record.fields[field], text.c_str());
  return record;
}

void ExpectSameRecords(const RecordList& actual, const RecordList& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
      EXPECT_STREQ(actual[i].fields[f], expected[i].fields[f]) << "record " << i << ", field " << f;
    }
  }
}

constexpr char kMain[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr char kRel[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// A workbook as other programs write one: `sheetData` inside the sheet,
// shared strings and styles when given, and `workbookPr` in the workbook.
std::string Workbook(const std::string& sheetData, const std::string& shared = "",
                     const std::string& styles = "", const std::string& workbookPr = "") {
  zip::Writer zip;
  zip.Add("xl/workbook.xml",
          std::string("<workbook xmlns=\"") + kMain + "\" xmlns:r=\"" + kRel + "\">" + workbookPr +
              "<sheets><sheet name=\"A\" sheetId=\"1\" r:id=\"rId7\"/>"
              "<sheet name=\"B\" sheetId=\"2\" r:id=\"rId8\"/></sheets></workbook>");
  std::string rels =
      "<Relationships><Relationship Id=\"rId8\" Target=\"worksheets/sheet2.xml\"/>"
      "<Relationship Id=\"rId7\" Target=\"/xl/worksheets/first.xml\"/>";
  if (!shared.empty()) {
    rels += "<Relationship Id=\"rId1\" Type=\"x/sharedStrings\" Target=\"strings.xml\"/>";
    zip.Add("xl/strings.xml", "<sst>" + shared + "</sst>");
  }
  if (!styles.empty()) {
    rels += "<Relationship Id=\"rId2\" Type=\"x/styles\" Target=\"../xl/styles.xml\"/>";
    zip.Add("xl/styles.xml", "<styleSheet>" + styles + "</styleSheet>");
  }
  zip.Add("xl/_rels/workbook.xml.rels", rels + "</Relationships>");
  zip.Add("xl/worksheets/first.xml",
          "<worksheet><sheetData>" + sheetData + "</sheetData></worksheet>");
  zip.Add("xl/worksheets/sheet2.xml",
          "<worksheet><sheetData><row><c t=\"inlineStr\"><is><t>second sheet</t></is></c></row>"
          "</sheetData></worksheet>");
  return zip.Finish();
}

// The cells of the first sheet as "A1=text" lines, or the error.
std::string Cells(const std::string& workbook) {
  std::string out;
  std::string error;
  const bool ok = xlsx::ReadFirstSheet(
      workbook,
      [&](const xlsx::Row& row) {
        for (const xlsx::Cell& cell : row.cells) {
          out += char('A' + cell.column) + std::to_string(row.number) + "=" + cell.text + ";";
        }
        return true;
      },
      error);
  return ok ? out : "error: " + error;
}

TEST(BookXlsxTest, ExportImportsToTheSameRecords) {
  const RecordList book = {
      Record({{studentNo, "00123"},
              {lastName, "Chlo\xE9"},
              {birthday, "03/04/2009"},
              {address1, "\x80 5 & <more> \"quoted\""}}),
      Record({}),  // deleted: not exported
      Record({{lastName, "  padded  "},
              {firstName, "a_x0041_b"},
              {phone, "=1+2"},
              {email, "bell\x07"},
              {address5, std::string(99, '\xFF')}}),
  };
  RecordList imported = {Record({{lastName, "Earlier"}})};
  const book_csv::ImportResult result =
      book_xlsx::ImportRecords(book_xlsx::ExportRecords(book), imported);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.added, 2u);
  ExpectSameRecords(imported, {Record({{lastName, "Earlier"}}), book[0], book[2]});
}

// What a headless spreadsheet cannot show: the header row stays in view, and
// its cells are bold where the others are not.
TEST(BookXlsxTest, TheHeaderIsBoldAndFrozen) {
  zip::Reader archive;
  const std::string bytes = book_xlsx::ExportRecords({Record({{lastName, "Kim"}})});
  ASSERT_TRUE(archive.Open(bytes));
  std::string sheet, styles;
  ASSERT_TRUE(archive.Extract("xl/worksheets/sheet1.xml", sheet));
  ASSERT_TRUE(archive.Extract("xl/styles.xml", styles));
  EXPECT_NE(sheet.find("<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" "
                       "state=\"frozen\"/>"),
            std::string::npos);
  EXPECT_NE(sheet.find("<c r=\"A1\" s=\"2\" t=\"inlineStr\"><is><t xml:space=\"preserve\">"
                       "Student #</t>"),
            std::string::npos);
  EXPECT_NE(sheet.find("<c r=\"B2\" s=\"1\" t=\"inlineStr\">"), std::string::npos);
  // Format 2 uses font 1, the bold one; format 1 font 0. Both are text (49).
  EXPECT_NE(styles.find("<font><b/>"), std::string::npos);
  EXPECT_NE(styles.find("<cellXfs count=\"3\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
                        "borderId=\"0\" xfId=\"0\"/><xf numFmtId=\"49\" fontId=\"0\""),
            std::string::npos);
  EXPECT_NE(styles.find("<xf numFmtId=\"49\" fontId=\"1\""), std::string::npos);
}

TEST(XlsxReadTest, CellsReadAsTheSheetShowsThem) {
  const std::string shared =
      "<si><t>00123</t></si>"
      "<si><r><rPr><b/></rPr><t xml:space=\"preserve\">Chlo</t></r><r><t>\xC3\xA9</t></r>"
      "<rPh><t>reading</t></rPh></si>"
      "<si><t>a_x0009_b &amp; &#x20AC;</t></si>";
  const std::string styles =
      "<numFmts count=\"2\"><numFmt numFmtId=\"164\" formatCode=\"yyyy\\-mm\\-dd\"/>"
      "<numFmt numFmtId=\"165\" formatCode=\"&quot;day&quot; 0.00\"/></numFmts>"
      "<cellStyleXfs><xf numFmtId=\"14\"/></cellStyleXfs>"
      "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"164\"/>"
      "<xf numFmtId=\"165\"/></cellXfs>";
  struct Case {
    const char* name;
    std::string row;
    std::string workbookPr;
    const char* expected;
  };
  const Case cases[] = {
      {"shared strings, rich runs joined, readings left out, escapes undone",
       "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
       "<c r=\"C1\" t=\"s\"><v>2</v></c></row>",
       "", "A1=00123;B1=Chlo\xC3\xA9;C1=a\tb & \xE2\x82\xAC;"},
      {"inline string, and cells without a place follow the one before",
       "<row><c t=\"inlineStr\"><is><t>x</t></is></c><c t=\"str\"><f>A1</f><v>y</v></c>"
       "<c t=\"b\"><v>1</v></c></row>",
       "", "A1=x;B1=y;C1=TRUE;"},
      {"numbers as written, empty cells left out",
       "<row r=\"2\"><c r=\"A2\"><v>123</v></c><c r=\"B2\" s=\"3\"><v>1.5</v></c>"
       "<c r=\"D2\"><v></v></c></row>",
       "", "A2=123;B2=1.5;"},
      {"date cells, built-in and custom formats",
       "<row r=\"3\"><c r=\"A3\" s=\"1\"><v>39920</v></c><c r=\"B3\" s=\"2\"><v>39920.75</v></c>"
       "<c r=\"C3\" t=\"d\"><v>2009-04-17T00:00:00</v></c></row>",
       "", "A3=2009-04-17;B3=2009-04-17;C3=2009-04-17;"},
      {"dates counted from 1904", "<row r=\"3\"><c r=\"A3\" s=\"1\"><v>38458</v></c></row>",
       "<workbookPr date1904=\"true\"/>", "A3=2009-04-17;"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Cells(Workbook(c.row, shared, styles, c.workbookPr)), c.expected) << c.name;
  }
}

TEST(XlsxReadTest, DaysCountAsSpreadsheetsCountThem) {
  struct Case {
    double serial;
    bool from1904;
    const char* date;
  };
  const Case cases[] = {
      {1, false, "1900-01-01"},
      {59, false, "1900-02-28"},
      {60, false, "1900-02-29"},
      {61, false, "1900-03-01"},
      {45000, false, "2023-03-15"},
      {2958465, false, "9999-12-31"},
      {0, false, ""},
      {2958466, false, ""},
      {-1, false, ""},
      {0, true, "1904-01-01"},
      {1462, true, "1908-01-02"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(xlsx::DateOfSerial(c.serial, c.from1904), c.date) << c.serial << " " << c.from1904;
  }
}

TEST(XlsxReadTest, BrokenWorkbooksAreRefusedWithTheirFault) {
  zip::Writer notAWorkbook;
  notAWorkbook.Add("mimetype", "application/vnd.oasis.opendocument.spreadsheet");
  struct Case {
    const char* name;
    std::string bytes;
    const char* error;
  };
  const Case cases[] = {
      {"no archive", "PK\x03\x04 and then nothing at all, not even a directory",
       "not a zip archive: no central directory"},
      {"another kind of archive", notAWorkbook.Finish(),
       "not a workbook: the archive has no xl/workbook.xml"},
      {"an error cell", Workbook("<row r=\"4\"><c r=\"B4\" t=\"e\"><v>#DIV/0!</v></c></row>"),
       "xl/worksheets/first.xml: cell B4 holds the error #DIV/0!"},
      {"a shared string the workbook lacks",
       Workbook("<row><c t=\"s\"><v>1</v></c></row>", "<si><t>only</t></si>"),
       "xl/worksheets/first.xml: cell A1 names shared string 1, which the workbook lacks"},
      {"rows out of order", Workbook("<row r=\"5\"/><row r=\"5\"/>"),
       "xl/worksheets/first.xml: row 5 comes after row 5"},
      {"cells out of order", Workbook("<row r=\"1\"><c r=\"C1\"/><c r=\"B1\"/></row>"),
       "xl/worksheets/first.xml: cells out of order in row 1"},
      {"a cell of another row", Workbook("<row r=\"1\"><c r=\"A2\"/></row>"),
       "xl/worksheets/first.xml: a cell named \"A2\" in row 1"},
      {"a document type", Workbook("<!DOCTYPE x [<!ENTITY a \"aaaa\">]><row/>"),
       "xl/worksheets/first.xml: a document type declaration"},
      {"an entity of its own", Workbook("<row><c t=\"inlineStr\"><is><t>&a;</t></is></c></row>"),
       "xl/worksheets/first.xml: an unknown entity or bad character reference"},
      {"a tag left open", Workbook("<row><c r=\"A1\""),
       "xl/worksheets/first.xml: a malformed attribute"},
  };
  for (const Case& c : cases) EXPECT_EQ(Cells(c.bytes), std::string("error: ") + c.error) << c.name;
}

TEST(ZipReaderTest, SizesAreBoundedAndChecked) {
  zip::Writer writer;
  writer.Add("big", std::string(5000, 'a'));
  writer.Add("small", "abc");
  const std::string archive = writer.Finish();
  // The central directory's record of "big" (the first), to make it lie.
  const std::size_t directory = zip::Get32(archive, archive.size() - 6);
  auto withBigSize = [&](std::uint32_t size, std::size_t offset) {
    std::string bytes = archive;
    std::string field;
    zip::Put32(field, size);
    bytes.replace(directory + offset, 4, field);
    return bytes;
  };
  struct Case {
    const char* name;
    std::string bytes;
    zip::Limits limits;
    const char* error;  // empty: "big" unpacks
  };
  const Case cases[] = {
      {"within the limits", archive, {5000, 5003}, ""},
      {"an entry larger than one may be",
       archive,
       {4999, 100000},
       "big would unpack to 0 MB, more than the 0 MB allowed; refused as a possible zip bomb"},
      {"more than all together may be",
       archive,
       {5000, 4999},
       "big would unpack to 0 MB, more than the 0 MB allowed; refused as a possible zip bomb"},
      {"an entry that says it is smaller",
       withBigSize(100, 24),
       {},
       "damaged zip archive: big is longer than its directory says"},
      {"an entry that says it is larger",
       withBigSize(6000, 24),
       {},
       "damaged zip archive: big is shorter than its directory says"},
      {"a wrong checksum", withBigSize(1, 16), {}, "damaged zip archive: the checksum of big"},
      {"a header outside the file",
       withBigSize(0x7FFFFFFF, 42),
       {},
       "damaged zip archive: the header of big"},
  };
  for (const Case& c : cases) {
    zip::Reader reader(c.limits);
    ASSERT_TRUE(reader.Open(c.bytes)) << c.name << ": " << reader.error();
    std::string out;
    const bool ok = reader.Extract("big", out);
    EXPECT_EQ(ok ? "" : reader.error(), c.error) << c.name;
    if (ok) {
      EXPECT_EQ(out, std::string(5000, 'a')) << c.name;
    }
  }
}

TEST(BookXlsxTest, RefusalsNameTheCellAndLeaveTheBookAlone) {
  auto sheet = [](const std::string& secondRow) {
    return Workbook(
        "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>Last Name</t></is></c>"
        "<c r=\"C2\" t=\"inlineStr\"><is><t>student number</t></is></c></row>"
        "<row r=\"3\"><c r=\"A3\" t=\"inlineStr\"><is><t>Kim</t></is></c></row>" +
        secondRow);
  };
  struct Case {
    const char* name;
    std::string bytes;
    const char* error;  // how the refusal starts; empty: imported
  };
  const Case cases[] = {
      {"a good sheet", sheet("<row r=\"9\"><c r=\"C9\"><v>123</v></c></row><row r=\"10\"/>"), ""},
      {"a value under no name", sheet("<row r=\"4\"><c r=\"B4\"><v>1</v></c></row>"),
       "cell B4: a value in a column without a name"},
      {"a value right of the header", sheet("<row r=\"4\"><c r=\"D4\"><v>1</v></c></row>"),
       "cell D4: a value in a column without a name"},
      {"a character Windows-1252 lacks",
       sheet("<row r=\"4\"><c r=\"A4\" t=\"inlineStr\"><is><t>\xE6\x9D\x8E</t></is></c></row>"),
       "cell A4 (last_name): character U+674E has no place in Windows-1252"},
      {"a value too long for a field",
       sheet("<row r=\"4\"><c r=\"A4\" t=\"inlineStr\"><is><t>" + std::string(100, 'x') +
             "</t></is></c></row>"),
       "cell A4 (last_name): longer than 99 bytes in Windows-1252 (100)"},
      {"an unknown column", Workbook("<row><c t=\"inlineStr\"><is><t>Nickname</t></is></c></row>"),
       "cell A1: unknown column \"Nickname\"; the columns are"},
      {"an empty sheet", Workbook("<row r=\"3\"/>"), "the first sheet is empty: no header row"},
  };
  for (const Case& c : cases) {
    RecordList book = {Record({{lastName, "Earlier"}})};
    const book_csv::ImportResult result = book_xlsx::ImportRecords(c.bytes, book);
    if (*c.error == '\0') {
      ASSERT_TRUE(result.ok) << c.name << ": " << result.error;
      EXPECT_EQ(result.emptyRows, 1u);
      ExpectSameRecords(book, {Record({{lastName, "Earlier"}}), Record({{lastName, "Kim"}}),
                               Record({{studentNo, "123"}})});
      continue;
    }
    EXPECT_FALSE(result.ok) << c.name;
    EXPECT_EQ(result.error.substr(0, std::strlen(c.error)), c.error) << c.name;
    ExpectSameRecords(book, {Record({{lastName, "Earlier"}})});
  }
}

}  // namespace
