// RFC 4180 writing and reading, and the book's rows on their way out and in.
#include "tools/csv.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tools/book_csv.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST(CsvWriteTest, QuotesOnlyWhenNeeded) {
  struct Case {
    const char* field;
    char delimiter;
    const char* expected;
  };
  const Case cases[] = {
      {"plain", ',', "plain"},
      {"", ',', ""},
      {"a,b", ',', "\"a,b\""},
      {"say \"hi\"", ',', "\"say \"\"hi\"\"\""},
      {"two\r\nlines", ',', "\"two\r\nlines\""},
      {"lf\n", ',', "\"lf\n\""},
      {"lone\rCR", ',', "\"lone\rCR\""},  // a reader taking CR as a line end would split it
      {"a;b", ',', "a;b"},
      {"a\tb", '\t', "\"a\tb\""},
      {"a,b", '\t', "a,b"},
      {" padded ", ',', " padded "},
  };
  for (const Case& row : cases) {
    std::string out;
    csv::AppendField(row.field, row.delimiter, out);
    EXPECT_EQ(out, row.expected) << "field [" << row.field << "]";
  }
  std::string out;
  csv::AppendRow({"a", "b,c", ""}, ',', out);
  EXPECT_EQ(out, "a,\"b,c\",\r\n");
}

struct ReadCase {
  const char* name;
  std::string text;
  char delimiter;
  Rows rows;           // rows read before the end or the fault
  csv::Fault fault{};  // line 0: no fault expected
};

TEST(CsvReadTest, ReadTable) {
  const std::vector<ReadCase> cases = {
      {"CRLF", "a,b\r\nc,d\r\n", ',', {{"a", "b"}, {"c", "d"}}},
      {"LF, no final line end", "a,b\nc,d", ',', {{"a", "b"}, {"c", "d"}}},
      {"quoted delimiter and quotes", "\"a,b\",\"say \"\"hi\"\"\"\n", ',', {{"a,b", "say \"hi\""}}},
      {"quoted line break", "\"l1\r\nl2\",x\ny\n", ',', {{"l1\r\nl2", "x"}, {"y"}}},
      {"empty last field", "a,\n", ',', {{"a", ""}}},
      {"empty quoted field", "\"\",b\n", ',', {{"", "b"}}},
      {"blank line is one empty field", "a\n\nb\n", ',', {{"a"}, {""}, {"b"}}},
      {"lone CR stays in the field", "a\rb\n", ',', {{"a\rb"}}},
      {"quote inside an unquoted field", "5'10\",x\n", ',', {{"5'10\"", "x"}}},
      {"semicolons", "a;\"b;c\";d\n", ';', {{"a", "b;c", "d"}}},
      {"tabs", "a\tb,c\n", '\t', {{"a", "b,c"}}},
      {"empty text", "", ',', {}},
      {"unterminated quote",
       "a,b\nc,\"open\n",
       ',',
       {{"a", "b"}},
       {2, 2, "quoted field not closed before the end of the file"}},
      {"text after closing quote",
       "\"ab\"c,d\n",
       ',',
       {},
       {1, 1, "text after the closing quote of a quoted field"}},
      {"text after a multi-line quote",
       "x,\"a\nb\"z\n",
       ',',
       {},
       {2, 2, "text after the closing quote of a quoted field"}},
  };
  for (const ReadCase& row : cases) {
    csv::Reader reader(row.text, row.delimiter);
    Rows rows;
    std::vector<std::string> fields;
    csv::Reader::Status status;
    while ((status = reader.ReadRow(fields)) == csv::Reader::Status::kRow) rows.push_back(fields);
    EXPECT_EQ(rows, row.rows) << row.name;
    if (row.fault.line == 0) {
      EXPECT_EQ(status, csv::Reader::Status::kEnd) << row.name << ": " << reader.fault().message;
    } else {
      ASSERT_EQ(status, csv::Reader::Status::kFault) << row.name;
      EXPECT_EQ(reader.fault().line, row.fault.line) << row.name;
      EXPECT_EQ(reader.fault().column, row.fault.column) << row.name;
      EXPECT_EQ(reader.fault().message, row.fault.message) << row.name;
    }
  }
}

