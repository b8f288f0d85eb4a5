// Records that stand for the same student: the duplicates command lists them,
// and an import can leave out rows the book holds already.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

#include "store/student_record.h"

namespace duplicates {

// Remembers records whole (all seventeen fields) to tell whether an
// identical one came before.
class SameRecordFilter {
 public:
  // Learns the live records of `book`.
  void LearnLive(const RecordList& book);

  // True when a record identical to `record` is known; otherwise learns it
  // and returns false.
  bool SeenBefore(const StudentRecord& record);

 private:
  std::unordered_set<std::string> seen_;
};

// Live records that share a student number (not empty), or that share last
// name, first name and birthday with case folded (not all three empty).
struct Group {
  enum class Reason { kStudentNumber, kNameAndBirthday };
  Reason reason;
  std::vector<std::size_t> indexes;  // into the book, ascending; two or more
};

// Every group of `book`, ordered by their first record; a name group with
// the same records as a student-number group is left out.
std::vector<Group> FindGroups(const RecordList& book);

}  // namespace duplicates
