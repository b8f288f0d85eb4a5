// Parsing the options of a kestrel-book subcommand.
#include "tools/command_line.h"

#include <iostream>

#include "tools/commands.h"

CommandLine::CommandLine(const char* command, const char* usage, const char* details,
                         Wording wording)
    : command_(command), usage_(usage), details_(details), wording_(wording) {}

void CommandLine::AddFlag(std::string_view longName, bool& target) {
  options_.push_back({0, std::string(longName), nullptr, &target, EmptyValue::kRefuse,
                      Repeat::kLastWins});
}

void CommandLine::AddValue(char shortName, std::string_view longName, std::string& target,
                           EmptyValue empty, Repeat repeat) {
  options_.push_back({shortName, std::string(longName), &target, nullptr, empty, repeat});
}

void CommandLine::AddValue(char shortName, std::string_view longName, std::string& target,
                           bool& given, EmptyValue empty, Repeat repeat) {
  options_.push_back({shortName, std::string(longName), &target, &given, empty, repeat});
}

const CommandLine::Option* CommandLine::FindLong(std::string_view name) const {
  for (const Option& option : options_) {
    if (option.longName == name) return &option;
  }
  return nullptr;
}

const CommandLine::Option* CommandLine::FindShort(char name) const {
  for (const Option& option : options_) {
    if (option.shortName != 0 && option.shortName == name) return &option;
  }
  return nullptr;
}

int CommandLine::Unexpected(const std::string& arg) const {
  if (wording_ == Wording::kUnknownOption) {
    return Fail(kExitUsage, "unknown option '" + arg + "' for " + command_ +
                                " (see kestrel-book --help)");
  }
  return Fail(kExitUsage, std::string(command_) + ": unexpected argument '" + arg +
                              "' (see kestrel-book " + command_ + " --help)");
}

bool CommandLine::Take(const Option& option, const std::string& spelling,
                       const std::string* value) {
  const std::size_t index = static_cast<std::size_t>(&option - options_.data());
  if (seen_[index] && option.repeat == Repeat::kRefuse) {
    Fail(kExitUsage, std::string(command_) + ": --" + option.longName + " given twice");
    return false;
  }
  seen_[index] = true;
  if (option.value == nullptr) {  // a flag
    *option.given = true;
    return true;
  }
  if (value == nullptr || (value->empty() && option.empty == EmptyValue::kRefuse)) {
    Fail(kExitUsage, spelling + " needs a value");
    return false;
  }
  *option.value = *value;
  if (option.given != nullptr) *option.given = true;
  return true;
}

bool CommandLine::Parse(const std::vector<std::string>& args, int& exitCode) {
  exitCode = kExitUsage;
  seen_.assign(options_.size(), false);
  operands_.clear();
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const std::string* next = i + 1 < args.size() ? &args[i + 1] : nullptr;
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      operands_.push_back(arg);  // "-" included: standard input or output
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      std::cout << "usage: kestrel-book " << usage_ << "\n\n" << details_;
      exitCode = kExitOk;
      return false;
    }
    if (arg[1] == '-') {  // --name, --name=value, --name value
      const std::size_t equals = arg.find('=');
      const Option* option = FindLong(std::string_view(arg).substr(2, equals - 2));
      if (option == nullptr || (equals != std::string::npos && option->value == nullptr)) {
        Unexpected(arg);
        return false;
      }
      if (equals != std::string::npos) {
        const std::string value = arg.substr(equals + 1);
        if (!Take(*option, arg, &value)) return false;
        continue;
      }
      if (option->value != nullptr && next != nullptr) ++i;
      if (!Take(*option, arg, option->value != nullptr ? next : nullptr)) return false;
      continue;
    }
    const Option* option = FindShort(arg[1]);  // -f BOOK, -fBOOK
    if (option == nullptr || option->value == nullptr) {
      Unexpected(arg);
      return false;
    }
    if (arg.size() > 2) {
      const std::string value = arg.substr(2);
      if (!Take(*option, arg.substr(0, 2), &value)) return false;
      continue;
    }
    if (next != nullptr) ++i;
    if (!Take(*option, arg, next)) return false;
  }
  exitCode = kExitOk;
  return true;
}
