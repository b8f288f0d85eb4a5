// kestrel-book unpack [FILE]: the decoded text on standard output, byte for
// byte; of a damaged file only what it really holds.
#include <cstdio>
#include <string>

#include "store/codec/codec_buffer.h"
#include "store/platform/platform.h"
#include "tools/book_command.h"
#include "tools/commands.h"

namespace {

int Unpack(const std::vector<std::string>& args) {
  std::string path;
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    return PrintCommandHelp("unpack [FILE]",
                            "Writes the text that FILE (phone.dat when none is named) holds to\n"
                            "standard output, byte for byte: one line per record, each field\n"
                            "followed by a tab. Of a damaged file only what it really holds is\n"
                            "written, and the problem goes to standard error.\n\n"
                            "exit status: 0 sound, 1 damaged, 2 cannot open or wrong usage\n");
  }
  if (!FileArgument("unpack", args, path)) return kExitUsage;
  std::string file;
  if (const int error = platform::ReadWholeFile(path, file); error != 0) {
    return Fail(kExitUsage, path + ": " + SystemReason(error));
  }
  std::string text;
  const DecodeReport report = DecodeBuffer(file, text);
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
    return Fail(kExitDamaged, "standard output: write failed");
  }
  if (report.damaged) return Fail(kExitDamaged, path + ": " + report.problem);
  return kExitOk;
}

}  // namespace

KESTREL_COMMAND(Unpack, "unpack", "unpack [FILE]",
                "write the text the file holds to standard output");
