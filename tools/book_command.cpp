// Opening the book, reading input and writing output for the subcommands.
#include "tools/book_command.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <new>

#include "store/amount_words.h"
#include "store/codec/codec_buffer.h"
#include "store/holder_words.h"
#include "store/platform/platform.h"
#include "tools/commands.h"

void AddBookOption(CommandLine& line, std::string& path) {
  path = "phone.dat";
  line.AddValue('f', "file", path);
}

ReadingCommand::ReadingCommand(const char* name, const char* usage, const char* details)
    : line_(name, usage, details) {
  AddBookOption(line_, path_);
}

bool ReadingCommand::Parse(const std::vector<std::string>& args, int& code) {
  if (!line_.Parse(args, code)) return false;
  if (line_.operands().empty()) return true;
  code = line_.Unexpected(line_.operands()[0]);
  return false;
}

int ReadingCommand::Load() {
  store_.emplace(path_.c_str());
  return LoadBook(*store_, MissingBook::kRefuse);
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
  switch (report.problem) {
    case LoadProblem::kNone:
      return kExitOk;
    case LoadProblem::kNoFile:
      return Fail(kExitUsage, path + ": no such file");
    case LoadProblem::kUnreadable:
      return Fail(kExitUsage, path + ": cannot read: " + LowerFirst(report.systemReason));
    case LoadProblem::kNotAFile:
      return Fail(kExitUsage, path + ": " + report.reason);
    case LoadProblem::kTooLarge:
      return Fail(kExitDamaged, report.reason);
    case LoadProblem::kDamaged:
      break;
  }
  return Fail(kExitDamaged, path + ": " + report.reason);
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
  // The header and table are enough to tell; the name tells nothing.
  std::string start;
  const int error = platform::ReadWholeFile(
      path, start, nullptr,
      {.regularOnly = true, .limit = HuffmanCodec::kHeaderBytes + HuffmanCodec::kMaxTableSize});
  if (error != 0 && error != platform::kPastLimit) return kExitOk;
  if (!LooksLikeDataFile(start)) return kExitOk;
  return Fail(kExitUsage, path + ": is a Kestrel book; use --force to replace it");
}

int ReadBookFile(const std::string& path, std::string& bytes) {
  return ReadInput(path, bytes, /*regularOnly=*/!IsStandardStream(path));
}

std::string InputName(const std::string& path) {
  return IsStandardStream(path) ? "standard input" : path;
}

std::string OutputName(const std::string& path) {
  return IsStandardStream(path) ? "standard output" : path;
}

namespace {

// The bound as a message names it.
std::string InputBoundText(std::size_t bound) {
  char text[96];
  if (bound == kMaxBookText) {
    std::snprintf(text, sizeof text, "%zu bytes, the most a book's text can hold", bound);
  } else {
    return MemoryAmount(bound) + ", half the memory available";
  }
  return text;
}

}  // namespace

std::size_t InputBound() {
  return static_cast<std::size_t>(
      std::min<std::uint64_t>(kMaxBookText, platform::AvailableMemory() / 2));
}

int ReadInput(const std::string& path, std::string& bytes, bool regularOnly) {
  const std::size_t bound = InputBound();
  const platform::ReadOptions options{.regularOnly = regularOnly, .limit = bound};
  int error = 0;
  try {
    error = IsStandardStream(path) ? platform::ReadStandardInput(bytes, options)
                                   : platform::ReadWholeFile(path, bytes, nullptr, options);
  } catch (const std::bad_alloc&) {
    bytes = std::string();
    return Fail(kExitDamaged,
                InputName(path) + ": not enough memory to read it; nothing was written");
  }
  if (error == 0) return kExitOk;
  if (error == platform::kPastLimit) {
    bytes = std::string();
    return Fail(kExitDamaged, InputName(path) + ": longer than " + InputBoundText(bound) +
                                  "; nothing was written");
  }
  if (error == platform::kNotRegularFile) {
    return Fail(kExitUsage,
                path + ": not a regular file but " + platform::Describe(platform::KindOf(path)));
  }
  if (IsStandardStream(path)) return Fail(kExitDamaged, "standard input: " + SystemReason(error));
  return Fail(kExitUsage, path + ": " + SystemReason(error));
}

int WriteOutput(const std::string& path, std::string_view bytes) {
  if (path.empty() || IsStandardStream(path)) {
    return WriteStandardOutput(bytes);
  }
  const platform::SaveResult written = platform::ReplaceFile(path, bytes);
  return written.ok() ? kExitOk : FailedWrite(path, written);
}

int FailedWrite(const std::string& path, const platform::SaveResult& result) {
  if (result.problem == platform::SaveProblem::kCannotCreate) {
    return Fail(kExitUsage, path + ": cannot create: " + LowerFirst(result.reason));
  }
  return Fail(kExitDamaged, path + ": " + LowerFirst(result.reason));
}
