// export, import, list and search as a user runs them: through the built
// kestrel-book, on books made in a throwaway folder.
#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "run_program.h"
#include "store/platform/platform.h"
#include "store/record_store.h"
#include "text/cp1252.h"
#include "tools/book_csv.h"
#include "tests/support/temp_folder.h"
#include "tools/book_generator.h"

namespace {

struct Outcome {
  int exitCode = -1;
  std::string out;
  std::string err;
};

StudentRecord Record(std::initializer_list<std::pair<int, const char*>> values) {
  StudentRecord record;
  for (const auto& [field, text] : values) std::strcpy(record.fields[field], text);
  return record;
}

class BookCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.Make("kestrel-book-csv"));
    folder_ = temp_.path();
  }
  void TearDown() override { temp_.Remove(); }

  std::string Path(const std::string& name) const { return folder_ + "/" + name; }

  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary | std::ios::trunc) << bytes;
  }

  // Runs kestrel-book with `args` (already quoted for the shell) in the folder.
  Outcome Run(const std::string& args) {
    Write(".in", "");
    Outcome run;
    run.exitCode = RunProgram(folder_, KESTREL_BOOK, args, ".in", ".out", ".err");
    run.out = Read(".out");
    run.err = Read(".err");
    return run;
  }

  void SaveBook(const std::string& name, const RecordList& records) {
    RecordStore store(Path(name).c_str());
    store.SetSyncOnSave(false);
    store.records = records;
    ASSERT_TRUE(store.Save().ok());
  }
  RecordList LoadBook(const std::string& name) {
    RecordStore store(Path(name).c_str());
    store.Load();
    EXPECT_FALSE(store.loadReport().damaged) << name << ": " << store.loadReport().reason;
    return store.records;
  }

  TempFolder temp_;
  std::string folder_;
};

void ExpectSameRecords(const RecordList& actual, const RecordList& expected,
                       const std::string& name) {
  ASSERT_EQ(actual.size(), expected.size()) << name;
  for (std::size_t i = 0; i < actual.size(); ++i) {
    for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
      ASSERT_STREQ(actual[i].fields[f], expected[i].fields[f])
          << name << ": record " << i << ", " << book_csv::kColumnNames[f];
    }
  }
}

TEST_F(BookCommandsTest, ExportThenImportIntoAnEmptyBookGivesTheSameRecords) {
  const RecordList book = GenerateBook(1000);
  SaveBook("phone.dat", book);
  const char* variants[] = {"",
                            "--tsv",
                            "--bom",
                            "--tsv --bom",
                            "--format xlsx",
                            "--separator ';' --encoding windows-1252",
                            "--encoding utf-8-bom --separator tab"};
  for (const std::string variant : variants) {
    const Outcome exported = Run("export -o out.csv " + variant);
    ASSERT_EQ(exported.exitCode, 0) << variant << ": " << exported.err;
    EXPECT_EQ(exported.out, "") << variant;
    std::remove(Path("new.dat").c_str());
    const Outcome imported = Run("import out.csv -f new.dat");
    ASSERT_EQ(imported.exitCode, 0) << variant << ": " << imported.err;
    EXPECT_EQ(imported.out, "added 1000 records to new.dat\n") << variant;
    ExpectSameRecords(LoadBook("new.dat"), book, "export " + variant);
  }
  EXPECT_EQ(Run("export").out, book_csv::ExportRecords(book, {}));
}

TEST_F(BookCommandsTest, ImportAppendsAfterTheRecordsOfTheBook) {
  SaveBook("phone.dat", {Record({{lastName, "First"}})});
  // The blank line and the row of one empty field are both all-empty rows.
  Write("in.csv", "last_name,phone\r\nSecond,1\r\n\r\n,\r\nThird,2\r\n");
  const Outcome imported = Run("import in.csv");
  ASSERT_EQ(imported.exitCode, 0) << imported.err;
  EXPECT_EQ(imported.out, "added 2 records to phone.dat; skipped 2 empty rows\n");
  ExpectSameRecords(LoadBook("phone.dat"),
                    {Record({{lastName, "First"}}), Record({{lastName, "Second"}, {phone, "1"}}),
                     Record({{lastName, "Third"}, {phone, "2"}})},
                    "appended");
}

