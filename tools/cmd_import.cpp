// kestrel-book import: appends the rows of a CSV file to the book, all of
// them or, when any row is bad, none.
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "tools/book_command.h"
#include "tools/book_csv.h"
#include "tools/commands.h"

namespace {

constexpr char kUsage[] = "import [-f BOOK] FILE.csv";
constexpr char kDetails[] =
    "Appends the rows of FILE.csv to BOOK as new records, after the records it\n"
    "holds, and saves the book (written beside it and renamed over it, so the\n"
    "old book stays whole until the new one is).\n"
    "\n"
    "The first row names the columns, in any order: student_no, last_name,\n"
    "first_name, middle_name1, middle_name2, gender, birthday, phone, email,\n"
    "cell_phone, parent_name, parent_phone, address1 to address5. Columns left\n"
    "out are empty. The fields are separated by commas, semicolons or tabs, as\n"
    "the header row shows; the text is UTF-8, with or without a byte-order mark;\n"
    "lines end with CRLF or LF; quoted fields may hold separators, doubled\n"
    "quotes and line breaks. Rows whose fields are all empty are skipped.\n"
    "\n"
    "All or nothing: the book is left as it was when any row is bad, and the\n"
    "message names its line and column. A row is bad when it has another number\n"
    "of fields than the header, has an unclosed quote, or has a field that is\n"
    "not UTF-8, holds a character Windows-1252 lacks, holds a tab, line break or\n"
    "NUL byte, or is longer than 99 bytes in Windows-1252.\n"
    "\n"
    "FILE.csv - reads standard input.\n"
    "\n"
    "  -f, --file BOOK    the book (default: phone.dat in the current folder;\n"
    "                     created when it does not exist)\n";

std::string Count(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

int Import(const std::vector<std::string>& args) {
  CommandLine line("import", kUsage, kDetails);
  std::string bookPath;
  AddBookOption(line, bookPath);
  if (int code; !line.Parse(args, code)) return code;
  const std::vector<std::string>& operands = line.operands();
  for (std::size_t i = 0; i < operands.size(); ++i) {
    if (i > 0 || operands[i].empty()) return line.Unexpected(operands[i]);
  }
  if (operands.empty()) return Fail(kExitUsage, "import needs a CSV file");
  const std::string& csvPath = operands[0];

  std::string bytes;
  if (const int code = ReadInput(csvPath, bytes); code != kExitOk) return code;
  book_csv::ImportResult imported;
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
      imported = book_csv::ImportRecords(bytes, store.records);
    } catch (const std::bad_alloc&) {
      return Fail(kExitDamaged, bookPath + ": not enough memory for the imported records; " +
                                    "nothing was written");
    }
    if (!imported.ok) return Fail(kExitDamaged, InputName(csvPath) + ": " + imported.error);
    if (imported.added == 0) break;
    const SaveResult saved = store.Save();
    again = saved.appeared;
    if (!saved.ok && !again) {
      return Fail(kExitDamaged, bookPath + ": cannot save: " + LowerFirst(saved.reason));
    }
  }
  std::cout << "added " << Count(imported.added, "record", "records") << " to " << bookPath;
  if (imported.emptyRows > 0) {
    std::cout << "; skipped " << Count(imported.emptyRows, "empty row", "empty rows");
  }
  std::cout << '\n';
  return kExitOk;
}

}  // namespace

KESTREL_COMMAND(Import, "import", "import FILE.csv", "append the rows of a CSV file to the book");