TEST(CsvReadTest, LinesOfFieldsAfterMultiLineFields) {
  csv::Reader reader("a,\"1\n2\n3\",c\nd\n", ',');
  std::vector<std::string> fields;
  ASSERT_EQ(reader.ReadRow(fields), csv::Reader::Status::kRow);
  EXPECT_EQ(reader.RowLine(), 1);
  EXPECT_EQ(reader.FieldLine(1), 1);
  EXPECT_EQ(reader.FieldLine(2), 3);
  ASSERT_EQ(reader.ReadRow(fields), csv::Reader::Status::kRow);
  EXPECT_EQ(reader.RowLine(), 4);
}

TEST(CsvReadTest, DelimiterFromTheHeaderRow) {
  struct Case {
    const char* text;
    char expected;  // '\0': refused
  };
  const Case cases[] = {
      {"a,b\n", ','},    {"a;b\n", ';'},       {"a\tb\n", '\t'},    {"a\n", ','},
      {"", ','},         {"\"x;y\",b\n", ','}, {"a,b\nc;d\n", ','}, {"a;b;c\r\n1,5;2;3", ';'},
      {"a,b;c\n", '\0'},
  };
  for (const Case& row : cases) {
    char delimiter = 'x';
    csv::Fault fault;
    const bool ok = csv::DetectDelimiter(row.text, &delimiter, &fault);
    EXPECT_EQ(ok, row.expected != '\0') << "[" << row.text << "]";
    if (ok) {
      EXPECT_EQ(delimiter, row.expected) << "[" << row.text << "]";
    }
  }
  char delimiter;
  csv::Fault fault;
  csv::DetectDelimiter("a,b\tc", &delimiter, &fault);
  EXPECT_EQ(fault.message,
            "the header row holds both a comma and a tab; cannot tell which separates the columns");
}

TEST(CsvReadTest, StripBom) {
  EXPECT_EQ(csv::StripBom("\xEF\xBB\xBFx"), "x");
  EXPECT_EQ(csv::StripBom("x"), "x");
  EXPECT_EQ(csv::StripBom("\xEF\xBB"), "\xEF\xBB");
}

// --- The book's rows ---------------------------------------------------------

StudentRecord Record(std::initializer_list<std::pair<int, const char*>> values) {
  StudentRecord record;
  for (const auto& [field, text] : values) std::strcpy(record.fields[field], text);
  return record;
}

void ExpectSameRecords(const RecordList& actual, const RecordList& expected, const char* name) {
  ASSERT_EQ(actual.size(), expected.size()) << name;
  for (std::size_t i = 0; i < actual.size(); ++i) {
    for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
      EXPECT_STREQ(actual[i].fields[f], expected[i].fields[f])
          << name << ": record " << i << ", " << book_csv::kColumnNames[f];
    }
  }
}

const std::string kHeader =
    "student_no,last_name,first_name,middle_name1,middle_name2,gender,birthday,phone,email,"
    "cell_phone,parent_name,parent_phone,address1,address2,address3,address4,address5\r\n";

TEST(BookCsvTest, ExportWritesHeaderAndLiveRecordsInOrder) {
  const RecordList book = {Record({{lastName, "Smith"}, {firstName, "Ann"}}), StudentRecord{},
                           Record({{lastName, "O\"Neil, Jr"}, {address3, "\xC9vry"}})};
  EXPECT_EQ(book_csv::ExportRecords(book, {}),
            kHeader + ",Smith,Ann,,,,,,,,,,,,,,\r\n" +
                ",\"O\"\"Neil, Jr\",,,,,,,,,,,,,\xC3\x89vry,,\r\n");
  const std::string withBom = book_csv::ExportRecords({}, {',', /*bom=*/true});
  EXPECT_EQ(withBom, "\xEF\xBB\xBF" + kHeader);
  const std::string tsv = book_csv::ExportRecords({book[2]}, {'\t', false});
  EXPECT_EQ(tsv.substr(tsv.find("\r\n") + 2),
            "\t\"O\"\"Neil, Jr\"\t\t\t\t\t\t\t\t\t\t\t\t\t\xC3\x89vry\t\t\r\n");
}

