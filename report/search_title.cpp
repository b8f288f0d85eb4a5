// How a list's title line names the search that chose its records.
#include <string>

#include "report/layouts.h"
#include "text/form_labels.h"

namespace report {

std::string DescribeSearch(const SearchCriteria& criteria) {
  std::string description;
  for (int k = 0; k < StudentRecord::kSearchFieldCount; ++k) {
    if (criteria.text[k].empty()) continue;
    std::string label = form_labels::kInFieldOrder[k];
    if (label.back() == ':') label.pop_back();
    if (!description.empty()) description += ", ";
    description += label + " \"" + criteria.text[k] + '"';
  }
  return description;
}

}  // namespace report
