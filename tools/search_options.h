// The criteria options that choose records, the same for every command that
// searches: --student-no TEXT ... --address TEXT, one per searchable field.
#pragma once

#include <string>

#include "search/find_matches.h"
#include "tools/command_line.h"

// The help lines of the criteria options, a literal to join to a
// command's details.
#define KESTREL_CRITERIA_HELP                                           \
  "  --student-no TEXT     --last-name TEXT      --first-name TEXT\n"   \
  "  --middle-name1 TEXT   --middle-name2 TEXT   --gender TEXT\n"       \
  "  --birthday TEXT       --phone TEXT          --email TEXT\n"        \
  "  --cell-phone TEXT     --parent-name TEXT    --parent-phone TEXT\n" \
  "  --address TEXT        the five address parts, each followed by one blank\n"

// Declares one option per searchable field, each filling its text of `criteria`.
void AddCriteriaOptions(CommandLine& line, SearchCriteria& criteria);

// Turns the parsed texts from UTF-8 into the book's Windows-1252. Returns
// kExitOk, or reports a text the book cannot hold ("--last-name: ...") and
// returns kExitUsage.
int ConvertCriteria(SearchCriteria& criteria);
