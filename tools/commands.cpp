// The command registry and the helpers the subcommands share.
#include "tools/commands.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "store/platform/platform.h"

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

int FlushStandardOutput() {
  static bool reported = false;
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  if (flushed && !std::ferror(stdout)) return kExitOk;
  if (!reported) {
    reported = true;
    const int error = errno;
    Fail(kExitDamaged, "standard output: " + (!flushed && error != 0 ? SystemReason(error)
                                                                      : std::string("write failed")));
  }
  return kExitDamaged;
}

std::string LowerFirst(std::string text) {
  if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  return text;
}

// The system's own words: on Windows those its users read elsewhere.
std::string SystemReason(int error) { return LowerFirst(platform::ErrorText(error)); }
