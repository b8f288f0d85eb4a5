// kestrel-book check [FILE]: whether the file is sound, and what it holds.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>

#include "store/codec/codec_buffer.h"
#include "store/journal.h"
#include "store/journal_file.h"
#include "store/platform/platform.h"
#include "store/record_text.h"
#include "tools/book_command.h"
#include "tools/commands.h"

namespace {

constexpr char kUsage[] = "check [FILE]";
constexpr char kDetails[] =
    "Says whether FILE (phone.dat when none is named; - for standard input) is a\n"
    "sound book and what it holds: header fields, checksum, table entries,\n"
    "payload bytes present against those needed, records and the longest line.\n\n"
    "exit status: 0 sound, 1 damaged, 2 cannot open or wrong usage\n";

std::size_t LongestLine(std::string_view text) {
  std::size_t longest = 0;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    longest = std::max(longest, end);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return longest;
}

// The journal beside the book, if any: a running session's, or one left by a
// session that died, which Kestrel offers to restore at its next start.
void ReportJournal(const std::string& path) {
  const std::string journalPath = journal::PathFor(path);
  const journal::Left left = journal::ReadLeft(journalPath);
  switch (left.status) {
    case journal::Left::Status::none:
    case journal::Left::Status::unreadable:
      return;
    case journal::Left::Status::planted:
      // Planted beside the book: Kestrel moves it aside unread at its next start.
      std::cout << "journal: " << journalPath << ": not read: " << left.found
                << ", not a journal of this user's\n";
      return;
    case journal::Left::Status::tooLarge:
      std::cout << "journal: " << journalPath << ": not read: " << left.reason << '\n';
      return;
    case journal::Left::Status::read:
      break;
  }
  // Asked, not taken: a check never waits for a writer, nor turns one away.
  const platform::BookLock lock = platform::BookLock::Inquire(path);
  if (lock.status() == platform::BookLock::Status::busy && lock.holderIsSession()) {
    std::cout << "journal: " << journalPath << ": kept by the running Kestrel session";
    if (lock.holderPid() != 0) std::cout << " (process " << lock.holderPid() << ')';
    std::cout << '\n';
    return;
  }
  const journal::Summary summary = journal::Summarize(left.bytes, 0);
  const std::size_t count = summary.entries;
  std::cout << "journal: " << journalPath << ": " << count << (count == 1 ? " change" : " changes")
            << " of a Kestrel session that ended without saving";
  if (summary.headerValid && summary.book != platform::StampOf(path)) {
    std::cout << ", made to the book as it was before it last changed";
  }
  std::cout << '\n';
}

int Check(const std::vector<std::string>& args) {
  CommandLine line("check", kUsage, kDetails, CommandLine::Wording::kUnknownOption);
  if (int code; !line.Parse(args, code)) return code;
  if (line.operands().size() > 1) return Fail(kExitUsage, "check takes at most one file");
  const std::string path = line.operands().empty() ? "phone.dat" : line.operands()[0];
  std::string file;
  if (const int code = ReadBookFile(path, file); code != kExitOk) return code;
  std::string text;
  const DecodeReport report = DecodeBuffer(file, text);

  std::cout << "file: " << InputName(path) << '\n' << "size: " << report.fileBytes << " bytes\n";
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
  if (!IsStandardStream(path)) ReportJournal(path);
  if (report.damaged) {
    std::cout << "status: damaged: " << report.problem << '\n';
    std::cout.flush();
    return Fail(kExitDamaged, InputName(path) + ": " + report.problem);
  }
  std::cout << "status: sound\n";
  return kExitOk;
}

}  // namespace

KESTREL_COMMAND(Check, "check", "check [FILE]", "say whether the file is sound and what it holds");
