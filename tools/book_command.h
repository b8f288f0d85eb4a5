// What the subcommands share once their options are read: opening the book,
// reading an input file and writing the output, "-" standing for the
// standard streams.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/record_store.h"
#include "tools/command_line.h"

// The book option every record command takes: -f BOOK, --file BOOK, with
// "phone.dat" in the current folder as the default in `path`.
void AddBookOption(CommandLine& line, std::string& path);

// The start that the commands reading a book share: their command line with
// the book option and no operands, and the book, loaded once the options
// are checked.
class ReadingCommand {
 public:
  ReadingCommand(const char* name, const char* usage, const char* details);
  ReadingCommand(const ReadingCommand&) = delete;
  ReadingCommand& operator=(const ReadingCommand&) = delete;

  // The command line, for the command's own options.
  CommandLine& line() { return line_; }
  // Parses `args`, refusing operands. Returns false with `code` to exit with.
  bool Parse(const std::vector<std::string>& args, int& code);
  // Loads the book (LoadBook, a missing one refused). Returns kExitOk or the
  // exit code.
  int Load();
  RecordStore& store() { return *store_; }

 private:
  CommandLine line_;
  std::string path_;
  std::optional<RecordStore> store_;
};

// How a subcommand treats a book file that does not exist.
enum class MissingBook { kRefuse, kStartEmpty };

// Loads the book of `store` for a subcommand. Returns kExitOk, or reports
// and returns kExitUsage for a file that is missing (unless
// kStartEmpty) or cannot be read, and kExitDamaged for a damaged one: a
// subcommand never works on part of a book.
int LoadBook(RecordStore& store, MissingBook missing);

// Takes the book's write lock for a command's whole read, change and write
// (the lock lasts as long as `store`). Returns kExitOk, also where the file
// system offers no locks (the command then goes on unlocked, as before) or
// the book does not exist yet; or reports and returns kExitDamaged when the
// program has the book open ("phone.dat is open in Kestrel on DESK-3 by anna
// since 08:05; close it first") or another command keeps writing it. While
// held, the lock file beside the book names this command's user and
// computer to other desks. Nothing is written.
int LockBookForWriting(RecordStore& store);

// Refuses, unless `force`, to write text output over `path` when it holds a
// Kestrel book: reports and returns kExitUsage, else returns kExitOk.
int RefuseOverwritingBook(const std::string& path, bool force);

// Reads a book file whole into `bytes`, standard input for "-". A path that
// is no regular file (FIFO, device) is refused unread with kExitUsage.
int ReadBookFile(const std::string& path, std::string& bytes);

// True for the operand that names a standard stream.
inline bool IsStandardStream(std::string_view path) { return path == "-"; }

// How a path shows in messages: "standard input" or "standard output" for
// "-", else the path itself.
std::string InputName(const std::string& path);
std::string OutputName(const std::string& path);

// The most text a book can hold: its byte counts stay below 2^31.
inline constexpr std::size_t kMaxBookText = 0x7FFFFFFF;

// The most a command reads of its input: what a book can hold, or half the
// memory available now, whichever is less. A pipe or a device may never end.
std::size_t InputBound();

// Reads the whole of `path`, or of standard input for "-", into `bytes`, up
// to InputBound(). Returns kExitOk, or reports and returns kExitUsage for a
// file that cannot be opened (or, with `regularOnly`, is no regular file),
// and kExitDamaged for standard input failing, input past the bound ("longer
// than 2147483647 bytes, the most a book's text can hold") or too little
// memory to hold it.
int ReadInput(const std::string& path, std::string& bytes, bool regularOnly = false);

// Writes `bytes` to standard output when `path` is empty or "-", else
// replaces the file `path` safely (never left half written). Returns kExitOk
// or reports and returns the failure's exit code.
int WriteOutput(const std::string& path, std::string_view bytes);

// Reports why the file `path` could not be written, and returns the exit
// code every command gives for it: kExitUsage when no file could be made
// there, kExitDamaged when writing failed part way.
int FailedWrite(const std::string& path, const platform::SaveResult& result);
