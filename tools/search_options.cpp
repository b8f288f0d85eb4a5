// The criteria options shared by search and print.
#include "tools/search_options.h"

#include <algorithm>

#include "tools/book_csv.h"
#include "tools/commands.h"

namespace {

// The option of criterion k: the column name with hyphens, and "--address"
// for the address text.
std::string CriterionOption(int k) {
  if (k == address1) return "--address";
  std::string name = "--" + std::string(book_csv::kColumnNames[k]);
  std::replace(name.begin(), name.end(), '_', '-');
  return name;
}

}  // namespace

void AddCriteriaOptions(CommandLine& line, SearchCriteria& criteria) {
  for (int k = 0; k < StudentRecord::kSearchFieldCount; ++k) {
    line.AddValue(0, CriterionOption(k).substr(2), criteria.text[k],
                  CommandLine::EmptyValue::kAccept, CommandLine::Repeat::kRefuse);
  }
}

int ConvertCriteria(SearchCriteria& criteria) {
  for (int k = 0; k < StudentRecord::kSearchFieldCount; ++k) {
    std::string converted;
    std::string why;
    if (!book_csv::Utf8ToWindows1252(criteria.text[k], converted, why)) {
      return Fail(kExitUsage, CriterionOption(k) + ": " + why);
    }
    criteria.text[k] = std::move(converted);
  }
  return kExitOk;
}
