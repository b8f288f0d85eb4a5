// kestrel-book duplicates: the groups of live records that seem to be the
// same student.
#include <string>
#include <vector>

#include "store/student_record.h"
#include "text/cp1252.h"
#include "tools/book_command.h"
#include "tools/commands.h"
#include "tools/duplicates.h"

namespace {

constexpr int kExitSomeFound = 1;  // as grep and diff say "found"

constexpr char kUsage[] = "duplicates [-f BOOK]";
constexpr char kDetails[] =
    "Lists the groups of live records of BOOK that share a student number, or\n"
    "that share last name, first name and birthday (small and capital letters\n"
    "alike). Each record shows as its position in the book (1 for the first)\n"
    "and its label, \"last, first: phone\", in UTF-8; a blank line ends each group.\n"
    "\n"
    "  -f, --file BOOK    the book (default: phone.dat in the current folder)\n"
    "\n"
    "exit status: 0 no duplicates, 1 some (or a damaged book or failed write),\n"
    "2 cannot open or wrong usage\n";

int Duplicates(const std::vector<std::string>& args) {
  ReadingCommand command("duplicates", kUsage, kDetails);
  if (int code; !command.Parse(args, code)) return code;
  if (const int code = command.Load(); code != kExitOk) return code;
  RecordStore& store = command.store();

  const std::vector<duplicates::Group> groups = duplicates::FindGroups(store.records);
  std::string out;
  for (const duplicates::Group& group : groups) {
    const StudentRecord& first = store.records[group.indexes.front()];
    if (group.reason == duplicates::Group::Reason::kStudentNumber) {
      out += "same student number " + cp1252::ToUtf8(first.field(studentNo)) + ":\n";
    } else {
      out += "same name and birthday:\n";
    }
    for (std::size_t index : group.indexes) {
      out += "  " + std::to_string(index + 1) + "  " +
             cp1252::ToUtf8(RecordLabel(store.records[index])) + "\n";
    }
    out += "\n";
  }
  if (const int code = WriteOutput("-", out); code != kExitOk) return code;
  return groups.empty() ? kExitOk : kExitSomeFound;
}

}  // namespace

KESTREL_COMMAND(Duplicates, "duplicates", "duplicates",
                "list records that share a student number, or names and birthday");
