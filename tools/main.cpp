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
         "exit status: 0 success, 1 damaged file or failed write, 2 wrong usage or\n"
         "a file that cannot be opened\n";
}

}  // namespace

int main(int argc, char** argv) {
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
