// What the subcommands share once their options are read: opening the book,
// reading an input file and writing the output, "-" standing for the
// standard streams.
#pragma once

#include <string>
#include <string_view>

#include "store/record_store.h"
#include "tools/command_line.h"

// The book option every record command takes: -f BOOK, --file BOOK, with
// "phone.dat" in the current folder as the default in `path`.
void AddBookOption(CommandLine& line, std::string& path);

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

// Reads the whole of `path`, or of standard input for "-", into `bytes`.
// Returns kExitOk, or reports and returns kExitUsage for a file that cannot
// be opened and kExitDamaged for standard input failing.
int ReadInput(const std::string& path, std::string& bytes);

// Writes `bytes` to standard output when `path` is empty or "-", else
// replaces the file `path` safely (never left half written). Returns kExitOk
// or reports and returns the failure's exit code.
int WriteOutput(const std::string& path, std::string_view bytes);
