// kestrel-book check [FILE]: whether the file is sound, and what it holds.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>

#include "store/codec/codec_buffer.h"
#include "store/platform/platform.h"
#include "store/record_text.h"
#include "tools/book_command.h"
#include "tools/commands.h"

namespace {

std::size_t LongestLine(std::string_view text) {
  std::size_t longest = 0;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    longest = std::max(longest, end);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return longest;
}

int Check(const std::vector<std::string>& args) {
  std::string path;
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    return PrintCommandHelp("check [FILE]",
                            "Says whether FILE (phone.dat when none is named) is a sound book and\n"
                            "what it holds: header fields, checksum, table entries, payload bytes\n"
                            "present against those needed, records and the longest line.\n\n"
                            "exit status: 0 sound, 1 damaged, 2 cannot open or wrong usage\n");
  }
  if (!FileArgument("check", args, path)) return kExitUsage;
  std::string file;
  if (const int error = platform::ReadWholeFile(path, file); error != 0) {
    return Fail(kExitUsage, path + ": " + SystemReason(error));
  }
  std::string text;
  const DecodeReport report = DecodeBuffer(file, text);

  std::cout << "file: " << path << '\n' << "size: " << report.fileBytes << " bytes\n";
  if (report.headerComplete) {
    char checksum[8];
    std::snprintf(checksum, sizeof checksum, "0x%02X", report.checksum);
    std::cout << "checksum: " << checksum << (report.checksumOk ? " (ok)" : " (bad)") << '\n'
              << "total bits: " << report.totalBits << '\n'
              << "table size: " << report.tableSize << " bytes\n";
  }
  if (report.checksumOk) {
    std::cout << "table entries: " << report.tableEntries << '\n'
              << "bytes counted: " << report.countSum << '\n'
              << "bits for counts: " << report.bitsForCounts << '\n'
              << "payload: " << report.payloadBytesPresent << " of " << report.payloadBytesNeeded
              << " bytes\n"
              << "decoded: " << report.bytesDecoded << " bytes\n"
              << "records: " << CountBookLines(text) << '\n'
              << "longest line: " << LongestLine(text) << " characters\n";
  }
  if (report.damaged) {
    std::cout << "status: damaged: " << report.problem << '\n';
    std::cout.flush();
    return Fail(kExitDamaged, path + ": " + report.problem);
  }
  std::cout << "status: sound\n";
  return kExitOk;
}

}  // namespace

KESTREL_COMMAND(Check, "check", "check [FILE]", "say whether the file is sound and what it holds");