// Importing nothing must not write the book: not a byte of it, and no file
// where there was none.
TEST_F(BookCommandsTest, AHeaderOnlyCsvLeavesTheBookAlone) {
  Write("header.csv", "last_name,first_name\r\n");
  const Outcome intoNothing = Run("import header.csv -f none.dat");
  EXPECT_EQ(intoNothing.exitCode, 0) << intoNothing.err;
  EXPECT_EQ(intoNothing.out, "added 0 records to none.dat\n");
  EXPECT_FALSE(std::filesystem::exists(Path("none.dat"))) << "no book may be created";

  SaveBook("phone.dat", GenerateBook(5));
  const std::string before = Read("phone.dat");
  const platform::FileStamp was = platform::StampOf(Path("phone.dat"));
  ASSERT_TRUE(was.exists);
  ASSERT_EQ(Run("import header.csv").exitCode, 0);
  const platform::FileStamp now = platform::StampOf(Path("phone.dat"));
  EXPECT_EQ(Read("phone.dat"), before);
  EXPECT_EQ(now, was) << "the book was replaced";
}

TEST_F(BookCommandsTest, DuplicatesAreListedAndCanBeSkippedOnImport) {
  const RecordList book = {
      Record({{studentNo, "S1"}, {lastName, "Smith"}, {firstName, "Ann"}, {birthday, "2001"}}),
      Record({{studentNo, "S2"}, {lastName, "smith"}, {firstName, "ANN"}, {birthday, "2001"}}),
      Record({{studentNo, "S1"}, {lastName, "Other"}, {firstName, "Pat"}}),
      Record({{phone, "555"}}),  // no number, no names: never a duplicate
      Record({{phone, "555"}}),
      Record({{studentNo, "S9"}, {lastName, "Kim"}}),  // number and names alike: one group
      Record({{studentNo, "S9"}, {lastName, "KIM"}}),
  };
  SaveBook("phone.dat", book);
  const Outcome listed = Run("duplicates");
  EXPECT_EQ(listed.exitCode, 1) << listed.err;
  EXPECT_EQ(listed.out,
            "same student number S1:\n  1  Smith, Ann: \n  3  Other, Pat: \n\n"
            "same name and birthday:\n  1  Smith, Ann: \n  2  smith, ANN: \n\n"
            "same student number S9:\n  6  Kim, : \n  7  KIM, : \n\n");
  SaveBook("single.dat", {book[0], book[3]});
  const Outcome none = Run("duplicates -f single.dat");
  EXPECT_EQ(none.exitCode, 0) << none.err;
  EXPECT_EQ(none.out, "");

  // The book's own export, one row changed, and one row twice: only the
  // changed row is new.
  std::string csv = book_csv::ExportRecords(book, {});
  csv += csv.substr(csv.rfind("S9,"));
  csv.replace(csv.find("Other"), 5, "Otter");
  Write("again.csv", csv);
  const Outcome imported = Run("import --skip-duplicates again.csv");
  EXPECT_EQ(imported.exitCode, 0) << imported.err;
  EXPECT_EQ(imported.out, "added 1 record to phone.dat; skipped 7 duplicates\n");
  RecordList expected = book;
  expected.push_back(Record({{studentNo, "S1"}, {lastName, "Otter"}, {firstName, "Pat"}}));
  ExpectSameRecords(LoadBook("phone.dat"), expected, "after the import");
}

// The format is the content's, whatever the name says.
TEST_F(BookCommandsTest, ImportKnowsVCardFromCsvByTheContent) {
  Write("contacts.csv",
        "\xEF\xBB\xBF\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Bo;;;\r\nEND:VCARD\r\n");
  Write("rows.vcf", "last_name\nKim\n");
  EXPECT_EQ(Run("import contacts.csv").out, "added 1 record to phone.dat\n");
  EXPECT_EQ(Run("import rows.vcf").out, "added 1 record to phone.dat\n");
  ExpectSameRecords(LoadBook("phone.dat"),
                    {Record({{lastName, "Lee"}, {firstName, "Bo"}}), Record({{lastName, "Kim"}})},
                    "both imports");
}

