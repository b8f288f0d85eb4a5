// kestrel-book export: the live records as CSV (or tab-separated text) in
// UTF-8, in book order, under a header row of the column names.
#include <string>
#include <vector>

#include "tools/book_command.h"
#include "tools/book_csv.h"
#include "tools/commands.h"

namespace {

constexpr char kUsage[] = "export [-f BOOK] [-o OUT] [--tsv] [--bom]";
constexpr char kDetails[] =
    "Writes the live records of BOOK as CSV (RFC 4180: comma-separated, CRLF line\n"
    "ends, fields quoted when they hold a comma, quote or line break) in UTF-8,\n"
    "one row per record in book order, after a header row naming the columns:\n"
    "student_no, last_name, first_name, middle_name1, middle_name2, gender,\n"
    "birthday, phone, email, cell_phone, parent_name, parent_phone, address1 to\n"
    "address5.\n"
    "\n"
    "  -f, --file BOOK    the book (default: phone.dat in the current folder)\n"
    "  -o, --output OUT   write to OUT, replacing it whole (default: standard output)\n"
    "  --tsv              separate the fields with tabs instead of commas\n"
    "  --bom              start with a UTF-8 byte-order mark, which some\n"
    "                     spreadsheet programs need to show accented letters\n";

int Export(const std::vector<std::string>& args) {
  std::string bookPath = "phone.dat";
  std::string outPath;
  book_csv::ExportOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") return PrintCommandHelp(kUsage, kDetails);
    if (arg == "--tsv") {
      options.delimiter = '\t';
      continue;
    }
    if (arg == "--bom") {
      options.bom = true;
      continue;
    }
    OptionMatch match = TakeValueOption(args, i, {"-f", "--file"}, bookPath);
    if (match == OptionMatch::kNo) match = TakeValueOption(args, i, {"-o", "--output"}, outPath);
    if (match == OptionMatch::kTaken) continue;
    if (match == OptionMatch::kMissingValue) return Fail(kExitUsage, arg + " needs a value");
    return Fail(kExitUsage,
                "export: unexpected argument '" + arg + "' (see kestrel-book export --help)");
  }

  RecordStore store(bookPath.c_str());
  if (const int code = LoadBook(store, MissingBook::kRefuse); code != kExitOk) return code;
  return WriteOutput(outPath, book_csv::ExportRecords(store.records, options));
}

}  // namespace

KESTREL_COMMAND(Export, "export", "export [-o OUT]", "write the records as CSV in UTF-8");
