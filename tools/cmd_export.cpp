// kestrel-book export: the live records as CSV (or tab-separated text) under
// a header row of the column names, as vCards, or as a workbook, in book order.
#include <cstddef>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tools/book_command.h"
#include "tools/book_csv.h"
#include "tools/book_vcard.h"
#include "tools/book_xlsx.h"
#include "tools/commands.h"

namespace {

constexpr char kUsage[] =
    "export [-f BOOK] [-o OUT] [--format csv|vcard|xlsx] [--separator ,|;|tab]\n"
    "       [--encoding utf-8|utf-8-bom|windows-1252] [--safe-cells] [--force]";
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
    "  --format FORMAT    csv (the default); vcard, as --vcard; or xlsx, a\n"
    "                     workbook for spreadsheet programs: one sheet under a\n"
    "                     bold header row of the program's labels, every cell\n"
    "                     text, so that leading zeros and birthdays stay as written\n"
    "  --separator SEP    separate CSV fields with , (the default), ; (as\n"
    "                     spreadsheets in much of Europe expect) or tab\n"
    "  --encoding NAME    write CSV in utf-8 (the default); utf-8-bom, with a\n"
    "                     byte-order mark, which some spreadsheet programs need\n"
    "                     to show accented letters; or windows-1252, the book's\n"
    "                     own bytes, for programs that read no UTF-8\n"
    "  --tsv              the same as --separator tab\n"
    "  --bom              the same as --encoding utf-8-bom\n"
    "  --safe-cells       put an apostrophe before a field that starts with =, +,\n"
    "                     -, @, a tab or a CR, so that a spreadsheet shows it as\n"
    "                     text and never runs it as a formula (the apostrophe\n"
    "                     then is part of the data: import keeps it)\n"
    "  --vcard            write one vCard 4.0 per record instead (UTF-8, CRLF,\n"
    "                     lines folded at 75 octets); import reads it back\n"
    "  --force            write OUT even when it holds a Kestrel book\n";

enum class Format { kCsv, kVCard, kXlsx };

// The value of a named choice, such as "--format xlsx". Returns false for a
// name that is none of `choices`.
template <typename Value, std::size_t N>
bool Choose(const std::string& name, const std::pair<const char*, Value> (&choices)[N],
            Value& value) {
  for (const auto& [choiceName, choice] : choices) {
    if (name == choiceName) {
      value = choice;
      return true;
    }
  }
  return false;
}

constexpr std::pair<const char*, Format> kFormats[] = {
    {"csv", Format::kCsv}, {"vcard", Format::kVCard}, {"xlsx", Format::kXlsx}};
constexpr std::pair<const char*, char> kSeparators[] = {
    {",", ','}, {";", ';'}, {"tab", '\t'}, {"\t", '\t'}};
// Whether each encoding writes a byte-order mark, and whether the book's own bytes.
constexpr std::pair<const char*, std::pair<bool, bool>> kEncodings[] = {
    {"utf-8", {false, false}}, {"utf-8-bom", {true, false}}, {"windows-1252", {false, true}}};

int Export(const std::vector<std::string>& args) {
  CommandLine line("export", kUsage, kDetails);
  std::string bookPath;
  AddBookOption(line, bookPath);
  std::string outPath;
  line.AddValue('o', "output", outPath);
  std::string formatName, separatorName, encodingName;
  bool formatGiven = false, separatorGiven = false, encodingGiven = false;
  line.AddValue(0, "format", formatName, formatGiven);
  line.AddValue(0, "separator", separatorName, separatorGiven);
  line.AddValue(0, "encoding", encodingName, encodingGiven);
  bool tsv = false;
  bool asVCard = false;
  book_csv::ExportOptions options;
  line.AddFlag("tsv", tsv);
  line.AddFlag("bom", options.bom);
  line.AddFlag("safe-cells", options.safeCells);
  line.AddFlag("vcard", asVCard);
  bool force = false;
  line.AddFlag("force", force);
  if (int code; !line.Parse(args, code)) return code;
  if (!line.operands().empty()) return line.Unexpected(line.operands()[0]);

  Format format = asVCard ? Format::kVCard : Format::kCsv;
  if (formatGiven && !Choose(formatName, kFormats, format)) {
    return Fail(kExitUsage,
                "export: unknown format '" + formatName + "'; the formats are csv, vcard and xlsx");
  }
  if (asVCard && format != Format::kVCard) {
    return Fail(kExitUsage, "export: --vcard and --format " + formatName + " disagree");
  }
  if (tsv) options.delimiter = '\t';
  if (separatorGiven && !Choose(separatorName, kSeparators, options.delimiter)) {
    return Fail(kExitUsage, "export: unknown separator '" + separatorName +
                                "'; the separators are , ; and tab");
  }
  std::pair<bool, bool> encoding{options.bom, false};
  if (encodingGiven && !Choose(encodingName, kEncodings, encoding)) {
    return Fail(kExitUsage, "export: unknown encoding '" + encodingName +
                                "'; the encodings are utf-8, utf-8-bom and windows-1252");
  }
  std::tie(options.bom, options.windows1252) = encoding;
  const bool csvOptions =
      tsv || options.bom || options.safeCells || separatorGiven || encodingGiven;
  if (format == Format::kVCard && csvOptions) {
    return Fail(kExitUsage,
                "export: vCards take none of --tsv, --bom, --separator, --encoding "
                "and --safe-cells");
  }
  if (format == Format::kXlsx && csvOptions) {
    return Fail(kExitUsage,
                "export: a workbook takes none of --tsv, --bom, --separator, "
                "--encoding and --safe-cells; its cells are always text");
  }

  if (const int code = RefuseOverwritingBook(outPath, force); code != kExitOk) return code;
  RecordStore store(bookPath.c_str());
  if (const int code = LoadBook(store, MissingBook::kRefuse); code != kExitOk) return code;
  switch (format) {
    case Format::kVCard:
      return WriteOutput(outPath, book_vcard::ExportRecords(store.records));
    case Format::kXlsx:
      return WriteOutput(outPath, book_xlsx::ExportRecords(store.records));
    case Format::kCsv:
      break;
  }
  return WriteOutput(outPath, book_csv::ExportRecords(store.records, options));
}

}  // namespace

KESTREL_COMMAND(Export, "export", "export [-o OUT]",
                "write the records as CSV, vCard or a workbook (xlsx)");