TEST(BookCsvTest, RoundTrips) {
  const RecordList book = {
      Record({{studentNo, "S1"}, {lastName, "Smith"}, {firstName, "Ann"}, {phone, "555-0101"}}),
      Record({{lastName, "\xC9mond"},
              {firstName, "Zo\xEB"},
              {address1,
               "1 \x8A"
               "koda St"}}),
      Record({{lastName, "O\"Neil, Jr"}, {email, "a;b@x"}, {address5, "\x80 5"}}),
      Record({{address3, " "}}),
      Record({{lastName, std::string(99, 'x').c_str()}}),
  };
  const book_csv::ExportOptions options[] = {
      {',', false}, {',', true}, {'\t', false}, {'\t', true}};
  for (const auto& option : options) {
    const std::string name =
        std::string(option.delimiter == ',' ? "csv" : "tsv") + (option.bom ? " with bom" : "");
    RecordList imported;
    const book_csv::ImportResult result =
        book_csv::ImportRecords(book_csv::ExportRecords(book, option), imported);
    ASSERT_TRUE(result.ok) << name << ": " << result.error;
    EXPECT_EQ(result.added, book.size()) << name;
    ExpectSameRecords(imported, book, name.c_str());
  }
}

TEST(BookCsvTest, SpreadsheetFilesAreAccepted) {
  struct Case {
    const char* name;
    std::string text;
    RecordList expected;
    std::size_t empty;
  };
  const std::vector<Case> cases = {
      {"BOM, CRLF, quoted comma, any column order",
       "\xEF\xBB\xBF"
       "first_name,last_name,address1\r\n\"Ann, B.\",Smith,\"1 Elm St, Apt 4\"\r\n",
       {Record({{firstName, "Ann, B."}, {lastName, "Smith"}, {address1, "1 Elm St, Apt 4"}})},
       0},
      {"semicolons and accents",
       "last_name;first_name\n\xC3\x89mond;Zo\xC3\xAB\nM\xC3\xBCller;\"J;K\"\n",
       {Record({{lastName, "\xC9mond"}, {firstName, "Zo\xEB"}}),
        Record({{lastName, "M\xFCller"}, {firstName, "J;K"}})},
       0},
      {"tabs",
       "phone\tlast_name\r\n555\tLee\r\n",
       {Record({{phone, "555"}, {lastName, "Lee"}})},
       0},
      {"quoted header names",
       "\"last_name\",\"phone\"\n\"Lee\",\"1\"\n",
       {Record({{lastName, "Lee"}, {phone, "1"}})},
       0},
      {"empty rows skipped and counted",
       "last_name,phone\n,\n\nLee,1\n,\r\n",
       {Record({{lastName, "Lee"}, {phone, "1"}})},
       3},
      {"header only", "last_name\r\n", {}, 0},
      {"99 accented letters fit",
       "last_name\n" +
           [] {
             std::string s;
             for (int i = 0; i < 99; ++i) s += "\xC3\xA9";
             return s;
           }(),
       {Record({{lastName, std::string(99, '\xE9').c_str()}})},
       0},
  };
  for (const Case& row : cases) {
    RecordList records{Record({{lastName, "Earlier"}})};
    const book_csv::ImportResult result = book_csv::ImportRecords(row.text, records);
    ASSERT_TRUE(result.ok) << row.name << ": " << result.error;
    ASSERT_FALSE(records.empty()) << row.name;
    EXPECT_STREQ(records[0].fields[lastName], "Earlier") << row.name;
    EXPECT_EQ(result.added, row.expected.size()) << row.name;
    ExpectSameRecords(RecordList(records.begin() + 1, records.end()), row.expected, row.name);
    EXPECT_EQ(result.empty, row.empty) << row.name;
  }
}

