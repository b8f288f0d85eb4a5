// kestrel-book unpack [FILE]: the decoded text on standard output, byte for
// byte; of a damaged file only what it really holds.
#include <string>

#include "store/codec/codec_buffer.h"
#include "tools/book_command.h"
#include "tools/commands.h"

namespace {

constexpr char kUsage[] = "unpack [FILE]";
constexpr char kDetails[] =
    "Writes the text that FILE (phone.dat when none is named; - for standard\n"
    "input) holds to standard output, byte for byte: one line per record, each\n"
    "field followed by a tab. Of a damaged file only what it really holds is\n"
    "written, and the problem goes to standard error.\n\n"
    "exit status: 0 sound, 1 damaged or write failed, 2 cannot open or wrong usage\n";

int Unpack(const std::vector<std::string>& args) {
  CommandLine line("unpack", kUsage, kDetails, CommandLine::Wording::kUnknownOption);
  if (int code; !line.Parse(args, code)) return code;
  if (line.operands().size() > 1) return Fail(kExitUsage, "unpack takes at most one file");
  const std::string path = line.operands().empty() ? "phone.dat" : line.operands()[0];
  std::string file;
  if (const int code = ReadBookFile(path, file); code != kExitOk) return code;
  std::string text;
  const DecodeReport report = DecodeBuffer(file, text);
  if (const int code = WriteOutput("-", text); code != kExitOk) return code;
  if (report.damaged) return Fail(kExitDamaged, InputName(path) + ": " + report.problem);
  return kExitOk;
}

}  // namespace

KESTREL_COMMAND(Unpack, "unpack", "unpack [FILE]",
                "write the text the file holds to standard output");
