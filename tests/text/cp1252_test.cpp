// Windows-1252 <-> Unicode and the code page's lower-case folding.
#include "text/cp1252.h"

#include <string>

#include "gtest/gtest.h"

namespace {

TEST(Cp1252Test, MapsBytesToCodePoints) {
  struct Row {
    const char* name;
    unsigned char byte;
    char32_t code;
  } rows[] = {
      {"ascii", 0x41, U'A'},     {"euro", 0x80, 0x20AC},        {"undefined 0x81", 0x81, 0x81},
      {"S caron", 0x8A, 0x0160}, {"right quote", 0x92, 0x2019}, {"Y diaeresis", 0x9F, 0x0178},
      {"copyright", 0xA9, 0xA9}, {"y diaeresis", 0xFF, 0xFF},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(cp1252::ToUnicode(row.byte), row.code) << row.name;
    unsigned char back = 0;
    EXPECT_TRUE(cp1252::FromUnicode(row.code, &back)) << row.name;
    EXPECT_EQ(back, row.byte) << row.name;
  }
  unsigned char out = 0;
  EXPECT_FALSE(cp1252::FromUnicode(0x65E5, &out)) << "a CJK character";
  EXPECT_FALSE(cp1252::FromUnicode(0x0100, &out)) << "A macron";
}

TEST(Cp1252Test, ToLowerFoldsLettersOnly) {
  struct Row {
    const char* name;
    unsigned char in;
    unsigned char out;
  } rows[] = {
      {"A", 'A', 'a'},
      {"Z", 'Z', 'z'},
      {"@", '@', '@'},
      {"[", '[', '['},
      {"a", 'a', 'a'},
      {"A grave", 0xC0, 0xE0},
      {"times", 0xD7, 0xD7},
      {"THORN", 0xDE, 0xFE},
      {"sharp s", 0xDF, 0xDF},
      {"S caron", 0x8A, 0x9A},
      {"OE", 0x8C, 0x9C},
      {"Z caron", 0x8E, 0x9E},
      {"Y diaeresis", 0x9F, 0xFF},
      {"euro", 0x80, 0x80},
      {"a grave", 0xE0, 0xE0},
  };
  for (const Row& row : rows) EXPECT_EQ(cp1252::ToLower(row.in), row.out) << row.name;
}

TEST(Cp1252Test, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const auto back = cp1252::FromUtf8(cp1252::ToUtf8(all));
  EXPECT_TRUE(back.exact);
  EXPECT_EQ(back.text, all);
}

TEST(Cp1252Test, FromUtf8MarksWhatItCannotHold) {
  using Failure = cp1252::FromUtf8Result::Failure;
  struct Row {
    const char* name;
    const char* utf8;
    const char* text;
    bool exact;
    std::size_t badOffset;
    Failure failure;
    char32_t badChar;
  } rows[] = {
      {"plain",
       "M\xC3\xBCller \xE2\x82\xAC"
       "5",
       "M\xFCller \x80"
       "5",
       true, 0, Failure::kNone, 0},
      {"CJK",
       "a\xE6\x97\xA5"
       "b",
       "a?b", false, 1, Failure::kUnrepresentable, 0x65E5},
      {"emoji is one character", "\xF0\x9F\x98\x80", "?", false, 0, Failure::kUnrepresentable,
       0x1F600},
      {"cut-off sequence", "ab\xC3", "ab?", false, 2, Failure::kMalformed, 0},
      {"stray continuation", "\x80x", "?x", false, 0, Failure::kMalformed, 0},
      {"overlong slash", "\xC0\xAF", "??", false, 0, Failure::kMalformed, 0},
      {"surrogate", "\xED\xA0\x80", "???", false, 0, Failure::kMalformed, 0},
      {"first failure is reported", "\xE6\x97\xA5\xC3", "??", false, 0,
       Failure::kUnrepresentable, 0x65E5},
  };
  for (const Row& row : rows) {
    const auto result = cp1252::FromUtf8(row.utf8);
    EXPECT_EQ(result.text, row.text) << row.name;
    EXPECT_EQ(result.exact, row.exact) << row.name;
    EXPECT_EQ(result.failure, row.failure) << row.name;
    if (!row.exact) {
      EXPECT_EQ(result.badOffset, row.badOffset) << row.name;
      EXPECT_EQ(result.badChar, row.badChar) << row.name;
    }
  }
}

}  // namespace