// Error paths follow: every refusal names its line and column, and adds no records.
TEST(BookCsvTest, BadFilesAreRefusedWhole) {
  struct Case {
    const char* name;
    std::string text;
    std::string error;
  };
  const std::string good = "last_name,first_name\nSmith,Ann\n";
  const std::vector<Case> cases = {
      {"empty file", "", "line 1: no header row; the file is empty"},
      {"only a BOM", "\xEF\xBB\xBF", "line 1: no header row; the file is empty"},
      {"UTF-16", "\xFF\xFEl\0a\0", "line 1: the file is UTF-16 text; save it as CSV in UTF-8"},
      {"mixed delimiters", "last_name,first_name;phone\n",
       "line 1: the header row holds both a comma and a semicolon; cannot tell which separates the "
       "columns"},
      {"unknown column", "last_name,nickname\n",
       "line 1, column 2: unknown column \"nickname\"; the columns are student_no, last_name, "
       "first_name, middle_name1, middle_name2, gender, birthday, phone, email, cell_phone, "
       "parent_name, parent_phone, address1 to address5, or the program's labels (Student #, "
       "Last Name, First Name, Middle Name1, Middle Name2, Gender, Birthday, Phone, E-mail, "
       "Cell Phone, Parent's Name, Parent's Phone, Address 1 to Address 5); case, blanks and "
       "punctuation do not matter"},
      {"repeated column", "phone,last_name,phone\n",
       "line 1, column 3: column \"phone\" named twice"},
      {"too few fields", good + "Lee\n", "line 3: 1 field where the header has 2"},
      {"too many fields", good + "Lee,Bo,x\n", "line 3, column 3: 3 fields where the header has 2"},
      {"100 bytes", good + std::string(100, 'a') + ",x\n",
       "line 3, column 1 (last_name): longer than 99 bytes in Windows-1252 (100)"},
      {"character outside the code page", good + "Lee,\xE4\xB8\xAD\n",
       "line 3, column 2 (first_name): character U+4E2D has no place in Windows-1252"},
      {"emoji", good + "Lee,\xF0\x9F\x98\x80\n",
       "line 3, column 2 (first_name): character U+1F600 has no place in Windows-1252"},
      {"invalid UTF-8", good + "\xFF,x\n", "line 3, column 1 (last_name): not valid UTF-8"},
      {"Latin-1 instead of UTF-8", good + "M\xFCller,x\n",
       "line 3, column 1 (last_name): not valid UTF-8"},
      {"tab in a quoted field", good + "\"a\tb\",x\n",
       "line 3, column 1 (last_name): tab inside a field"},
      {"line break in a quoted field", good + "x,\"a\r\nb\"\nLee,Bo\n",
       "line 3, column 2 (first_name): line break inside a field"},
      {"lone CR in a field", good + "a\rb,x\n",
       "line 3, column 1 (last_name): line break inside a field"},
      {"NUL byte", good + std::string("a\0b,x\n", 6),
       "line 3, column 1 (last_name): NUL byte inside a field"},
      {"unterminated quote", good + "\"Lee,Bo\nKim,Al\n",
       "line 3, column 1: quoted field not closed before the end of the file"},
      {"UTF-32", std::string("\xFF\xFE\0\0l\0\0\0", 8),
       "line 1: the file is UTF-32 text; save it as CSV in UTF-8"},
      {"wrong count though empty", good + ",,\n", "line 3, column 3: 3 fields where the header has 2"},
      {"a value under a nameless column", "last_name,,\nLee,,x\n",
       "line 2, column 3: a value in a column without a name"},
      {"lines counted after a sep= line", "sep=;\nlast_name\nLee;x\n",
       "line 3, column 2: 2 fields where the header has 1"},
  };
  // Forced to UTF-8: read as it comes, a file that is not UTF-8 would be
  // taken for Windows-1252.
  const book_csv::ImportOptions utf8{import_text::Encoding::kUtf8};
  for (const Case& row : cases) {
    RecordList records{Record({{lastName, "Earlier"}})};
    const book_csv::ImportResult result = book_csv::ImportRecords(row.text, records, utf8);
    EXPECT_FALSE(result.ok) << row.name;
    EXPECT_EQ(result.error, row.error) << row.name;
    ASSERT_EQ(records.size(), 1u) << row.name;
    EXPECT_STREQ(records[0].fields[lastName], "Earlier") << row.name;
  }
}