TEST_F(BookCommandsTest, AccentedNamesTravelAsUtf8AndStayWindows1252InTheBook) {
  const RecordList book = {Record({{lastName, "\xC9mond"}, {firstName, "Zo\xEB"}}),
                           Record({{lastName,
                                    "\x8A"
                                    "imek"},
                                   {address1,
                                    "\x80 5, Stra\xDF"
                                    "e"}})};
  SaveBook("phone.dat", book);
  const Outcome exported = Run("export");
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  EXPECT_NE(exported.out.find(",\xC3\x89mond,Zo\xC3\xAB,"), std::string::npos) << exported.out;
  EXPECT_NE(exported.out.find(",\xC5\xA0imek,"), std::string::npos) << exported.out;
  EXPECT_NE(exported.out.find(",\"\xE2\x82\xAC 5, Stra\xC3\x9F"
                              "e\","),
            std::string::npos);
  Write("out.csv", exported.out);
  ASSERT_EQ(Run("import out.csv -f copy.dat").exitCode, 0);
  ExpectSameRecords(LoadBook("copy.dat"), book, "accents");
  // For programs that read neither UTF-8 nor commas: the book's own bytes.
  const Outcome ansi = Run("export --separator ';' --encoding windows-1252");
  EXPECT_NE(ansi.out.find(";\xC9mond;Zo\xEB;"), std::string::npos) << ansi.out;
}

TEST_F(BookCommandsTest, SpreadsheetCsvWithBomCrlfAndQuotedCommas) {
  Write("sheet.csv",
        "\xEF\xBB\xBF"
        "last_name,first_name,address1,phone\r\n"
        "Smith,\"Ann, B.\",\"1 Elm St, Apt 4\",555-0101\r\n"
        "\"O\"\"Neil\",Bo,\"two\r\nlines\",\r\n");
  // The second row's address holds a line break, which a record cannot hold.
  Outcome imported = Run("import sheet.csv");
  EXPECT_EQ(imported.exitCode, 1);
  EXPECT_EQ(imported.err,
            "kestrel-book: sheet.csv: line 3, column 3 (address1): line break inside a field\n");
  EXPECT_EQ(access(Path("phone.dat").c_str(), F_OK), -1) << "a refused import created the book";

  Write("sheet.csv",
        "\xEF\xBB\xBF"
        "last_name;first_name;address1;phone\r\n"
        "Smith;\"Ann; B.\";\"1 Elm St, Apt 4\";555-0101\r\n"
        "\"O\"\"Neil\";Bo;;\r\n");
  imported = Run("import sheet.csv");
  ASSERT_EQ(imported.exitCode, 0) << imported.err;
  ExpectSameRecords(LoadBook("phone.dat"),
                    {Record({{lastName, "Smith"},
                             {firstName, "Ann; B."},
                             {address1, "1 Elm St, Apt 4"},
                             {phone, "555-0101"}}),
                     Record({{lastName, "O\"Neil"}, {firstName, "Bo"}})},
                    "spreadsheet");
}

// Error paths follow.
TEST_F(BookCommandsTest, EveryKindOfBadRowLeavesTheBookByteForByte) {
  SaveBook("phone.dat", GenerateBook(50));
  const std::string before = Read("phone.dat");
  const std::string header = "last_name,first_name\n";
  struct Case {
    const char* name;
    std::string csv;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"too long", header + "Lee,Bo\n" + std::string(100, 'x') + ",y\n",
       "line 3, column 1 (last_name): longer than 99 bytes in Windows-1252 (100)"},
      {"outside the code page", header + "Lee,\xE6\x9D\x8E\n",
       "line 2, column 2 (first_name): character U+674E has no place in Windows-1252"},
      {"not UTF-8", header + "M\xFCller,x\n", "line 2, column 1 (last_name): not valid UTF-8"},
      {"tab", header + "\"a\tb\",x\n", "line 2, column 1 (last_name): tab inside a field"},
      {"line break", header + "x,\"a\nb\"\n",
       "line 2, column 2 (first_name): line break inside a field"},
      {"column count", header + "Lee\n", "line 2: 1 field where the header has 2"},
      {"unterminated quote", header + "Lee,\"Bo\n",
       "line 2, column 2: quoted field not closed before the end of the file"},
      {"unknown column", "last_name,age\nLee,9\n",
       "line 1, column 2: unknown column \"age\"; the columns are student_no, last_name, "
       "first_name, middle_name1, middle_name2, gender, birthday, phone, email, cell_phone, "
       "parent_name, parent_phone, address1 to address5, or the program's labels (Student #, "
       "Last Name, First Name, Middle Name1, Middle Name2, Gender, Birthday, Phone, E-mail, "
       "Cell Phone, Parent's Name, Parent's Phone, Address 1 to Address 5); case, blanks and "
       "punctuation do not matter"},
      {"empty file", "", "line 1: no header row; the file is empty"},
  };
  for (const Case& row : cases) {
    Write("bad.csv", row.csv);
    const Outcome imported = Run("import --encoding=utf-8 bad.csv");
    EXPECT_EQ(imported.exitCode, 1) << row.name;
    EXPECT_EQ(imported.err, "kestrel-book: bad.csv: " + row.error + "\n") << row.name;
    EXPECT_EQ(imported.out, "") << row.name;
    EXPECT_EQ(Read("phone.dat"), before) << row.name;
  }
}

