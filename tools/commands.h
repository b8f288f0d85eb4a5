// The subcommands of kestrel-book. Each lives in its own cmd_*.cpp file and
// registers itself there with one KESTREL_COMMAND line; main() only dispatches.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Exit codes shared by the subcommands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDamaged = 1;  // damaged file, or a write that failed
inline constexpr int kExitUsage = 2;    // wrong usage, or a file that cannot be opened

struct Command {
  const char* name;     // "check"
  const char* usage;    // "check [FILE]"
  const char* summary;  // one line for --help
  // Runs the command on the arguments after its name; returns the exit code.
  int (*run)(const std::vector<std::string>& args);
};

// Adds `command` to the registry; returns true so it can initialise a static.
bool RegisterCommand(const Command& command);

// Every registered command, ordered by name.
const std::vector<Command>& Commands();

// Registers `function` as subcommand `name` of kestrel-book.
#define KESTREL_COMMAND(function, name, usage, summary)     \
  [[maybe_unused]] static const bool function##Registered = \
      RegisterCommand({name, usage, summary, function})

// Prints "kestrel-book: <message>" on standard error and returns `code`.
int Fail(int code, const std::string& message);

// Flushes standard output and reports a failure to write it ("standard
// output: no space left on device"), once per run however often it is
// called; `writeError`, the errno of a write that failed before, gives the
// reason. A reader that closed the pipe (EPIPE) fails silently. Returns
// kExitOk, or kExitDamaged when the output failed; a failed output is the
// same exit code in every command.
int FlushStandardOutput(int writeError = 0);

// Writes `bytes` to standard output and flushes it, as FlushStandardOutput.
int WriteStandardOutput(std::string_view bytes);

// A system reason as the tool prints it: strerror's text with a lower-case first letter.
std::string SystemReason(int error);
std::string LowerFirst(std::string text);
