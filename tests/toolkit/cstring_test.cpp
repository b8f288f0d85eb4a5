// CString: formatting, folding, substring search and the string table.
#include "app/toolkit/cstring.h"

#include <string>

#include "gtest/gtest.h"
#include "res/resources.h"

namespace {

TEST(CStringTest, FormatsLikePrintf) {
  CString caption;
  caption.Format("Matching Record %d of %d", 3, 7);
  EXPECT_EQ(caption, "Matching Record 3 of 7");
  caption.Format("%d", -12);
  EXPECT_EQ(caption, "-12");
}

TEST(CStringTest, FormatGrowsPastAnyFixedBuffer) {
  const std::string longText(5000, 'x');
  CString s;
  s.Format("<%s>", longText.c_str());
  EXPECT_EQ(s.GetLength(), 5002);
  EXPECT_EQ(s.str(), "<" + longText + ">");
}

TEST(CStringTest, FormatMayReadItsOwnText) {
  CString s = "abc";
  s.Format("%s-%s", s.GetString(), s.GetString());
  EXPECT_EQ(s, "abc-abc");
}

TEST(CStringTest, MakeLowerFoldsTheCodePage) {
  struct Row {
    const char* name;
    const char* in;
    const char* out;
  } rows[] = {
      {"ascii", "SMITH, John 42", "smith, john 42"},
      {"accented capitals", "\xC4\xD6\xDC\xC9", "\xE4\xF6\xFC\xE9"},
      {"multiplication sign kept", "\xD7", "\xD7"},
      {"sharp s kept", "\xDF", "\xDF"},
      {"S caron, OE, Z caron, Y diaeresis", "\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"},
      {"punctuation kept", "@[`{", "@[`{"},
  };
  for (const Row& row : rows) {
    CString s = row.in;
    s.MakeLower();
    EXPECT_EQ(s, row.out) << row.name;
  }
}

TEST(CStringTest, FindReturnsTheFirstIndexOrMinusOne) {
  struct Row {
    const char* name;
    const char* text;
    const char* what;
    int start;
    int expected;
  } rows[] = {
      {"inside", "goldsmith", "smith", 0, 4},    {"at the start", "smith", "smi", 0, 0},
      {"first of two", "abab", "ab", 0, 0},      {"from a start", "abab", "ab", 1, 2},
      {"missing", "smith", "jones", 0, -1},      {"longer than the text", "abc", "abcd", 0, -1},
      {"empty in text", "abc", "", 0, 0},        {"empty in empty", "", "", 0, 0},
      {"something in empty", "", "a", 0, -1},    {"case matters", "Smith", "smith", 0, -1},
      {"start past the end", "abc", "a", 9, -1}, {"trailing blank", "smith", "smith ", 0, -1},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(CString(row.text).Find(row.what, row.start), row.expected) << row.name;
  }
  EXPECT_EQ(CString("a,b").Find(','), 1);
  EXPECT_EQ(CString("ab").Find(','), -1);
}

TEST(CStringTest, LoadStringReadsTheStringTable) {
  AfxSetResources(ProgramResources());
  CString about = "unchanged";
  EXPECT_TRUE(about.LoadString(101));
  EXPECT_EQ(about, "&About Kestrel");
  // Error paths follow.
  CString missing = "unchanged";
  EXPECT_FALSE(missing.LoadString(9999));
  EXPECT_EQ(missing, "unchanged");
}

TEST(CStringTest, ConvertsToAndFromStandardStrings) {
  const std::string text = "Gr\xFC\xDF";
  CString s = text;
  EXPECT_EQ(s.GetLength(), 4);
  EXPECT_EQ(std::string(static_cast<const char*>(s)), text);
  EXPECT_EQ(s.str(), text);
  s.Empty();
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_EQ(CString(static_cast<const char*>(nullptr)), "");
}

}  // namespace
