// The subcommands of kestrel-book. Each lives in its own cmd_*.cpp file and
// registers itself there with one KESTREL_COMMAND line; main() only dispatches.
#pragma once

#include <string>
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

// A system reason as the tool prints it: strerror's text with a lower-case first letter.
std::string SystemReason(int error);
std::string LowerFirst(std::string text);

// Reports a usage error and returns true when `args` hold an option (a word
// starting with '-'), so that no such word is ever taken for a file name.
bool RefuseOptions(const char* command, const std::vector<std::string>& args);

// The data file an optional-FILE command works on: args[0], or "phone.dat"
// in the current directory. Returns false (after reporting the usage error)
// when there are more arguments.
bool FileArgument(const char* command, const std::vector<std::string>& args, std::string& file);
