// Finding records that stand for the same student.
#include "tools/duplicates.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "text/cp1252.h"

namespace duplicates {

namespace {

std::string_view Field(const StudentRecord& record, int index) {
  return {record.fields[index], strnlen(record.fields[index], StudentRecord::kFieldSize)};
}

// The seventeen fields, each ended by a tab, which no field holds.
std::string WholeKey(const StudentRecord& record) {
  std::string key;
  for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
    key += Field(record, f);
    key += '\t';
  }
  return key;
}

}  // namespace

void SameRecordFilter::LearnLive(const RecordList& book) {
  for (const StudentRecord& record : book) {
    if (!IsEmpty(record)) seen_.insert(WholeKey(record));
  }
}

bool SameRecordFilter::SeenBefore(const StudentRecord& record) {
  return !seen_.insert(WholeKey(record)).second;
}

std::vector<Group> FindGroups(const RecordList& book) {
  std::map<std::string, std::vector<std::size_t>> byNumber;
  std::map<std::string, std::vector<std::size_t>> byName;
  for (std::size_t i = 0; i < book.size(); ++i) {
    const StudentRecord& record = book[i];
    if (IsEmpty(record)) continue;
    if (!Field(record, studentNo).empty()) byNumber[std::string(Field(record, studentNo))].push_back(i);
    std::string name;
    for (int f : {lastName, firstName, birthday}) {
      name += cp1252::ToLower(Field(record, f));
      name += '\t';
    }
    if (name != "\t\t\t") byName[name].push_back(i);
  }
  std::vector<Group> groups;
  for (auto& [key, indexes] : byNumber) {
    if (indexes.size() > 1) groups.push_back({Group::Reason::kStudentNumber, std::move(indexes)});
  }
  const std::size_t numberGroups = groups.size();
  for (auto& entry : byName) {
    std::vector<std::size_t>& indexes = entry.second;
    if (indexes.size() < 2) continue;
    const bool same = std::any_of(groups.begin(), groups.begin() + numberGroups,
                                  [&](const Group& g) { return g.indexes == indexes; });
    if (!same) groups.push_back({Group::Reason::kNameAndBirthday, std::move(indexes)});
  }
  std::sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) {
    return a.indexes.front() != b.indexes.front() ? a.indexes.front() < b.indexes.front()
                                                  : a.reason < b.reason;
  });
  return groups;
}

}  // namespace duplicates
