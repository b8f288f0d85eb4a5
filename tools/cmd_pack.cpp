// kestrel-book pack FILE: the text on standard input becomes FILE, written
// through the same codec and the same safe replace as the program's save.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "store/book_file.h"
#include "tools/book_command.h"
#include "tools/commands.h"

namespace {

int Pack(const std::vector<std::string>& args) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    return PrintCommandHelp("pack FILE",
                            "Reads a book's text from standard input and writes it into FILE with\n"
                            "the book's codec, replacing FILE safely: the new file is written and\n"
                            "synced beside it, then renamed over it.\n\n"
                            "exit status: 0 written, 1 write failed, 2 wrong usage or cannot create\n");
  }
  if (RefuseOptions("pack", args)) return kExitUsage;
  if (args.size() != 1) return Fail(kExitUsage, "pack needs exactly one file");
  const std::string& path = args[0];
  std::string text;
  char buffer[1 << 16];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) text.append(buffer, got);
  if (std::ferror(stdin)) return Fail(kExitDamaged, "standard input: " + SystemReason(errno));
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return Fail(kExitDamaged, path + ": book too large for the file format");
  }
  CompressDetail detail;
  switch (
      CompressToFile(text.data(), static_cast<std::int32_t>(text.size()), path.c_str(), &detail)) {
    case kCompressWritten:
      return kExitOk;
    case kCompressCannotOpen:
      return Fail(kExitUsage, path + ": cannot create: " + LowerFirst(detail.reason));
    default:
      return Fail(kExitDamaged, path + ": " + LowerFirst(detail.reason));
  }
}

}  // namespace

KESTREL_COMMAND(Pack, "pack", "pack FILE", "write the text on standard input into FILE");
