// Opening the book, reading input and writing output for the subcommands.
#include "tools/book_command.h"

#include <cerrno>
#include <cstdio>

#include "store/codec/codec_buffer.h"
#include "store/holder_words.h"
#include "store/platform/platform.h"
#include "tools/commands.h"
#include "tools/standard_output.h"

void AddBookOption(CommandLine& line, std::string& path) {
  path = "phone.dat";
  line.AddValue('f', "file", path);
}

int LoadBook(RecordStore& store, MissingBook missing) {
  const std::string path = store.path();
  if (!platform::StampOf(path).exists) {
    if (missing == MissingBook::kStartEmpty) return kExitOk;
    return Fail(kExitUsage, path + ": no such file");
  }
  store.SetAnnounceBadChecksum(false);  // the problem goes to standard error below
  store.Load();
  const LoadReport& report = store.loadReport();
  switch (report.code) {
    case LoadProblem::kNone:
      return kExitOk;
    case LoadProblem::kNoFile:
      return Fail(kExitUsage, path + ": no such file");
    case LoadProblem::kUnreadable:
      return Fail(kExitUsage, path + ": cannot read: " + LowerFirst(report.systemReason));
    case LoadProblem::kNotAFile:
      return Fail(kExitUsage, path + ": " + report.problem);
    case LoadProblem::kTooLarge:
      return Fail(kExitDamaged, report.problem);
    case LoadProblem::kDamaged:
      break;
  }
  return Fail(kExitDamaged, path + ": " + report.problem);
}

int LockBookForWriting(RecordStore& store) {
  using platform::BookLock;
  const BookLock& lock = store.Lock(BookLock::Purpose::write);
  if (lock.status() != BookLock::Status::busy) return kExitOk;
  const std::string holder = store.path() + " is " + lock_file::HolderWords(store.path(), lock);
  return Fail(kExitDamaged, holder + (lock.holderIsSession() ? "; close it first" : "; try again"));
}

int RefuseOverwritingBook(const std::string& path, bool force) {
  if (force || IsStandardStream(path) || platform::KindOf(path) != platform::FileKind::regular) {
    return kExitOk;
  }
  std::string bytes, text;
  if (platform::ReadWholeFile(path, bytes, nullptr, {.regularOnly = true}) != 0) return kExitOk;
  if (bytes.empty() || DecodeBuffer(bytes, text).damaged) return kExitOk;
  return Fail(kExitUsage, path + ": is a Kestrel book; use --force to replace it");
}

int ReadBookFile(const std::string& path, std::string& bytes) {
  if (IsStandardStream(path)) return ReadInput(path, bytes);
  const int error = platform::ReadWholeFile(path, bytes, nullptr, {.regularOnly = true});
  if (error == platform::kNotRegularFile) {
    return Fail(kExitUsage,
                path + ": not a regular file but " + platform::Describe(platform::KindOf(path)));
  }
  if (error != 0) return Fail(kExitUsage, path + ": " + SystemReason(error));
  return kExitOk;
}

std::string InputName(const std::string& path) {
  return IsStandardStream(path) ? "standard input" : path;
}

std::string OutputName(const std::string& path) {
  return IsStandardStream(path) ? "standard output" : path;
}

int ReadInput(const std::string& path, std::string& bytes) {
  if (!IsStandardStream(path)) {
    if (const int error = platform::ReadWholeFile(path, bytes); error != 0) {
      return Fail(kExitUsage, path + ": " + SystemReason(error));
    }
    return kExitOk;
  }
  bytes.clear();
  char buffer[1 << 16];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) bytes.append(buffer, got);
  if (std::ferror(stdin)) return Fail(kExitDamaged, "standard input: " + SystemReason(errno));
  return kExitOk;
}

int WriteOutput(const std::string& path, std::string_view bytes) {
  if (path.empty() || IsStandardStream(path)) {
    WriteStandardOutput(bytes);
    return FlushStandardOutput();
  }
  const platform::ReplaceOutcome outcome = platform::ReplaceFile(path, bytes);
  switch (outcome.status) {
    case platform::ReplaceOutcome::Status::replaced:
      return kExitOk;
    case platform::ReplaceOutcome::Status::cannotCreate:
      return Fail(kExitUsage, path + ": cannot create: " + LowerFirst(outcome.reason));
    case platform::ReplaceOutcome::Status::writeFailed:
    case platform::ReplaceOutcome::Status::appeared:
      break;
  }
  return Fail(kExitDamaged, path + ": " + LowerFirst(outcome.reason));
}
