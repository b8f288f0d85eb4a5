// kestrel-book search: the records that the program's search finds for the
// same criteria, found by the same code, as labels or as CSV.
#include <algorithm>
#include <string>
#include <vector>

#include "search/find_matches.h"
#include "search/match_order.h"
#include "text/cp1252.h"
#include "tools/book_command.h"
#include "tools/book_csv.h"
#include "tools/commands.h"
#include "tools/search_options.h"

namespace {

constexpr char kUsage[] = "search [-f BOOK] [--csv [--safe-cells]] [--FIELD TEXT]...";
constexpr char kDetails[] =
    "Prints the records of BOOK that the program's search form finds for the\n"
    "same texts: a record matches when each TEXT given occurs in its field,\n"
    "ignoring case (Windows-1252 letters, accented ones included), anywhere in\n"
    "it, blanks included. With no TEXT every live record matches. The matches\n"
    "come in the order of the match list, as labels, or as CSV with --csv.\n"
    "\n" KESTREL_CRITERIA_HELP
    "\n"
    "  -f, --file BOOK    the book (default: phone.dat in the current folder)\n"
    "  --csv              print the matching records as CSV, as export writes them\n"
    "  --safe-cells       with --csv: an apostrophe before a field that starts\n"
    "                     with =, +, -, @, a tab or a CR, as export --safe-cells\n";

int Search(const std::vector<std::string>& args) {
  ReadingCommand command("search", kUsage, kDetails);
  CommandLine& line = command.line();
  bool asCsv = false;
  line.AddFlag("csv", asCsv);
  bool safeCells = false;
  line.AddFlag("safe-cells", safeCells);
  SearchCriteria criteria;
  AddCriteriaOptions(line, criteria);
  if (int code; !command.Parse(args, code)) return code;
  if (safeCells && !asCsv) return Fail(kExitUsage, "search: --safe-cells goes with --csv");
  // Criteria arrive in UTF-8 and are compared in the book's Windows-1252.
  if (const int code = ConvertCriteria(criteria); code != kExitOk) return code;

  if (const int code = command.Load(); code != kExitOk) return code;
  RecordStore& store = command.store();
  RecordList matches;
  FindMatches(store.records, criteria, matches);
  const std::vector<std::string> labels = SortMatches(matches);

  std::string out;
  if (asCsv) {
    book_csv::AppendHeader(',', out);
    for (const StudentRecord& match : matches)
      book_csv::AppendRecordRow(match, ',', out, safeCells);
  } else {
    for (const std::string& label : labels) {
      out += cp1252::ToUtf8(label);
      out += '\n';
    }
  }
  return WriteOutput("", out);
}

}  // namespace

KESTREL_COMMAND(Search, "search", "search [OPTIONS]",
                "print the records the program's search finds");
