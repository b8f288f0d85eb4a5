// kestrel-book print: the records the search chooses as a printed class
// list, a sheet of address labels or record cards, written as a PDF file.
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "report/label_sheet.h"
#include "report/layouts.h"
#include "report/pdf_writer.h"
#include "search/find_matches.h"
#include "search/match_order.h"
#include "store/platform/platform.h"
#include "tools/book_command.h"
#include "tools/book_csv.h"
#include "tools/calendar_date.h"
#include "tools/commands.h"
#include "tools/search_options.h"

namespace {

constexpr char kUsage[] =
    "print --layout list|labels|cards [--paper a4|letter] [--landscape]\n"
    "       [--to student|parent] [--skip N] [-f BOOK] [--FIELD TEXT]... -o OUT.pdf";
constexpr char kDetails[] =
    "Writes the records of BOOK that the search finds for the TEXTs given (as\n"
    "search chooses them, in the order of the match list; with no TEXT every\n"
    "live record) as a PDF file for printing:\n"
    "\n"
    "  --layout list      a class list, one row per record: name, student number,\n"
    "                     birthday, phones and parent, the search and the date on\n"
    "                     top, \"Page n of m\" at the foot\n"
    "  --layout labels    address labels, the addressee and the address parts;\n"
    "                     A4 sheets of 3 x 7 labels (63.5 x 38.1 mm) or Letter\n"
    "                     sheets of 3 x 10 (2.625 x 1 in)\n"
    "  --layout cards     a framed card of every field, two to a page\n"
    "\n" KESTREL_CRITERIA_HELP
    "\n"
    "  -f, --file BOOK    the book (default: phone.dat in the current folder)\n"
    "  -o, --output OUT   write the PDF to OUT, replacing it whole (OUT -:\n"
    "                     standard output)\n"
    "  --paper a4|letter  the sheet (default: the paper of the locale)\n"
    "  --landscape        the list across the sheet\n"
    "  --to student|parent\n"
    "                     labels addressed to the student (default) or to the\n"
    "                     parent, the student where the record names none\n"
    "  --skip N           leave the first N labels of the first sheet empty, for\n"
    "                     a sheet already partly used\n"
    "  --force            write OUT even when it holds a Kestrel book\n";

struct Choice {
  const char* word;
  int value;
};

// The value of `word` among `choices`, or nothing after reporting it.
std::optional<int> Choose(const std::string& option, const std::string& word,
                          std::initializer_list<Choice> choices, const char* expected) {
  for (const Choice& choice : choices) {
    if (word == choice.word) return choice.value;
  }
  Fail(kExitUsage, "print: " + option + " takes " + expected + ", not '" + word + "'");
  return std::nullopt;
}

// The time the file is made: SOURCE_DATE_EPOCH when set (a build that must
// give the same bytes again), else now. `fixed` says which.
std::time_t PrintTime(bool& fixed) {
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  fixed = epoch != nullptr && *epoch != '\0';
  return fixed ? static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10)) : std::time(nullptr);
}

std::string DateText(std::time_t time, bool utc) {
  const std::tm* parts = utc ? std::gmtime(&time) : std::localtime(&time);
  if (parts == nullptr) return std::string();
  return IsoDate({parts->tm_year + 1900, parts->tm_mon + 1, parts->tm_mday});
}

// The book's file name as the title line shows it, in Windows-1252.
std::string BookName(const std::string& path) {
  // By hand: the path is UTF-8 on every system, which std::filesystem on
  // Windows would read in the ANSI code page.
  const std::size_t slash = path.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string converted;
  std::string why;
  return book_csv::Utf8ToWindows1252(name, converted, why) ? converted : std::string("book");
}

