// How the record dialog's five address parts show as one line in the Address
// edit and go back. Each field holds one line of at most 99 characters
// (text/field_text.h).
#pragma once

#include <string>
#include <string_view>

#include "store/student_record.h"
#include "text/field_text.h"

// Longest address line that five parts can hold when it breaks at blanks:
// five full parts and the four blanks between them.
inline constexpr int kAddressLineMax = 5 * static_cast<int>(field_text::kMaxLength) + 4;

// The address parts of `record` (fields 12-16) that are not empty, joined
// with one blank between them: "12 Main St", "", "Springfield" gives
// "12 Main St Springfield"; five empty parts give "". The parts' own blanks
// are kept as they are.
std::string JoinAddress(const StudentRecord& record);

// Stores `line` in the five address parts of `record`: all of it in part 1
// when it fits, otherwise spread over parts 1 to 5, each piece ending where
// a blank can be dropped (so that JoinAddress gives `line` back), or cut at
// 99 characters when a piece has no blank to break at. When pieces that end
// at blanks need more than five parts, every piece is cut at 99 characters
// instead, dropping a blank that stands right at a cut. Returns false,
// leaving the address parts unchanged, when `line` does not fit even so; it
// always fits when it holds at most 495 characters, and a line that
// JoinAddress made always fits.
bool StoreAddress(StudentRecord& record, std::string_view line);

// True when StoreAddress can store `line`.
bool AddressFits(std::string_view line);
