// Dialog units to pixels.
#include "app/toolkit/dialog_units.h"

#include "gtest/gtest.h"

namespace {

TEST(DialogUnitsTest, MulDivRoundsHalvesAwayFromZero) {
  struct Row {
    int a, b, c, expected;
  } rows[] = {
      {342, 7, 4, 599},  // 598.5
      {10, 13, 8, 16},   // 16.25
      {4, 13, 8, 7},     // 6.5
      {3, 6, 4, 5},      // 4.5
      {0, 7, 4, 0},     {-3, 6, 4, -5}, {3, -6, 4, -5}, {7, 7, 0, 0},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(MulDiv(row.a, row.b, row.c), row.expected)
        << row.a << " * " << row.b << " / " << row.c;
  }
}

TEST(DialogUnitsTest, BaseUnitsRoundTheAverageCharacterWidth) {
  struct Row {
    const char* name;
    int alphabetWidth, height;
    BaseUnits expected;
  } rows[] = {
      {"6.0 wide", 312, 13, {6, 13}},
      {"6.5 wide rounds up", 338, 13, {7, 13}},
      {"6.48 wide rounds down", 337, 13, {6, 13}},
      {"6.98 wide", 363, 13, {7, 13}},
  };
  for (const Row& row : rows) {
    const BaseUnits base = BaseUnitsFromFont(row.alphabetWidth, row.height);
    EXPECT_EQ(base.x, row.expected.x) << row.name;
    EXPECT_EQ(base.y, row.expected.y) << row.name;
  }
}

TEST(DialogUnitsTest, ConvertsQuartersAndEighths) {
  const BaseUnits base{7, 13};
  struct Row {
    const char* name;
    int dialogUnits;
    bool horizontal;
    int pixels;
  } rows[] = {
      {"main form width", 342, true, 599}, {"main form height", 290, false, 471},
      {"edit height", 10, false, 16},      {"edit width", 240, true, 420},
      {"label column", 91, true, 159},     {"button height", 15, false, 24},
  };
  for (const Row& row : rows) {
    const int pixels = row.horizontal ? DialogXToPixels(row.dialogUnits, base)
                                      : DialogYToPixels(row.dialogUnits, base);
    EXPECT_EQ(pixels, row.pixels) << row.name;
  }
}

}  // namespace
