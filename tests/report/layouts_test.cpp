// The three layouts' geometry, checked against the sheets' and pages' own
// measures rather than the layout code's constants.
#include "report/layouts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "report/text_metrics.h"
#include "text/form_labels.h"

namespace {

using report::Document;
using report::Layout;
using report::Paper;
using report::TextRun;

constexpr double kMm = 72.0 / 25.4;
constexpr double kInch = 72.0;
constexpr double kTenthMm = 0.1 * kMm;

StudentRecord Record(std::initializer_list<std::pair<int, std::string>> values) {
  StudentRecord record;
  for (const auto& [field, text] : values) std::strcpy(record.fields[field], text.c_str());
  return record;
}

std::vector<const StudentRecord*> Pointers(const std::vector<StudentRecord>& records) {
  std::vector<const StudentRecord*> pointers;
  for (const StudentRecord& record : records) pointers.push_back(&record);
  return pointers;
}

std::vector<TextRun> Runs(const report::Page& page) {
  std::vector<TextRun> runs;
  for (const report::DrawOp& op : page.ops) {
    if (const auto* run = std::get_if<TextRun>(&op)) runs.push_back(*run);
  }
  return runs;
}

double Width(const TextRun& run) { return report::TextWidth(run.text, run.weight, run.size); }

// The Helvetica faces' bounding box per point of size: what a run's ink may reach.
constexpr double kAscent = 0.931;
constexpr double kDescent = 0.225;

struct Sheet {
  Paper paper;
  int columns, rows;
  double width, height, top, left, columnPitch, rowPitch;  // points
};

const Sheet kSheets[] = {
    {Paper::a4, 3, 7, 63.5 * kMm, 38.1 * kMm, 15.15 * kMm, 7.2 * kMm, 66.04 * kMm, 38.1 * kMm},
    {Paper::letter, 3, 10, 2.625 * kInch, 1 * kInch, 0.5 * kInch, 0.1875 * kInch, 2.75 * kInch,
     1 * kInch},
};

// Six lines a label: the addressee and five address parts, some far too
// wide, so every label shrinks, and most are cut.
std::vector<StudentRecord> FullLabels(int count) {
  std::vector<StudentRecord> records;
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    records.push_back(Record({{firstName, "First" + n},
                              {lastName, std::string(i % 3 * 30, 'W') + "Last"},
                              {address1, "1 Elm St"},
                              {address2, "Apt " + n},
                              {address3, std::string(60, 'M')},
                              {address4, "Springfield"},
                              {address5, "49004"}}));
  }
  return records;
}

TEST(LabelLayoutTest, EveryLabelStartsInItsCellAndStaysInside) {
  for (const Sheet& sheet : kSheets) {
    SCOPED_TRACE(sheet.paper == Paper::a4 ? "A4" : "Letter");
    const int cells = sheet.columns * sheet.rows;
    const auto records = FullLabels(cells + 1);
    report::ReportOptions options;
    options.layout = Layout::labels;
    options.paper = sheet.paper;
    const Document document = report::LayOut(Pointers(records), options);
    ASSERT_EQ(document.pages.size(), 2u);
    const auto first = Runs(document.pages[0]);
    ASSERT_EQ(first.size(), 6u * cells);
    ASSERT_EQ(Runs(document.pages[1]).size(), 6u);  // the one over goes to the next sheet

    for (int cell = 0; cell < cells; ++cell) {
      const double left = sheet.left + (cell % sheet.columns) * sheet.columnPitch;
      const double top = sheet.top + (cell / sheet.columns) * sheet.rowPitch;
      const TextRun& addressee = first[6 * cell];
      EXPECT_EQ(addressee.text.rfind("First" + std::to_string(cell), 0), 0u) << cell;
      EXPECT_NEAR(addressee.x, left + 6, kTenthMm) << cell;  // the text's inset
      const TextRun& last = first[6 * cell + 5];             // the block is centred in the cell
      EXPECT_NEAR(addressee.y - kAscent * addressee.size - top,
                  top + sheet.height - last.y - kDescent * last.size, kTenthMm)
          << cell;
      for (int line = 0; line < 6; ++line) {
        const TextRun& run = first[6 * cell + line];
        EXPECT_GE(run.size, 7.0);
        EXPECT_LE(run.size, 10.0);
        EXPECT_GE(run.x, left) << cell << ": " << run.text;
        EXPECT_LE(run.x + Width(run), left + sheet.width) << cell << ": " << run.text;
        EXPECT_GE(run.y - kAscent * run.size, top) << cell << ": " << run.text;
        EXPECT_LE(run.y + kDescent * run.size, top + sheet.height) << cell << ": " << run.text;
      }
    }
  }
}

