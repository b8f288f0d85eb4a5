// kestrel-book: the command-line face of the data file. main() only finds the
// subcommand and runs it; each subcommand lives in its own file.
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "tools/commands.h"

namespace {

void PrintHelp(std::ostream& out) {
  out << "usage: kestrel-book COMMAND [ARGS]\n"
         "\n"
         "Reads and writes the book file of Kestrel (\"phone.dat\" in the current\n"
         "folder unless a FILE is named).\n"
         "\n"
         "commands:\n";
  for (const Command& command : Commands()) {
    std::string usage = command.usage;
    usage.resize(std::max<std::size_t>(usage.size() + 2, 18), ' ');
    out << "  " << usage << command.summary << '\n';
  }
  out << "\n"
         "  --help            show this help\n"
         "  --version         show the version\n"
         "\n"
         "exit status: 0 success, 1 damaged file, failed write or (duplicates)\n"
         "duplicates found, 2 wrong usage or a file that cannot be opened\n";
}

int Run(int argc, char** argv) {
  if (argc < 2) {
    PrintHelp(std::cerr);
    return kExitUsage;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h") {
    PrintHelp(std::cout);
    return kExitOk;
  }
  if (name == "--version") {
    std::cout << "kestrel-book " << KESTREL_VERSION << '\n';
    return kExitOk;
  }
  for (const Command& command : Commands()) {
    if (name == command.name) return command.run(std::vector<std::string>(argv + 2, argv + argc));
  }
  return Fail(kExitUsage, "unknown command '" + name + "' (see kestrel-book --help)");
}

}  // namespace

int main(int argc, char** argv) {
  const int code = Run(argc, argv);
  // What is still buffered goes out now: a script must never read success
  // from a run whose output was lost (a full disk, a closed pipe).
  const int flushed = FlushStandardOutput();
  return code != kExitOk ? code : flushed;
}