TEST_F(BookCommandsTest, DamagedOrMissingBooksAreRefused) {
  Write("phone.dat", "\x07garbage");
  const std::string damaged = Read("phone.dat");
  Write("in.csv", "last_name\nLee\n");
  for (const char* command : {"import in.csv", "export", "list", "search --last-name x"}) {
    const Outcome run = Run(command);
    EXPECT_EQ(run.exitCode, 1) << command;
    EXPECT_EQ(run.err, "kestrel-book: phone.dat: bad checksum\n") << command;
    EXPECT_EQ(Read("phone.dat"), damaged) << command;
  }
  for (const char* command : {"export -f none.dat", "list -f none.dat", "search -f none.dat"}) {
    const Outcome run = Run(command);
    EXPECT_EQ(run.exitCode, 2) << command;
    EXPECT_EQ(run.err, "kestrel-book: none.dat: no such file\n") << command;
  }
  std::filesystem::create_directory(Path("folder.dat"));
  EXPECT_EQ(Run("list -f folder.dat").err,
            "kestrel-book: folder.dat: cannot read: is a directory\n");
  std::string missing = platform::ErrorText(ENOENT);  // the system's words
  missing[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(missing[0])));
  EXPECT_EQ(Run("import none.csv").err, "kestrel-book: none.csv: " + missing + "\n");
}

// A search's CSV goes into spreadsheets as export's does: --safe-cells keeps
// a formula in a field from running there.
TEST_F(BookCommandsTest, SearchCsvKeepsFormulasFromRunningWithSafeCells) {
  SaveBook("phone.dat", {Record({{lastName, "=HYPERLINK(\"x\")"}, {phone, "+1 555"}})});
  const Outcome plain = Run("search --csv");
  const Outcome safe = Run("search --csv --safe-cells");
  ASSERT_EQ(safe.exitCode, 0) << safe.err;
  EXPECT_NE(plain.out.find(",\"=HYPERLINK(\"\"x\"\")\","), std::string::npos) << plain.out;
  EXPECT_NE(safe.out.find(",\"'=HYPERLINK(\"\"x\"\")\","), std::string::npos) << safe.out;
  EXPECT_NE(safe.out.find(",'+1 555,"), std::string::npos) << safe.out;
}

TEST_F(BookCommandsTest, UsageErrors) {
  struct Case {
    const char* args;
    const char* error;
  };
  const Case cases[] = {
      {"import", "import needs a CSV, vCard or workbook file"},
      {"export --format ods", "export: unknown format 'ods'; the formats are csv, vcard and xlsx"},
      {"export --separator '|'", "export: unknown separator '|'; the separators are , ; and tab"},
      {"export --encoding latin1",
       "export: unknown encoding 'latin1'; the encodings are utf-8, utf-8-bom and windows-1252"},
      {"export --format xlsx --separator ';'",
       "export: a workbook takes none of --tsv, --bom, --separator, --encoding and "
       "--safe-cells; its cells are always text"},
      {"import a.csv b.csv",
       "import: unexpected argument 'b.csv' (see kestrel-book import --help)"},
      {"export --csv", "export: unexpected argument '--csv' (see kestrel-book export --help)"},
      {"export -o", "-o needs a value"},
      {"list -f ''", "-f needs a value"},
      {"search --last-name a --last-name=b", "search: --last-name given twice"},
      {"search --nickname x",
       "search: unexpected argument '--nickname' (see kestrel-book search --help)"},
      {"search --first-name \xE6\x9D\x8E",
       "--first-name: character U+674E has no place in Windows-1252"},
      {"search --safe-cells", "search: --safe-cells goes with --csv"},
      // Symptom: a flag given a value ("--csv=1") was taken as the flag, the value dropped.
      {"search --csv=1", "search: unexpected argument '--csv=1' (see kestrel-book search --help)"},
      {"export --force=no",
       "export: unexpected argument '--force=no' (see kestrel-book export --help)"},
  };
  for (const Case& row : cases) {
    const Outcome run = Run(row.args);
    EXPECT_EQ(run.exitCode, 2) << row.args;
    EXPECT_EQ(run.err, std::string("kestrel-book: ") + row.error + "\n") << row.args;
  }
  for (const char* command : {"export", "import", "list", "search"}) {
    const Outcome help = Run(std::string(command) + " --help");
    EXPECT_EQ(help.exitCode, 0) << command;
    EXPECT_EQ(help.out.rfind(std::string("usage: kestrel-book ") + command, 0), 0u) << help.out;
  }
}

