// What the subcommands that read records share: their options, loading the
// book, and writing text to standard output or to a file.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "store/record_store.h"

// The outcome of looking at args[i] for one option.
enum class OptionMatch {
  kNo,            // args[i] is another argument; i unchanged
  kTaken,         // the option and its value were taken; i is on the last argument used
  kMissingValue,  // the option is there but its value is missing or empty
};

enum class EmptyValue { kRefuse, kAccept };

// Takes an option with a value at args[i], in any of the forms "-f VALUE",
// "--file VALUE" and "--file=VALUE", for each spelling in `names` (e.g.
// {"-f", "--file"}). An empty value counts as missing unless accepted.
OptionMatch TakeValueOption(const std::vector<std::string>& args, std::size_t& i,
                            std::initializer_list<std::string_view> names, std::string& value,
                            EmptyValue empty = EmptyValue::kRefuse);

// Prints "<usage>" and `details` on standard output, for a subcommand's --help.
int PrintCommandHelp(const char* usage, const char* details);

// How a subcommand treats a book file that does not exist.
enum class MissingBook { kRefuse, kStartEmpty };

// Loads the book of `store` for a subcommand. Returns kExitOk, or reports
// and returns kExitUsage for a file that is missing (unless
// kStartEmpty) or cannot be read, and kExitDamaged for a damaged one: a
// subcommand never works on part of a book.
int LoadBook(RecordStore& store, MissingBook missing);

// Writes `bytes` to standard output when `path` is empty, else replaces the
// file `path` safely (never left half written). Returns kExitOk or reports
// and returns the failure's exit code.
int WriteOutput(const std::string& path, std::string_view bytes);
