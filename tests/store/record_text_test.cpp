// The text form of records: parsing lines, writing lines, whole books.
#include "store/record_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tools/book_generator.h"

namespace {

std::vector<std::string> Fields(const StudentRecord& record) {
  std::vector<std::string> out;
  for (const auto& field : record.fields) out.emplace_back(field);
  return out;
}

// The 17 fields: the given ones first, the rest empty.
std::vector<std::string> Expect(std::vector<std::string> given) {
  given.resize(StudentRecord::kFieldCount);
  return given;
}

struct ParseCase {
  const char* name;
  std::string line;
  std::vector<std::string> fields;
};

TEST(RecordText, ParseRecordCases) {
  const std::string s99(99, 'x'), s100(100, 'y'), s250(250, 'z');
  std::string seventeen;
  for (int i = 0; i < 17; ++i) seventeen += std::to_string(i) + "\t";
  std::vector<std::string> numbers;
  for (int i = 0; i < 17; ++i) numbers.push_back(std::to_string(i));

  const ParseCase cases[] = {
      {"A tab B", "A\tB", Expect({"A", "B"})},
      {"empty line", "", Expect({})},
      {"all 17 fields", seventeen, numbers},
      {"text after the 17th tab is ignored", seventeen + "extra\tmore", numbers},
      {"fewer than 17 tabs", "a\tb\tc\t", Expect({"a", "b", "c"})},
      {"empty fields between tabs", "\t\tc\t\te", Expect({"", "", "c", "", "e"})},
      {"99 characters fit", s99 + "\tnext", Expect({s99, "next"})},
      {"99 characters at the end", "a\t" + s99, Expect({"a", s99})},
      {"100 characters are cut and empty the rest", "a\t" + s100 + "\tlost\tlost",
       Expect({"a", std::string(99, 'y')})},
      {"250 characters", s250 + "\tlost", Expect({std::string(99, 'z')})},
      {"carriage return is text", "a\r\tb\r", Expect({"a\r", "b\r"})},
  };
  for (const ParseCase& c : cases) {
    StudentRecord record;
    record.master = &record;
    ParseRecord(c.line, record);
    EXPECT_EQ(Fields(record), c.fields) << c.name;
    EXPECT_EQ(record.master, &record) << c.name << ": the link is not the parser's";
  }
}

StudentRecord Record(std::vector<std::string> fields) {
  StudentRecord record;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    std::snprintf(record.fields[i], StudentRecord::kFieldSize, "%s", fields[i].c_str());
  }
  return record;
}

struct WriteCase {
  const char* name;
  StudentRecord record;
  std::string line;
};

TEST(RecordText, WriteRecordCases) {
  const WriteCase cases[] = {
      {"deleted record writes nothing", Record({}), ""},
      {"A and B", Record({"A", "B"}), "A\tB" + std::string(16, '\t') + "\n"},
      {"only address part 3",
       Record(Expect({"", "", "", "", "", "", "", "", "", "", "", "", "", "", "x"})),
       std::string(14, '\t') + "x" + std::string(3, '\t') + "\n"},
      // A tab or line feed typed into a field would shift every later field on reload.
      {"tab and line feed inside a field", Record({"a\tb", "c\nd"}),
       "a b\tc d" + std::string(16, '\t') + "\n"},
  };
  for (const WriteCase& c : cases) {
    std::string out = "before";
    WriteRecord(c.record, out);
    EXPECT_EQ(out, "before" + c.line) << c.name;
  }
}

TEST(RecordText, FieldWithoutTerminatorIsWrittenAsItsFirst99Characters) {
  StudentRecord record;
  std::memset(record.fields[0], 'q', StudentRecord::kFieldSize);  // no NUL at all
  std::string out;
  WriteRecord(record, out);
  EXPECT_EQ(out, std::string(99, 'q') + std::string(17, '\t') + "\n");
}

struct BookCase {
  const char* name;
  std::string text;
  std::vector<std::string> firstFields;  // field 0 of each record
};

TEST(RecordText, ParseBookTextCases) {
  const std::string longLine = std::string(3000, 'L') + "\tsecond";
  const BookCase cases[] = {
      {"empty text", "", {}},
      {"one line", "a\tb\t\n", {"a"}},
      {"last line without line feed", "a\nb", {"a", "b"}},
      {"empty lines become deleted records", "a\n\n\nb\n", {"a", "", "", "b"}},
      {"only a line feed", "\n", {""}},
      // Regression: a line over 2047 characters used to end loading there,
      // and the next save then dropped every record after it.
      {"line longer than 2047 characters",
       "a\n" + longLine + "\nc\n",
       {"a", std::string(99, 'L'), "c"}},
  };
  for (const BookCase& c : cases) {
    RecordList records(5);  // replaced, not appended to
    ParseBookText(c.text, records);
    std::vector<std::string> first;
    for (const auto& record : records) first.emplace_back(record.fields[0]);
    EXPECT_EQ(first, c.firstFields) << c.name;
    EXPECT_EQ(CountBookLines(c.text), c.firstFields.size()) << c.name;
  }
}