TEST(LabelLayoutTest, TextShrinksToFitThenIsCut) {
  struct Case {
    std::string line;
    double size;  // 0: below 10 and above 7
    bool cut;
  };
  const Case cases[] = {
      {"1 Elm St", 10, false},
      {std::string(36, 'n'), 0, false},  // too wide at 10 pt, fits smaller
      {std::string(99, 'W'), 7, true},
  };
  for (const Case& c : cases) {
    const StudentRecord record = Record({{firstName, "Al"}, {address1, c.line}});
    report::ReportOptions options;
    options.layout = Layout::labels;
    const std::vector<StudentRecord> records{record};
    const auto runs = Runs(report::LayOut(Pointers(records), options).pages[0]);
    ASSERT_EQ(runs.size(), 2u);
    if (c.size > 0) {
      EXPECT_EQ(runs[1].size, c.size) << c.line;
    } else {
      EXPECT_GT(runs[1].size, 7.0);
      EXPECT_LT(runs[1].size, 10.0);
    }
    EXPECT_EQ(runs[0].size, runs[1].size) << "one size for the whole label";
    EXPECT_EQ(runs[1].text.back() == report::kEllipsis, c.cut) << c.line;
  }
}

TEST(LabelLayoutTest, SkipLeavesTheFirstCellsEmptyAndAddresseeMayBeTheParent) {
  std::vector<StudentRecord> records;
  for (int i = 0; i < 17; ++i) {
    records.push_back(Record({{firstName, "Kid" + std::to_string(i)},
                              {lastName, "X"},
                              {parentName, i == 0 ? "" : "Parent" + std::to_string(i)}}));
  }
  report::ReportOptions options;
  options.layout = Layout::labels;
  options.skipLabels = 5;
  options.to = report::Addressee::parent;
  const Document document = report::LayOut(Pointers(records), options);
  ASSERT_EQ(document.pages.size(), 2u);
  const auto first = Runs(document.pages[0]);
  ASSERT_EQ(first.size(), 16u);
  // Cell 5: the second row's third label.
  EXPECT_NEAR(first[0].x, 7.2 * kMm + 2 * 66.04 * kMm + 6, kTenthMm);
  EXPECT_GT(first[0].y, 15.15 * kMm + 38.1 * kMm);
  EXPECT_LT(first[0].y, 15.15 * kMm + 2 * 38.1 * kMm);
  EXPECT_EQ(first[0].text, "Kid0 X");  // no parent named: the student
  EXPECT_EQ(first[1].text, "Parent1");
  const auto second = Runs(document.pages[1]);
  ASSERT_EQ(second.size(), 1u);
  EXPECT_NEAR(second[0].x, 7.2 * kMm + 6, kTenthMm);
}

// A list of `count` records named "Name0001"... for page breaks.
std::vector<StudentRecord> Numbered(int count) {
  std::vector<StudentRecord> records;
  for (int i = 0; i < count; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "Name%04d", i);
    records.push_back(Record({{lastName, name}, {phone, "555-0100"}}));
  }
  return records;
}

TEST(ListLayoutTest, PagesRepeatTheHeadsCountThemselvesAndKeepEveryRowInOrder) {
  for (const bool landscape : {false, true}) {
    SCOPED_TRACE(landscape ? "landscape" : "portrait");
    const auto records = Numbered(130);
    report::ReportOptions options;
    options.landscape = landscape;
    options.bookName = "phone.dat";
    const Document document = report::LayOut(Pointers(records), options);
    EXPECT_EQ(document.paper.width > document.paper.height, landscape);
    const std::size_t pages = document.pages.size();
    ASSERT_GE(pages, 2u);

    std::vector<std::string> names;
    std::vector<std::size_t> rowsOnPage;
    for (std::size_t p = 0; p < pages; ++p) {
      rowsOnPage.push_back(names.size());
      const auto runs = Runs(document.pages[p]);
      const auto has = [&](const std::string& text) {
        return std::any_of(runs.begin(), runs.end(),
                           [&](const TextRun& r) { return r.text == text; });
      };
      EXPECT_TRUE(has("phone.dat \x97 All records")) << p;
      EXPECT_TRUE(has("Student #")) << p;
      EXPECT_TRUE(has("Parent's Phone")) << p;
      EXPECT_TRUE(has("Page " + std::to_string(p + 1) + " of " + std::to_string(pages))) << p;
      double footTop = document.paper.height;
      for (const TextRun& run : runs) {
        if (run.text.rfind("Page ", 0) == 0) footTop = run.y - kAscent * run.size;
      }
      for (const TextRun& run : runs) {
        if (run.text.rfind("Name0", 0) != 0) continue;
        names.push_back(run.text);
        EXPECT_LT(run.y + kDescent * run.size, footTop) << run.text;
      }
      rowsOnPage.back() = names.size() - rowsOnPage.back();
    }
    ASSERT_EQ(names.size(), records.size());
    for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(names[i], records[i].fields[lastName]);
    // Every page but the last is as full as the first.
    for (std::size_t p = 1; p + 1 < pages; ++p) EXPECT_EQ(rowsOnPage[p], rowsOnPage[0]) << p;
    EXPECT_LE(rowsOnPage.back(), rowsOnPage[0]);
  }
}

