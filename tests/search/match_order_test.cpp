// The match list's order: label byte order, unsigned, a prefix first; and
// SortMatches giving that order with the records and labels side by side.
#include "search/match_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/search/record_maker.h"

namespace {

std::vector<std::string> Labels(const RecordList& records) {
  std::vector<std::string> labels;
  for (const StudentRecord& record : records) labels.push_back(RecordLabel(record));
  return labels;
}

struct OrderCase {
  const char* name;
  RecordList ascending;  // the order the list must show
};

TEST(MatchOrderTest, OrderTable) {
  const StudentRecord deleted;
  const std::vector<OrderCase> cases = {
      {"capitals before small letters", {Person("Adams"), Person("Smith"), Person("adams")}},
      {"phone as text", {Person("Lee", "Ann", "10"), Person("Lee", "Ann", "2")}},
      {"blank, comma, hyphen after the name",
       {Person("Smith Jr"), Person("Smith"), Person("Smith-Jones")}},
      {"first name decides after equal last names", {Person("Lee", "Ann"), Person("Lee", "Bo")}},
      {"deleted between digits and letters",
       {Person(" Blank"), Person("", "Ann"), Person("9Lives"), deleted, Person("Adams")}},
      {"bytes are unsigned", {Person("Zed"), Person("zed"), Person("\xC4rger")}},
      {"only the third address part set", {MakeRecord({{address3, "x"}}), deleted}},
  };
  for (const OrderCase& row : cases) {
    for (std::size_t i = 0; i + 1 < row.ascending.size(); ++i) {
      const StudentRecord& a = row.ascending[i];
      const StudentRecord& b = row.ascending[i + 1];
      EXPECT_TRUE(LabelLess(a, b)) << row.name << ": " << RecordLabel(a) << " < " << RecordLabel(b);
      EXPECT_FALSE(LabelLess(b, a))
          << row.name << ": " << RecordLabel(b) << " !< " << RecordLabel(a);
    }
    RecordList shuffled(row.ascending.rbegin(), row.ascending.rend());
    const std::vector<std::string> labels = SortMatches(shuffled);
    EXPECT_EQ(Labels(shuffled), Labels(row.ascending)) << row.name;
    EXPECT_EQ(labels, Labels(row.ascending)) << row.name;
  }
}

TEST(MatchOrderTest, EqualLabelsAreNotLess) {
  EXPECT_FALSE(LabelLess(Person("Smith", "Ann", "1"), Person("Smith", "Ann", "1")));
  EXPECT_FALSE(LabelLess(StudentRecord{}, StudentRecord{}));
}

TEST(MatchOrderTest, SortMatchesOfNothingAndOfOne) {
  RecordList none;
  EXPECT_TRUE(SortMatches(none).empty());
  RecordList one{Person("Smith", "Ann", "1")};
  EXPECT_EQ(SortMatches(one), std::vector<std::string>{"Smith, Ann: 1"});
}

// SortMatches must give the order of std::sort by LabelLess, keep each record
// whole with its own link, and return each record's own label; SortByLabel
// must put pointers to the same records in the same order, ties included.
TEST(MatchOrderTest, SortMatchesAgreesWithSortByLabelLess) {
  std::mt19937 random(99);
  const char* lasts[] = {"Smith", "smith", "Smith Jr", "Smith-Jones",
                         "Adams", "",      "9x",       "\xC9mile"};
  const char* firsts[] = {"Ann", "Bo", ""};
  const char* phones[] = {"10", "2", ""};
  for (int round = 0; round < 20; ++round) {
    RecordList book;
    const int size = 1 + static_cast<int>(random() % 300);
    for (int i = 0; i < size; ++i) {
      StudentRecord record;
      if (random() % 10 != 0) {
        record = Person(lasts[random() % 8], firsts[random() % 3], phones[random() % 3]);
        std::snprintf(record.fields[studentNo], StudentRecord::kFieldSize, "%d", i);
      }
      book.push_back(record);
    }
    RecordList matches = book;
    for (std::size_t i = 0; i < book.size(); ++i) matches[i].master = &book[i];

    RecordList expected = matches;
    std::sort(expected.begin(), expected.end(), LabelLess);
    const std::vector<std::string> labels = SortMatches(matches);

    ASSERT_EQ(Labels(matches), Labels(expected)) << "round " << round;
    std::vector<const StudentRecord*> pointers;
    for (const StudentRecord& record : book) pointers.push_back(&record);
    SortByLabel(pointers);
    ASSERT_EQ(pointers.size(), matches.size());
    for (std::size_t i = 0; i < pointers.size(); ++i) {
      EXPECT_EQ(pointers[i], matches[i].master) << "round " << round << ": position " << i;
    }
    EXPECT_EQ(labels, Labels(matches)) << "round " << round;
    std::vector<bool> seen(book.size(), false);
    for (const StudentRecord& match : matches) {
      const std::size_t index = match.master - book.data();
      ASSERT_LT(index, book.size()) << "round " << round;
      EXPECT_FALSE(seen[index]) << "round " << round << ": record " << index << " twice";
      seen[index] = true;
      EXPECT_STREQ(match.fields[studentNo], book[index].fields[studentNo])
          << "round " << round << ": a record lost its link";
    }
  }
}

}  // namespace
