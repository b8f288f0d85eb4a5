// kestrel-book import: appends the rows of a CSV file or of a workbook's
// first sheet, or the cards of a vCard file, to the book: all of them or,
// when any is bad, none.
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "tools/book_command.h"
#include "tools/book_csv.h"
#include "tools/book_vcard.h"
#include "tools/book_xlsx.h"
#include "tools/commands.h"
#include "tools/vcard.h"
#include "tools/xlsx_reader.h"

namespace {

constexpr char kUsage[] =
    "import [-f BOOK] [--encoding utf-8|windows-1252] [--skip-duplicates] FILE";
constexpr char kDetails[] =
    "Appends the records of FILE (- for standard input) to BOOK, after the\n"
    "records it holds, and saves the book (written beside it and renamed over\n"
    "it, so the old book stays whole until the new one is). FILE is CSV, vCard\n"
    "or a workbook (.xlsx), as its content shows, whatever its name.\n"
    "\n"
    "CSV: the first row names the columns, in any order, by the export's names\n"
    "(student_no, last_name, first_name, middle_name1, middle_name2, gender,\n"
    "birthday, phone, email, cell_phone, parent_name, parent_phone, address1 to\n"
    "address5) or the program's labels (Student #, Last Name, ..., Parent's\n"
    "Phone, Address 1 to Address 5); case, blanks and punctuation do not matter.\n"
    "Columns left out are empty; empty columns at the end of the header are\n"
    "ignored. The fields are separated by commas, semicolons or tabs, as the\n"
    "header row shows or as Excel's first line \"sep=;\" says; lines end with\n"
    "CRLF, LF or CR; quoted fields may hold separators, doubled quotes and line\n"
    "breaks. Blank lines and rows whose fields are all empty are skipped.\n"
    "\n"
    "vCard: versions 2.1, 3.0 and 4.0, as phones and address books write them.\n"
    "What has a field goes into it (see the man page for the mapping); photos,\n"
    "further phone numbers, e-mail addresses and addresses, and other properties\n"
    "are dropped and counted. Each line break in a value becomes one blank.\n"
    "\n"
    "Workbook: the first sheet, whose first row with any text is the header,\n"
    "named as for CSV; an empty header cell heads a column that must stay\n"
    "empty. Cells are read as the sheet shows them: text, numbers as written,\n"
    "dates as YYYY-MM-DD. Messages name the cell (\"cell C7 (first_name)\").\n"
    "\n"
    "The text is UTF-8, with or without a byte-order mark; a file that is not\n"
    "valid UTF-8 is read as Windows-1252, as Excel on Windows saves CSV.\n"
    "\n"
    "All or nothing: the book is left as it was when anything is bad, and the\n"
    "message names the line. A CSV row is bad when it has another number of\n"
    "fields than the header (even when they are empty) or an unclosed quote;\n"
    "any value is bad that holds a character Windows-1252 lacks or is longer\n"
    "than 99 bytes in Windows-1252, and a CSV field that holds a tab, line break\n"
    "or NUL byte.\n"
    "\n"
    "  -f, --file BOOK      the book (default: phone.dat in the current folder;\n"
    "                       created when it does not exist)\n"
    "  --encoding NAME      read FILE as utf-8 or as windows-1252, whatever it holds\n"
    "  --skip-duplicates    leave out records identical (all seventeen fields) to\n"
    "                       a live record, and count them\n";

std::string Count(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "3 photos, 40 extra phone numbers": the parts that are not zero.
std::string Dropped(const import_text::ImportResult& r) {
  std::string text;
  auto add = [&](std::size_t n, const char* one, const char* many) {
    if (n == 0) return;
    if (!text.empty()) text += ", ";
    text += Count(n, one, many);
  };
  add(r.photos, "photo", "photos");
  add(r.extraPhones, "extra phone number", "extra phone numbers");
  add(r.extraEmails, "extra e-mail address", "extra e-mail addresses");
  add(r.extraAddresses, "extra address", "extra addresses");
  add(r.otherProperties, "other property", "other properties");
  return text;
}

// "1 empty row, 2 duplicates": what was skipped, in the words of the format.
std::string Skipped(const import_text::ImportResult& r, bool cards) {
  std::string text;
  if (r.empty > 0) {
    text = cards ? Count(r.empty, "empty card", "empty cards")
                 : Count(r.empty, "empty row", "empty rows");
  }
  if (r.duplicates > 0) {
    if (!text.empty()) text += ", ";
    text += Count(r.duplicates, "duplicate", "duplicates");
  }
  return text;
}

int Import(const std::vector<std::string>& args) {
  CommandLine line("import", kUsage, kDetails);
  std::string bookPath;
  AddBookOption(line, bookPath);
  std::string encodingName;
  bool encodingGiven = false;
  line.AddValue(0, "encoding", encodingName, encodingGiven);
  import_text::ImportOptions options;
  line.AddFlag("skip-duplicates", options.skipDuplicates);
  if (int code; !line.Parse(args, code)) return code;
  if (encodingGiven && !import_text::ParseEncoding(encodingName, options.encoding)) {
    return Fail(kExitUsage, "import: unknown encoding '" + encodingName +
                                "'; the encodings are utf-8 and windows-1252");
  }
  const std::vector<std::string>& operands = line.operands();
  for (std::size_t i = 0; i < operands.size(); ++i) {
    if (i > 0 || operands[i].empty()) return line.Unexpected(operands[i]);
  }
  if (operands.empty()) return Fail(kExitUsage, "import needs a CSV, vCard or workbook file");
  const std::string& inPath = operands[0];

  std::string bytes;
  if (const int code = ReadInput(inPath, bytes); code != kExitOk) return code;
  const bool workbook = xlsx::LooksLikeZip(bytes);
  const bool cards = !workbook && vcard::LooksLikeVCard(import_text::StripUtf8Bom(bytes));
  import_text::ImportResult imported;
  // A book that another command created while this one was making it anew
  // is read and changed again, under its lock this time.
  for (bool again = true; again;) {
    again = false;
    RecordStore store(bookPath.c_str());
    // Read, change and write under the lock, so no other writer's rows are lost.
    if (const int code = LockBookForWriting(store); code != kExitOk) return code;
    if (const int code = LoadBook(store, MissingBook::kStartEmpty); code != kExitOk) return code;
    // Parsed straight into the book: on a refusal the book's records are as
    // they were, and nothing is saved.
    try {
      imported = workbook ? book_xlsx::ImportRecords(bytes, store.records, options)
                 : cards  ? book_vcard::ImportRecords(bytes, store.records, options)
                       : book_csv::ImportRecords(bytes, store.records, options);
    } catch (const std::bad_alloc&) {
      return Fail(kExitDamaged, bookPath + ": not enough memory for the imported records; " +
                                    "nothing was written");
    }
    if (!imported.ok) return Fail(kExitDamaged, InputName(inPath) + ": " + imported.error);
    if (imported.added == 0) break;
    const SaveResult saved = store.Save();
    again = saved.problem == SaveProblem::kAppeared;
    if (!saved.ok() && !again) {
      // The same failure exits as in every command: a file that cannot be
      // made is 2, a write that fails part way 1.
      const int code = saved.problem == SaveProblem::kCannotCreate ? kExitUsage : kExitDamaged;
      return Fail(code, bookPath + ": cannot save: " + LowerFirst(saved.reason));
    }
  }
  std::cout << "added " << Count(imported.added, "record", "records") << " to " << bookPath;
  if (const std::string skipped = Skipped(imported, cards); !skipped.empty()) {
    std::cout << "; skipped " << skipped;
  }
  if (const std::string dropped = Dropped(imported); !dropped.empty()) {
    std::cout << "; dropped " << dropped;
  }
  std::cout << '\n';
  return kExitOk;
}

}  // namespace

KESTREL_COMMAND(Import, "import", "import FILE", "append the records of a CSV, vCard or workbook file");
