// The one option parser of kestrel-book. A subcommand declares its options
// and gets its operands; the forms are the same everywhere: "-f BOOK",
// "-fBOOK", "--file BOOK", "--file=BOOK", "-h"/"--help" for the command's help,
// "--" to end the options, and "-" as an operand (standard input or output).
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CommandLine {
 public:
  // How an argument the command does not know is reported.
  enum class Wording {
    kUnknownOption,       // "unknown option '-x' for check (see kestrel-book --help)"
    kUnexpectedArgument,  // "export: unexpected argument '-x' (see kestrel-book export --help)"
  };

  // `command` names the subcommand in messages; `usage` and `details` are its
  // help, printed for -h or --help.
  CommandLine(const char* command, const char* usage, const char* details,
              Wording wording = Wording::kUnexpectedArgument);

  // An option without a value, "--tsv": sets `target` to true.
  void AddFlag(std::string_view longName, bool& target);

  enum class EmptyValue { kRefuse, kAccept };
  enum class Repeat { kLastWins, kRefuse };
  // An option with a value, "-f BOOK" or "--file BOOK" (shortName 0: long
  // form only). A missing value, or an empty one unless accepted, is a usage
  // error, as is a second use when refused.
  void AddValue(char shortName, std::string_view longName, std::string& target,
                EmptyValue empty = EmptyValue::kRefuse, Repeat repeat = Repeat::kLastWins);
  // The same, also setting `given` when the option appears.
  void AddValue(char shortName, std::string_view longName, std::string& target, bool& given,
                EmptyValue empty = EmptyValue::kRefuse, Repeat repeat = Repeat::kLastWins);

  // Reads `args`, the words after the command's name. Returns true when the
  // command should run. Otherwise the help was printed or a usage error
  // reported, and `exitCode` says which.
  bool Parse(const std::vector<std::string>& args, int& exitCode);

  // The arguments that are not options, in order.
  const std::vector<std::string>& operands() const { return operands_; }

  // Reports `arg` as an argument the command does not take; returns kExitUsage.
  int Unexpected(const std::string& arg) const;

 private:
  struct Option {
    char shortName;
    std::string longName;  // without the leading "--"
    std::string* value;    // null for a flag
    bool* given;
    EmptyValue empty;
    Repeat repeat;
  };
  const Option* FindLong(std::string_view name) const;
  const Option* FindShort(char name) const;
  // Stores `value` for `option`, spelt `spelling` on the command line;
  // returns false after reporting a usage error.
  bool Take(const Option& option, const std::string& spelling, const std::string* value);

  const char* command_;
  const char* usage_;
  const char* details_;
  Wording wording_;
  std::vector<Option> options_;
  std::vector<bool> seen_;
  std::vector<std::string> operands_;
};
