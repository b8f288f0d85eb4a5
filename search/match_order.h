// The order of the match list: records ascending by their one-line label,
// compared byte by byte as unsigned values, a label before every longer label
// that it begins.
#pragma once

#include <string>
#include <vector>

#include "store/student_record.h"

// True when RecordLabel(a) orders before RecordLabel(b): the first differing
// byte decides, as an unsigned value (so capitals before small letters, and
// "<Deleted Record>" after digits and before letters); when one label is a
// prefix of the other, the shorter comes first. Formats both labels afresh on
// every call; sorting a list should use SortMatches instead.
bool LabelLess(const StudentRecord& a, const StudentRecord& b);

// Sorts `matches` in place ascending by LabelLess and returns their labels in
// the new order, so label i belongs to record i. Each label is formatted once
// and each record moved at most once (records keep their `master` links).
// Records with equal labels keep their relative order.
std::vector<std::string> SortMatches(RecordList& matches);

// The same order for pointers to records, which stay where they are.
void SortByLabel(std::vector<const StudentRecord*>& records);