// What `search` and `list` print, written out by hand for a small book: the
// program's matching (any case, Windows-1252 accents folded, the address
// parts joined by blanks, deleted records never) and its match-list order
// (bytes as unsigned values: capitals, then small letters, then accented).
TEST_F(BookCommandsTest, SearchAndListAgreeWithTheProgramsSearch) {
  RecordList book = {
      Record({{studentNo, "S1"}, {lastName, "Smith"}, {firstName, "Anna"}, {gender, "F"},
              {phone, "555-0101"}, {email, "anna@school.test"}, {address1, "12 Long Street"},
              {address2, "Leeds"}}),
      Record({{studentNo, "S2"}, {lastName, "smithers"}, {firstName, "bob"}, {gender, "M"},
              {phone, "555-0102"}, {email, "bob@school.test"}, {address1, "3 Mill Lane"}}),
      Record({{studentNo, "S3"}, {lastName, "\xC9tienne"}, {firstName, "Jeanne"}, {gender, "F"},
              {phone, "555-0103"}}),
      Record({{studentNo, "S4"}, {lastName, "Smith"}, {firstName, "Gone"}}),
      Record({{studentNo, "S5"}, {lastName, "Adams"}, {firstName, "Zoe"}, {gender, "F"},
              {phone, "555-0104"}, {address1, "Flat 2"}, {address2, "High Street"}}),
      Record({{studentNo, "S6"}, {lastName, "Brown"}, {firstName, "Carl"}, {gender, "M"}}),
      Record({{studentNo, "S7"}, {lastName, "van Dijk"}, {firstName, "Ida"}, {gender, "f"},
              {phone, "555-0105"}, {address3, "Street"}}),
  };
  Clear(book[3]);  // deleted: neither listed nor found
  SaveBook("phone.dat", book);

  const std::string adams = "Adams, Zoe: 555-0104\n", brown = "Brown, Carl: \n",
                    smith = "Smith, Anna: 555-0101\n", smithers = "smithers, bob: 555-0102\n",
                    vanDijk = "van Dijk, Ida: 555-0105\n",
                    etienne = "\xC3\x89tienne, Jeanne: 555-0103\n";
  const std::string everyone = adams + brown + smith + smithers + vanDijk + etienne;
  const struct {
    std::string args;
    std::string out;
  } cases[] = {
      {"list", everyone},
      {"search", everyone},
      {"search --last-name SMI", smith + smithers},
      {"search --last-name=' '", vanDijk},
      {"search --address 'street' --gender f", adams + smith + vanDijk},
      {"search --address '2 high'", adams},  // across the blank between two parts
      {"search --address 'leeds '", smith},  // each part followed by its blank
      {"search --last-name \xC3\xA9", etienne},
      {"search --first-name an --phone 5 --email .", smith},
      {"search --student-no zzz", ""},
  };
  for (const auto& row : cases) {
    const Outcome run = Run(row.args);
    EXPECT_EQ(run.exitCode, 0) << row.args << ": " << run.err;
    EXPECT_EQ(run.out, row.out) << row.args;
  }
  EXPECT_EQ(Run("search --address '2 high' --csv").out,
            "student_no,last_name,first_name,middle_name1,middle_name2,gender,birthday,phone,"
            "email,cell_phone,parent_name,parent_phone,address1,address2,address3,address4,"
            "address5\r\n"
            "S5,Adams,Zoe,,,F,,555-0104,,,,,Flat 2,High Street,,,\r\n");
}

}  // namespace