// Spreadsheets on Windows save "ANSI" text, their own header words, a first
// line naming the separator, old Macs CR line ends, and empty columns.
TEST(BookCsvTest, SpreadsheetFormsAreRead) {
  using import_text::Encoding;
  struct Case {
    const char* name;
    std::string text;
    Encoding encoding;
    RecordList expected;
  };
  const std::vector<Case> cases = {
      {"Windows-1252 when not UTF-8", "Last Name;First Name\r\nM\xFCller;Zo\xEB\r\n",
       Encoding::kAuto, {Record({{lastName, "M\xFCller"}, {firstName, "Zo\xEB"}})}},
      {"UTF-8 bytes read as Windows-1252 when asked", "last_name\nZo\xC3\xAB\n",
       Encoding::kWindows1252, {Record({{lastName, "Zo\xC3\xAB"}})}},
      {"labels in any case, blanks and punctuation",
       "STUDENT #,last name,Parent's Phone,E-Mail,address_5\n1,Lee,555,a@b,X\n", Encoding::kAuto,
       {Record({{studentNo, "1"}, {lastName, "Lee"}, {parentPhone, "555"}, {email, "a@b"},
                {address5, "X"}})}},
      {"sep= line names the separator", "sep=;\r\nlast_name;first_name\r\nLee, Jr;Bo\r\n",
       Encoding::kAuto, {Record({{lastName, "Lee, Jr"}, {firstName, "Bo"}})}},
      {"CR line ends", "last_name,first_name\rLee,Bo\rKim,Al", Encoding::kAuto,
       {Record({{lastName, "Lee"}, {firstName, "Bo"}}), Record({{lastName, "Kim"}, {firstName, "Al"}})}},
      {"empty columns at the end", "last_name,first_name,,\r\nLee,Bo,,\r\n,,,\r\n", Encoding::kAuto,
       {Record({{lastName, "Lee"}, {firstName, "Bo"}})}},
  };
  for (const Case& row : cases) {
    RecordList records;
    const book_csv::ImportResult result =
        book_csv::ImportRecords(row.text, records, {row.encoding});
    ASSERT_TRUE(result.ok) << row.name << ": " << result.error;
    ExpectSameRecords(records, row.expected, row.name);
  }
}

TEST(BookCsvTest, SafeCellsKeepFormulasFromRunning) {
  const RecordList book = {Record({{studentNo, "=1+1"},
                                   {lastName, "+44"},
                                   {firstName, "-5"},
                                   {middleName1, "@SUM(A1)"},
                                   {middleName2, "\tx"},
                                   {gender, "\rx"},
                                   {birthday, "a=b"},
                                   {phone, "'quoted"}})};
  const std::string plain = book_csv::ExportRecords(book, {});
  EXPECT_EQ(plain.substr(kHeader.size()),
            "=1+1,+44,-5,@SUM(A1),\tx,\"\rx\",a=b,'quoted,,,,,,,,,\r\n");
  book_csv::ExportOptions safe;
  safe.safeCells = true;
  EXPECT_EQ(book_csv::ExportRecords(book, safe).substr(kHeader.size()),
            "'=1+1,'+44,'-5,'@SUM(A1),'\tx,\"'\rx\",a=b,'quoted,,,,,,,,,\r\n");
}

}  // namespace
