// kestrel-book export: the live records as CSV (or tab-separated text) in
// UTF-8 under a header row of the column names, or as vCards, in book order.
#include <string>
#include <vector>

#include "tools/book_command.h"
#include "tools/book_csv.h"
#include "tools/book_vcard.h"
#include "tools/commands.h"

namespace {

constexpr char kUsage[] =
    "export [-f BOOK] [-o OUT] [--tsv] [--bom] [--safe-cells] [--vcard]\n"
    "       [--vcard-version 2.1|3.0|4.0] [--force]";
constexpr char kDetails[] =
    "Writes the live records of BOOK as CSV (RFC 4180: comma-separated, CRLF line\n"
    "ends, fields quoted when they hold a comma, quote or line break) in UTF-8,\n"
    "one row per record in book order, after a header row naming the columns:\n"
    "student_no, last_name, first_name, middle_name1, middle_name2, gender,\n"
    "birthday, phone, email, cell_phone, parent_name, parent_phone, address1 to\n"
    "address5. The data is written as it is, so that import gives it back.\n"
    "\n"
    "  -f, --file BOOK    the book (default: phone.dat in the current folder)\n"
    "  -o, --output OUT   write to OUT, replacing it whole (default, or OUT -:\n"
    "                     standard output)\n"
    "  --tsv              separate the fields with tabs instead of commas\n"
    "  --bom              start with a UTF-8 byte-order mark, which some\n"
    "                     spreadsheet programs need to show accented letters\n"
    "  --safe-cells       put an apostrophe before a field that starts with =, +,\n"
    "                     -, @, a tab or a CR, so that a spreadsheet shows it as\n"
    "                     text and never runs it as a formula (the apostrophe\n"
    "                     then is part of the data: import keeps it)\n"
    "  --vcard            write one vCard 4.0 per record instead (UTF-8, CRLF,\n"
    "                     lines folded at 75 octets); import reads it back\n"
    "  --vcard-version V  write vCard version V: 4.0 (the default), or 3.0 or 2.1,\n"
    "                     which Outlook and older phones read better; implies\n"
    "                     --vcard\n"
    "  --force            write OUT even when it holds a Kestrel book\n";

int Export(const std::vector<std::string>& args) {
  CommandLine line("export", kUsage, kDetails);
  std::string bookPath;
  AddBookOption(line, bookPath);
  std::string outPath;
  line.AddValue('o', "output", outPath);
  bool tsv = false;
  bool asVCard = false;
  book_csv::ExportOptions options;
  line.AddFlag("tsv", tsv);
  line.AddFlag("bom", options.bom);
  line.AddFlag("safe-cells", options.safeCells);
  line.AddFlag("vcard", asVCard);
  std::string versionName;
  bool versionGiven = false;
  line.AddValue(0, "vcard-version", versionName, versionGiven);
  bool force = false;
  line.AddFlag("force", force);
  if (int code; !line.Parse(args, code)) return code;
  if (!line.operands().empty()) return line.Unexpected(line.operands()[0]);
  book_vcard::Version version = book_vcard::Version::k40;
  if (versionGiven) {
    if (versionName == "2.1") {
      version = book_vcard::Version::k21;
    } else if (versionName == "3.0") {
      version = book_vcard::Version::k30;
    } else if (versionName != "4.0") {
      return Fail(kExitUsage, "export: unknown vCard version '" + versionName +
                                  "'; the versions are 2.1, 3.0 and 4.0");
    }
    asVCard = true;
  }
  if (asVCard && (tsv || options.bom || options.safeCells)) {
    return Fail(kExitUsage, "export: --vcard takes none of --tsv, --bom and --safe-cells");
  }
  if (tsv) options.delimiter = '\t';

  if (const int code = RefuseOverwritingBook(outPath, force); code != kExitOk) return code;
  RecordStore store(bookPath.c_str());
  if (const int code = LoadBook(store, MissingBook::kRefuse); code != kExitOk) return code;
  return WriteOutput(outPath, asVCard ? book_vcard::ExportRecords(store.records, version)
                                      : book_csv::ExportRecords(store.records, options));
}

}  // namespace

KESTREL_COMMAND(Export, "export", "export [-o OUT]", "write the records as CSV or vCard");
