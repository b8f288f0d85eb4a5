// What a field may hold: the dialogs' storing, which turns line breaks into
// blanks, and the imports' check, which refuses them.
#include "text/field_text.h"

#include <cstring>
#include <string>

#include "gtest/gtest.h"

namespace {

TEST(StoreFieldTest, KeepsAtMost99CharactersOnOneLine) {
  struct Row {
    const char* name;
    std::string text;
    std::string stored;
  } rows[] = {
      {"short", "Smith", "Smith"},
      {"empty", "", ""},
      {"exactly 99", std::string(99, 'a'), std::string(99, 'a')},
      {"100 cut to 99", std::string(100, 'b'), std::string(99, 'b')},
      {"tab, line feed, carriage return become blanks", "a\tb\nc\rd", "a b c d"},
      {"Windows-1252 bytes kept", "M\xFCller", "M\xFCller"},
  };
  for (const Row& row : rows) {
    char field[field_text::kMaxLength + 1];
    std::memset(field, 'x', sizeof field);  // old text, no terminator
    field_text::Store(field, row.text);
    EXPECT_EQ(std::string(field), row.stored) << row.name;
    EXPECT_EQ(field[field_text::kMaxLength], '\0') << row.name;
  }
}

TEST(FieldTextTest, CheckNamesTheFirstFaultThenTheLength) {
  using field_text::Fault;
  struct Row {
    const char* name;
    std::string text;
    Fault fault;
  } rows[] = {
      {"plain", "M\xFCller", Fault::kNone},
      {"99 bytes", std::string(99, 'a'), Fault::kNone},
      {"100 bytes", std::string(100, 'a'), Fault::kTooLong},
      {"tab", "a\tb", Fault::kTab},
      {"line feed", "a\nb", Fault::kLineBreak},
      {"lone carriage return", "a\rb", Fault::kLineBreak},
      {"NUL", std::string("a\0b", 3), Fault::kNul},
      {"first fault decides", std::string("\r\t", 2), Fault::kLineBreak},
      {"a fault beats the length", std::string(120, 'a') + "\t", Fault::kTab},
  };
  for (const Row& row : rows) EXPECT_EQ(field_text::Check(row.text), row.fault) << row.name;
  EXPECT_EQ(field_text::Describe(Fault::kTooLong, 104),
            "longer than 99 bytes in Windows-1252 (104)");
}

TEST(FieldTextTest, TypedLineBreaksBecomeBlanks) {
  for (char32_t c : {U'\t', U'\n', U'\r', U'\u2028', U'\u2029'}) {
    EXPECT_EQ(field_text::OneLine(c), U' ') << static_cast<unsigned>(c);
  }
  EXPECT_EQ(field_text::OneLine(U'\u20AC'), U'\u20AC');
  EXPECT_EQ(field_text::OneLine(U'\v'), U'\v');
}

}  // namespace