int Print(const std::vector<std::string>& args) {
  CommandLine line("print", kUsage, kDetails);
  std::string bookPath;
  AddBookOption(line, bookPath);
  std::string outPath, layoutWord, paperWord, toWord, skipWord;
  bool outGiven = false, paperGiven = false, toGiven = false, skipGiven = false;
  bool landscape = false, force = false;
  line.AddValue('o', "output", outPath, outGiven);
  line.AddValue(0, "layout", layoutWord);
  line.AddValue(0, "paper", paperWord, paperGiven);
  line.AddFlag("landscape", landscape);
  line.AddValue(0, "to", toWord, toGiven);
  line.AddValue(0, "skip", skipWord, skipGiven);
  line.AddFlag("force", force);
  SearchCriteria criteria;
  AddCriteriaOptions(line, criteria);
  if (int code; !line.Parse(args, code)) return code;
  if (!line.operands().empty()) return line.Unexpected(line.operands()[0]);

  if (layoutWord.empty()) return Fail(kExitUsage, "print needs --layout list, labels or cards");
  if (!outGiven) return Fail(kExitUsage, "print needs -o OUT.pdf (- for standard output)");
  report::ReportOptions options;
  const auto layout = Choose("--layout", layoutWord,
                             {{"list", static_cast<int>(report::Layout::list)},
                              {"labels", static_cast<int>(report::Layout::labels)},
                              {"cards", static_cast<int>(report::Layout::cards)}},
                             "list, labels or cards");
  if (!layout) return kExitUsage;
  options.layout = static_cast<report::Layout>(*layout);

  if (paperGiven) {
    const auto paper = Choose("--paper", paperWord,
                              {{"a4", static_cast<int>(report::Paper::a4)},
                               {"letter", static_cast<int>(report::Paper::letter)}},
                              "a4 or letter");
    if (!paper) return kExitUsage;
    options.paper = static_cast<report::Paper>(*paper);
  } else {
    options.paper = platform::PaperOfLocale() == platform::LocalePaper::letter
                        ? report::Paper::letter
                        : report::Paper::a4;
  }

  const bool labels = options.layout == report::Layout::labels;
  if (landscape && options.layout != report::Layout::list) {
    return Fail(kExitUsage, "print: --landscape is for --layout list");
  }
  options.landscape = landscape;
  if ((toGiven || skipGiven) && !labels) {
    return Fail(kExitUsage,
                std::string("print: ") + (toGiven ? "--to" : "--skip") + " is for --layout labels");
  }
  if (toGiven) {
    const auto to = Choose("--to", toWord,
                           {{"student", static_cast<int>(report::Addressee::student)},
                            {"parent", static_cast<int>(report::Addressee::parent)}},
                           "student or parent");
    if (!to) return kExitUsage;
    options.to = static_cast<report::Addressee>(*to);
  }
  if (skipGiven) {
    const int cells = report::SheetOf(options.paper).cells();
    char* end = nullptr;
    const long skip = std::strtol(skipWord.c_str(), &end, 10);
    if (*end != '\0' || skipWord[0] == '-' || skip >= cells) {
      return Fail(kExitUsage, "print: --skip takes a number of labels from 0 to " +
                                  std::to_string(cells - 1) + ", not '" + skipWord + "'");
    }
    options.skipLabels = static_cast<int>(skip);
  }
  if (const int code = ConvertCriteria(criteria); code != kExitOk) return code;
  if (const int code = RefuseOverwritingBook(outPath, force); code != kExitOk) return code;

  // A read: the book is loaded without its write lock, as search does.
  RecordStore store(bookPath.c_str());
  if (const int code = LoadBook(store, MissingBook::kRefuse); code != kExitOk) return code;
  // Pointers into the book, not copies: a whole book prints without a second one.
  std::vector<const StudentRecord*> chosen = FindMatchingRecords(store.records, criteria);
  SortByLabel(chosen);

  bool fixedTime = false;
  const std::time_t now = PrintTime(fixedTime);
  options.bookName = BookName(bookPath);
  options.searchText = report::DescribeSearch(criteria);
  options.date = DateText(now, fixedTime);
  report::PdfOptions pdf;
  if (fixedTime) pdf.created = static_cast<std::int64_t>(now);
  return WriteOutput(outPath, report::WritePdf(report::LayOut(chosen, options), pdf));
}

}  // namespace

KESTREL_COMMAND(Print, "print", "print -o OUT.pdf", "print records as a list, labels or cards");
