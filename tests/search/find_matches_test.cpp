// Matching criteria against records: case folding, substrings, the address
// text, and what FindMatches copies.
#include "search/find_matches.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "text/cp1252.h"
#include "tests/search/record_maker.h"

namespace {

bool Matches(const StudentRecord& record, int criterion, const std::string& text) {
  RecordList book{record};
  SearchCriteria criteria;
  criteria.text[criterion] = text;
  RecordList matches;
  FindMatches(book, criteria, matches);
  return !matches.empty();
}

const StudentRecord kElmStreet = MakeRecord(
    {{lastName, "Doe"}, {address1, "Elm"}, {address2, "Apt4"}, {address4, "Springfield"}});

struct MatchCase {
  const char* name;
  StudentRecord record;
  int criterion;
  std::string text;
  bool expected;
};

TEST(FindMatchesTest, MatchingTable) {
  const std::vector<MatchCase> cases = {
      {"SMI finds Smith", Person("Smith"), lastName, "SMI", true},
      {"SMI finds smith", Person("smith"), lastName, "SMI", true},
      {"SMI finds Goldsmith", Person("Goldsmith"), lastName, "SMI", true},
      {"smith finds SMITH", Person("SMITH"), lastName, "smith", true},
      {"whole field", Person("Smith"), lastName, "Smith", true},
      {"no scattered letters", Person("Smyth"), lastName, "smth", false},
      {"trailing blank is kept", Person("Smith"), lastName, "smith ", false},
      {"trailing blank inside field", Person("Smith Jr"), lastName, "smith ", true},
      {"leading blank is kept", Person("Smith"), lastName, " smith", false},
      {"criterion longer than field", Person("Li"), lastName, "Lin", false},
      {"other field ignored", Person("Smith", "Anna"), lastName, "anna", false},
      {"single blank, field without one", Person("Smith"), lastName, " ", false},
      {"single blank, field with one", Person("Van Dyke"), lastName, " ", true},
      {"single blank, any address", Person("Smith"), address1, " ", true},
      {"address text across an empty part", kElmStreet, address1, "apt4  spring", true},
      {"address needs both blanks", kElmStreet, address1, "apt4 spring", false},
      {"address ends with the blank of the last part", kElmStreet, address1, "field ", true},
      {"address: blanks of the empty last part", kElmStreet, address1, "field  ", true},
      {"address: no third blank", kElmStreet, address1, "field   ", false},
      {"address: first part", kElmStreet, address1, "ELM APT", true},
      {"address: a word in a later part", kElmStreet, address1, "SPRINGF", true},
      {"address: parts never join without their blank", kElmStreet, address1, "elmapt4", false},
      {"E acute folds", Person("\xC9lise"), lastName, "\xE9lise", true},
      {"e acute folds", Person("\xE9lise"), lastName, "\xC9LISE", true},
      {"S caron folds",
       Person("\x8A"
              "ekar"),
       lastName,
       "\x9A"
       "ek",
       true},
      {"s caron folds",
       Person("\x9A"
              "ekar"),
       lastName,
       "\x8A"
       "EK",
       true},
      {"Y diaeresis folds", Person("Ha\x9F"), lastName, "ha\xFF", true},
      {"accent is not dropped", Person("\xC9lise"), lastName, "elise", false},
      {"times sign is no letter",
       Person("a\xD7"
              "b"),
       lastName,
       "a\xF7"
       "b",
       false},
      {"sharp s equals itself",
       Person("Stra\xDF"
              "e"),
       lastName, "STRA\xDF", true},
  };
  for (const MatchCase& row : cases) {
    EXPECT_EQ(Matches(row.record, row.criterion, row.text), row.expected) << row.name;
  }
}

TEST(FindMatchesTest, AddressTextKeepsOneBlankPerPart) {
  EXPECT_EQ(AddressText(kElmStreet), "Elm Apt4  Springfield  ");
  EXPECT_EQ(AddressText(Person("Smith")), "     ");
}

TEST(FindMatchesTest, EachCriterionLooksAtItsOwnField) {
  for (int k = 0; k < address1; ++k) {
    StudentRecord record = MakeRecord({{k, "needle"}});
    EXPECT_TRUE(Matches(record, k, "NEEDLE")) << "criterion " << k;
    const int other = (k + 1) % address1;
    EXPECT_FALSE(Matches(record, other, "NEEDLE")) << "criterion " << other << " for field " << k;
  }
  EXPECT_FALSE(Matches(MakeRecord({{address1, "needle"}}), lastName, "needle"));
}

TEST(FindMatchesTest, EveryCriterionMustHold) {
  RecordList book{Person("Smith", "Anna", "555-0101"), Person("Smith", "Bob", "555-0102"),
                  Person("Jones", "Anna", "555-0103")};
  SearchCriteria criteria;
  criteria.text[lastName] = "smi";
  criteria.text[firstName] = "ANN";
  RecordList matches;
  FindMatches(book, criteria, matches);
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(matches[0].master, &book[0]);
}

TEST(FindMatchesTest, EmptyCriteriaCopyEveryLiveRecordInBookOrder) {
  StudentRecord deleted;
  RecordList book{Person("Smith"), deleted, MakeRecord({{address3, "Springfield"}}),
                  Person("Adams")};
  RecordList matches;
  FindMatches(book, SearchCriteria{}, matches);
  ASSERT_EQ(matches.size(), 3u);
  const StudentRecord* expected[] = {&book[0], &book[2], &book[3]};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(matches[i].master, expected[i]) << "match " << i;
    EXPECT_EQ(RecordLabel(matches[i]), RecordLabel(*expected[i])) << "match " << i;
  }
}

