// Builds records for the search tests from (field, text) pairs.
#pragma once

#include <cstring>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "store/student_record.h"

inline StudentRecord MakeRecord(std::initializer_list<std::pair<int, std::string_view>> values) {
  StudentRecord record;
  for (const auto& [field, text] : values) {
    std::memcpy(record.fields[field], text.data(), text.size());
    record.fields[field][text.size()] = '\0';
  }
  return record;
}

inline StudentRecord Person(std::string_view last, std::string_view first = "",
                            std::string_view phoneText = "") {
  return MakeRecord({{lastName, last}, {firstName, first}, {phone, phoneText}});
}