// An empty line given as a view without data passed a null pointer to memchr and memcpy.
TEST(RecordText, EmptyViewWithoutDataParsesToEmptyFields) {
  StudentRecord record;
  std::memset(record.fields, 'X', sizeof record.fields);
  ParseRecord(std::string_view{}, record);
  EXPECT_TRUE(IsEmpty(record));
  RecordList records(2);
  ParseBookText(std::string_view{}, records);
  EXPECT_TRUE(records.empty());
}

TEST(RecordText, GeneratedBookSurvivesTextAndBack) {
  const RecordList book = GenerateBook(3000);
  const std::string text = BookText(book);
  RecordList back;
  ParseBookText(text, back);
  ASSERT_EQ(back.size(), book.size());
  for (std::size_t i = 0; i < book.size(); ++i) {
    ASSERT_EQ(Fields(back[i]), Fields(book[i])) << "record " << i;
  }
}

// A text of a megabyte or more is parsed in two halves at once: every line
// lands in its own record, in order, wherever the halves meet.
TEST(RecordText, LargeTextParsesAsLineByLine) {
  const std::string book = BookText(GenerateBook(8000));
  ASSERT_GE(book.size(), std::size_t{1} << 20) << "too small to be split";
  const std::string half(std::size_t{1} << 20, 'x');
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"generated book", book},
      {"generated book, last line without line feed", book + "tail\tfield"},
      {"no line feed past the middle", "a\nb\n" + half + half},
      {"only line feed is the last byte", half + half + "\n"},
      {"line feed right at the middle", half + "\n" + half},
      {"empty lines around the middle", half + "\n\n\n\n" + half + "\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::vector<std::string>> expected;
    std::string_view rest = c.text;
    while (!rest.empty()) {
      const std::size_t feed = std::min(rest.find('\n'), rest.size());
      expected.push_back(Fields(ParseRecord(rest.substr(0, feed))));
      rest.remove_prefix(std::min(rest.size(), feed + 1));
    }
    EXPECT_EQ(CountBookLines(c.text), expected.size()) << c.name;
    const auto check = [&](const RecordList& records, const std::string& how) {
      ASSERT_EQ(records.size(), expected.size()) << c.name << how;
      for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(Fields(records[i]), expected[i]) << c.name << how << ", record " << i;
        ASSERT_EQ(records[i].master, nullptr) << c.name << how << ", record " << i;
      }
    };
    RecordList records(3);  // replaced, not appended to
    ParseBookText(c.text, records);
    check(records, "");
    // Loading makes the empty records first, as many as the file's table says.
    for (const std::size_t made : {expected.size() - 1, expected.size(), expected.size() + 5}) {
      RecordList empty(made);
      ParseBookTextIntoEmpty(c.text, empty);
      check(empty, ", into " + std::to_string(made) + " empty records");
    }
  }
}

TEST(RecordText, GeneratedBookIsVariedAndDeterministic) {
  const RecordList book = GenerateBook(2000);
  EXPECT_EQ(BookText(book), BookText(GenerateBook(2000)));
  int hyphenated = 0, twoWords = 0, lowerCase = 0, accented = 0, gaps = 0;
  for (const auto& record : book) {
    const std::string last = record.fields[lastName];
    hyphenated += last.find('-') != std::string::npos;
    twoWords += last.find(' ') != std::string::npos;
    lowerCase += last[0] >= 'a' && last[0] <= 'z';
    for (const auto& field : record.fields) {
      for (const char* p = field; *p != '\0'; ++p)
        accented += static_cast<unsigned char>(*p) >= 0x80;
    }
    for (int part = address2; part < address5; ++part) {
      gaps += record.fields[part][0] == '\0' && record.fields[part + 1][0] != '\0';
    }
  }
  EXPECT_GT(hyphenated, 0);
  EXPECT_GT(twoWords, 0);
  EXPECT_GT(lowerCase, 0);
  EXPECT_GT(accented, 0);
  EXPECT_GT(gaps, 0);
}

}  // namespace