TEST(FindMatchesTest, DeletedRecordsNeverMatch) {
  RecordList book{StudentRecord{}};
  SearchCriteria criteria;
  criteria.text[address1] = " ";  // the address text of a deleted record is five blanks
  RecordList matches;
  FindMatches(book, criteria, matches);
  EXPECT_TRUE(matches.empty());
}

TEST(FindMatchesTest, AppendsWithoutClearing) {
  RecordList book{Person("Smith")};
  RecordList matches{Person("Earlier")};
  FindMatches(book, SearchCriteria{}, matches);
  ASSERT_EQ(matches.size(), 2u);
  EXPECT_EQ(RecordLabel(matches[0]), "Earlier, : ");
  EXPECT_EQ(matches[1].master, &book[0]);
}

TEST(FindMatchesTest, EditThroughMasterIsFoundByTheNextSearch) {
  RecordList book{Person("Smith"), Person("Jones")};
  SearchCriteria criteria;
  criteria.text[lastName] = "smith";
  RecordList matches;
  FindMatches(book, criteria, matches);
  ASSERT_EQ(matches.size(), 1u);
  std::strcpy(matches[0].master->fields[lastName], "Brown");

  matches.clear();
  FindMatches(book, criteria, matches);
  EXPECT_TRUE(matches.empty());
  criteria.text[lastName] = "BROWN";
  FindMatches(book, criteria, matches);
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(matches[0].master, &book[0]);
}

// A field that fills all 100 bytes without a NUL must not run into the next field.
TEST(FindMatchesTest, UnterminatedFieldEndsAtItsSize) {
  StudentRecord record = Person("b");
  std::memset(record.fields[studentNo], 'a', StudentRecord::kFieldSize);
  EXPECT_TRUE(Matches(record, studentNo, std::string(StudentRecord::kFieldSize, 'A')));
  EXPECT_FALSE(Matches(record, studentNo, "ab"));
}

// Folding on the fly must give exactly the matches of lower-casing copies of
// both texts and searching one in the other.
TEST(FindMatchesTest, AgreesWithLowerCopyThenFind) {
  const std::string alphabet = "aAbBsS \xC9\xE9\x8A\x9A\x9F\xFF\xD7\xF7\xDF";
  std::mt19937 random(1234);
  auto randomText = [&](int maxLength) {
    std::string text(random() % (maxLength + 1), ' ');
    for (char& ch : text) ch = alphabet[random() % alphabet.size()];
    return text;
  };
  RecordList book;
  for (int i = 0; i < 400; ++i) {
    StudentRecord record;
    for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
      std::string text = randomText(f == lastName ? 12 : 3);
      std::memcpy(record.fields[f], text.c_str(), text.size() + 1);
    }
    book.push_back(record);
  }
  for (int round = 0; round < 300; ++round) {
    SearchCriteria criteria;
    criteria.text[lastName] = randomText(2);
    if (round % 3 == 0) criteria.text[address1] = randomText(3);
    if (round % 5 == 0) criteria.text[gender] = randomText(1);

    std::vector<const StudentRecord*> expected;
    for (const StudentRecord& record : book) {
      if (IsEmpty(record)) continue;
      bool all = true;
      for (int k = 0; k < StudentRecord::kSearchFieldCount && all; ++k) {
        const std::string text = k < address1 ? std::string(record.fields[k]) : AddressText(record);
        all = cp1252::ToLower(text).find(cp1252::ToLower(criteria.text[k])) != std::string::npos;
      }
      if (all) expected.push_back(&record);
    }
    RecordList matches;
    FindMatches(book, criteria, matches);
    std::vector<const StudentRecord*> found;
    for (const StudentRecord& match : matches) found.push_back(match.master);
    EXPECT_EQ(found, expected) << "round " << round << ", last name criterion '"
                               << criteria.text[lastName] << "'";
  }
}

}  // namespace
