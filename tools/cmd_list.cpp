// kestrel-book list: one label per live record, in the order of the
// program's match list.
#include <string>
#include <vector>

#include "search/find_matches.h"
#include "search/match_order.h"
#include "text/cp1252.h"
#include "tools/book_command.h"
#include "tools/commands.h"

namespace {

constexpr char kUsage[] = "list [-f BOOK]";
constexpr char kDetails[] =
    "Prints the label of every live record of BOOK, \"last, first: phone\", one a\n"
    "line in UTF-8, in the order of the program's match list: by the bytes of\n"
    "the label, so capitals come before small letters.\n"
    "\n"
    "  -f, --file BOOK    the book (default: phone.dat in the current folder)\n";

int List(const std::vector<std::string>& args) {
  ReadingCommand command("list", kUsage, kDetails);
  if (int code; !command.Parse(args, code)) return code;
  if (const int code = command.Load(); code != kExitOk) return code;
  RecordStore& store = command.store();

  // The same steps as the program's search with an empty form.
  RecordList matches;
  FindMatches(store.records, SearchCriteria{}, matches);
  std::string out;
  for (const std::string& label : SortMatches(matches)) {
    out += cp1252::ToUtf8(label);
    out += '\n';
  }
  return WriteOutput("", out);
}

}  // namespace

KESTREL_COMMAND(List, "list", "list", "print the label of every record, sorted as the match list");
