// The command registry and the helpers the subcommands share.
#include "tools/commands.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "store/platform/platform.h"
#include "tools/standard_output.h"

namespace {
std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}
}  // namespace

bool RegisterCommand(const Command& command) {
  auto& commands = Registry();
  commands.push_back(command);
  std::sort(commands.begin(), commands.end(),
            [](const Command& a, const Command& b) { return std::strcmp(a.name, b.name) < 0; });
  return true;
}

const std::vector<Command>& Commands() { return Registry(); }

int Fail(int code, const std::string& message) {
  std::cerr << "kestrel-book: " << message << '\n';
  return code;
}

int FlushStandardOutput(int writeError) {
  static bool reported = false;
  static int firstError = 0;  // the system's reason, kept from the write that failed
  if (firstError == 0) firstError = writeError;
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  if (!flushed && firstError == 0) firstError = errno;
  if (flushed && !std::ferror(stdout)) return kExitOk;
  // A reader that went away (head, a closed pager) is no news to the user:
  // the exit status alone says the output is incomplete.
  if (!reported && firstError != EPIPE) {
    Fail(kExitDamaged, "standard output: " + (firstError != 0 ? SystemReason(firstError)
                                                              : std::string("write failed")));
  }
  reported = true;
  return kExitDamaged;
}

int WriteStandardOutput(std::string_view bytes) {
  return FlushStandardOutput(PutStandardOutput(bytes));
}

std::string LowerFirst(std::string text) {
  if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  return text;
}

// The system's own words: on Windows those its users read elsewhere.
std::string SystemReason(int error) { return LowerFirst(platform::ErrorText(error)); }
