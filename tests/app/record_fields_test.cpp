// The address line, joined from and spread over the five address parts.
#include "app/record_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/search/record_maker.h"
#include "text/field_text.h"

namespace {

std::vector<std::string> AddressParts(const StudentRecord& r) {
  std::vector<std::string> parts;
  for (int i = address1; i <= address5; ++i) parts.emplace_back(r.field(i));
  return parts;
}

TEST(JoinAddressTest, OneBlankBetweenTheNonEmptyParts) {
  struct Row {
    const char* name;
    std::vector<const char*> parts;
    std::string line;
  } rows[] = {
      {"five empty parts", {"", "", "", "", ""}, ""},
      {"part 1 only", {"12 Main St", "", "", "", ""}, "12 Main St"},
      {"empty parts between", {"Elm", "Apt4", "", "Springfield", ""}, "Elm Apt4 Springfield"},
      {"part 3 only", {"", "", "Springfield", "", ""}, "Springfield"},
      {"blanks of a part kept", {" a ", "b", "", "", ""}, " a  b"},
  };
  for (const Row& row : rows) {
    StudentRecord r;
    for (int i = 0; i < 5; ++i) field_text::Store(r.fields[address1 + i], row.parts[i]);
    EXPECT_EQ(JoinAddress(r), row.line) << row.name;
  }
}

// A line of `words` words of `length` letters each, one blank between them.
std::string Words(int words, int length) {
  std::string line;
  for (int i = 0; i < words; ++i) {
    if (i > 0) line += ' ';
    line += std::string(static_cast<std::size_t>(length), static_cast<char>('a' + i % 26));
  }
  return line;
}

TEST(StoreAddressTest, ShortLinesGoToPartOneAndLongOnesSpreadAtBlanks) {
  struct Row {
    const char* name;
    std::string line;
    std::vector<std::string> parts;
  } rows[] = {
      {"empty", "", {"", "", "", "", ""}},
      {"99 characters in part 1", std::string(99, 'x'), {std::string(99, 'x'), "", "", "", ""}},
      {"100 characters with a blank: broken there", Words(2, 60),
       {std::string(60, 'a'), std::string(60, 'b'), "", "", ""}},
      {"a blank right after 99 characters", std::string(99, 'a') + " " + std::string(99, 'b'),
       {std::string(99, 'a'), std::string(99, 'b'), "", "", ""}},
      {"no blank: cut at 99", std::string(150, 'z'), {std::string(99, 'z'), std::string(51, 'z'), "", "", ""}},
      {"five full parts and four blanks", Words(5, 99),
       {std::string(99, 'a'), std::string(99, 'b'), std::string(99, 'c'), std::string(99, 'd'),
        std::string(99, 'e')}},
      {"495 characters without a blank", std::string(495, 'q'),
       {std::string(99, 'q'), std::string(99, 'q'), std::string(99, 'q'), std::string(99, 'q'),
        std::string(99, 'q')}},
  };
  for (const Row& row : rows) {
    StudentRecord r;
    field_text::Store(r.fields[address3], "old");
    ASSERT_TRUE(StoreAddress(r, row.line)) << row.name;
    EXPECT_EQ(AddressParts(r), row.parts) << row.name;
  }
}

TEST(StoreAddressTest, ShowingAndStoringAgainGivesTheSameLine) {
  for (const std::string& line : {Words(3, 20), Words(9, 30), Words(20, 20), Words(5, 99),
                                  std::string(99, 'a') + "  " + std::string(40, 'b')}) {
    StudentRecord r;
    ASSERT_TRUE(StoreAddress(r, line)) << line.size();
    EXPECT_EQ(JoinAddress(r), line) << "a line of " << line.size();
    const std::vector<std::string> before = AddressParts(r);
    ASSERT_TRUE(StoreAddress(r, JoinAddress(r)));
    EXPECT_EQ(AddressParts(r), before) << "a line of " << line.size();
  }
}

// Regression: a line that cannot break at blanks into five parts but can
// be cut at 99 characters, with blanks right at the cuts, was refused.
TEST(StoreAddressTest, CutsAt99WhereBlanksWouldNeedMoreThanFiveParts) {
  const std::string line = "a " + std::string(196, 'x') + " " + std::string(99, 'y') + " " +
                           std::string(99, 'z') + " " + std::string(99, 'w');
  ASSERT_EQ(line.size(), 498u);
  StudentRecord r = MakeRecord({});
  ASSERT_TRUE(AddressFits(line));
  ASSERT_TRUE(StoreAddress(r, line));
  EXPECT_EQ(AddressParts(r), (std::vector<std::string>{"a " + std::string(97, 'x'), std::string(99, 'x'),
                                                       std::string(99, 'y'), std::string(99, 'z'),
                                                       std::string(99, 'w')}));
  EXPECT_FALSE(AddressFits(std::string(499, 'x'))) << "the edit keeps such a line out";
}

// Error paths follow.

TEST(StoreAddressTest, ALineThatFiveFieldsCannotHoldChangesNothing) {
  StudentRecord r = MakeRecord({{address1, "Elm"}, {address4, "Springfield"}});
  for (const std::string& line : {std::string(496, 'x'), std::string(99, 'a') + " " + std::string(400, 'b')}) {
    EXPECT_FALSE(StoreAddress(r, line)) << line.size();
    EXPECT_EQ(AddressParts(r), (std::vector<std::string>{"Elm", "", "", "Springfield", ""}));
  }
}

}  // namespace