TEST(ListLayoutTest, LongCellsAreCutBeforeTheNextColumn) {
  const std::string wide(99, 'i');  // narrow letters: a cut one letter too late shows
  std::vector<StudentRecord> records{Record({{lastName, wide},
                                             {firstName, wide},
                                             {studentNo, wide},
                                             {birthday, wide},
                                             {phone, wide},
                                             {cellPhone, wide},
                                             {parentName, wide},
                                             {parentPhone, wide}})};
  report::ReportOptions options;
  options.searchText = std::string(200, 'S');  // the title gives way to the date
  options.date = "2026-12-09";
  const Document document = report::LayOut(Pointers(records), options);
  const auto runs = Runs(document.pages[0]);
  std::vector<double> columns;  // the heads' left edges
  double rowY = -1;
  for (const TextRun& run : runs) {
    if (run.weight == report::Weight::bold && run.size == 9) columns.push_back(run.x);
  }
  ASSERT_EQ(columns.size(), 7u);
  columns.push_back(document.paper.width - 36);
  int cells = 0;
  for (const TextRun& run : runs) {
    if (run.weight != report::Weight::regular || run.text.find("iii") == std::string::npos)
      continue;
    rowY = run.y;
    const auto c = std::find(columns.begin(), columns.end(), run.x) - columns.begin();
    ASSERT_LT(c, 7) << run.x;
    EXPECT_EQ(run.text.back(), report::kEllipsis);
    EXPECT_LT(run.x + Width(run), columns[c + 1]) << "column " << c;
    ++cells;
  }
  EXPECT_EQ(cells, 7);
  EXPECT_GT(rowY, 0);
  const TextRun& title = runs[0];
  const TextRun& date = runs[1];
  EXPECT_EQ(date.text, "2026-12-09");
  EXPECT_LT(title.x + Width(title), date.x);
}

TEST(CardLayoutTest, TwoFramedCardsAPageEveryFieldUnderTheFormsLabel) {
  std::vector<StudentRecord> records;
  for (int i = 0; i < 3; ++i) {
    StudentRecord record;
    for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
      std::snprintf(record.fields[f], sizeof record.fields[f], "v%d.%d", i, f);
    }
    records.push_back(record);
  }
  report::ReportOptions options;
  options.layout = Layout::cards;
  options.paper = Paper::letter;  // the shorter sheet
  const Document document = report::LayOut(Pointers(records), options);
  ASSERT_EQ(document.pages.size(), 2u);
  for (std::size_t p = 0; p < 2; ++p) {
    std::vector<report::Frame> frames;
    for (const auto& op : document.pages[p].ops) {
      if (const auto* frame = std::get_if<report::Frame>(&op)) frames.push_back(*frame);
    }
    ASSERT_EQ(frames.size(), p == 0 ? 2u : 1u);
    const auto runs = Runs(document.pages[p]);
    for (const TextRun& run : runs) {  // inside one of the page's frames
      EXPECT_TRUE(std::any_of(frames.begin(), frames.end(), [&](const report::Frame& f) {
        return run.x > f.x && run.x + Width(run) < f.x + f.w && run.y > f.y && run.y < f.y + f.h;
      })) << run.text;
    }
  }
  const auto runs = Runs(document.pages[0]);
  std::vector<std::string> labels;
  for (const TextRun& run : runs) {
    if (run.weight == report::Weight::bold && run.text[0] != 'v')
      labels.push_back(run.text);  // not the name
  }
  const std::vector<std::string> expected(form_labels::kInFieldOrder,
                                          form_labels::kInFieldOrder + form_labels::kCount);
  ASSERT_EQ(labels.size(), 2 * expected.size());
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), labels.begin()));
  // Every field's value, the address as its five lines in order below its label.
  for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
    const std::string value = "v0." + std::to_string(f);
    const auto at =
        std::find_if(runs.begin(), runs.end(), [&](const TextRun& r) { return r.text == value; });
    ASSERT_NE(at, runs.end()) << value;
    if (f > address1) {
      EXPECT_GT(at->y, std::prev(at)->y) << value;
    }
  }
}

TEST(TextTest, BytesWithoutACharacterPrintAsQuestionMarks) {
  const std::vector<StudentRecord> records{
      Record({{lastName, "\x81\x8D\x8F\x90\x9D"}, {firstName, "\xE9\x80\xDF\xEB"}})};
  report::ReportOptions options;
  options.layout = Layout::labels;
  const auto runs = Runs(report::LayOut(Pointers(records), options).pages[0]);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].text, "\xE9\x80\xDF\xEB ?????");
}

TEST(TextTest, WidthsAreHelveticasAndCutsEndInAnEllipsis) {
  // Helvetica: "W" 944, "i" 222, "\x80" (euro) 556; Helvetica-Bold: "W" 944, "i" 278.
  EXPECT_DOUBLE_EQ(report::TextWidth("Wi\x80", report::Weight::regular, 10), 17.22);
  EXPECT_DOUBLE_EQ(report::TextWidth("Wi", report::Weight::bold, 10), 12.22);
  EXPECT_EQ(report::CutToWidth("abc def", report::Weight::regular, 10, 100), "abc def");
  EXPECT_EQ(report::CutToWidth("abc def", report::Weight::regular, 10, 30), "abc\x85");
  EXPECT_EQ(report::CutToWidth("abc", report::Weight::regular, 10, 5), "");
}

}  // namespace
