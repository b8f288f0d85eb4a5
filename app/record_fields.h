// How the record dialog's thirteen texts become a record's seventeen fields
// and back: each field holds at most 99 characters on one line, and the five
// address parts show as one line in the Address edit.
#pragma once

#include <string>
#include <string_view>

#include "store/student_record.h"

// Longest text a field holds: its 100 bytes less the terminator.
inline constexpr int kFieldTextMax = StudentRecord::kFieldSize - 1;

// Longest address line that five parts can hold when it breaks at blanks:
// five full parts and the four blanks between them.
inline constexpr int kAddressLineMax = 5 * kFieldTextMax + 4;

// Copies at most 99 characters of `text` into `field` and terminates it.
// Tabs, line feeds and carriage returns become blanks, so that no field can
// split its record's line in the data file.
void StoreField(char (&field)[StudentRecord::kFieldSize], std::string_view text);

// The address parts of `record` (fields 12-16) that are not empty, joined
// with one blank between them: "12 Main St", "", "Springfield" gives
// "12 Main St Springfield"; five empty parts give "". The parts' own blanks
// are kept as they are.
std::string JoinAddress(const StudentRecord& record);

// Stores `line` in the five address parts of `record`: all of it in part 1
// when it fits, otherwise spread over parts 1 to 5, each piece ending where
// a blank can be dropped (so that JoinAddress gives `line` back), or cut at
// 99 characters when a piece has no blank to break at. Returns false,
// leaving the address parts unchanged, when `line` does not fit into five
// parts; it always fits when it holds at most 495 characters.
bool StoreAddress(StudentRecord& record, std::string_view line);
