// What a record's field may hold, for every way text gets into one (the
// dialogs' edits, the imports of the command-line tool): one line of at most
// 99 Windows-1252 characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace field_text {

// The characters a field holds: its 100 bytes less the terminating NUL.
inline constexpr std::size_t kMaxLength = 99;

// The characters that would break a field's one line: tab, line feed and
// carriage return, and Unicode's line and paragraph separators where text
// still is Unicode. The book's text form ends a field with a tab and a record
// with a line feed and escapes nothing, so a field must never hold either.
constexpr bool BreaksLine(char32_t c) {
  return c == U'\t' || c == U'\n' || c == U'\r' || c == U'\u2028' || c == U'\u2029';
}

// What a typed or pasted character becomes in a field: a line break turns
// into a blank, anything else stays.
constexpr char32_t OneLine(char32_t c) { return BreaksLine(c) ? U' ' : c; }

// Stores `text` (Windows-1252) in `field` as the dialogs do: its first 99
// characters, each line break as a blank, and NULs to the field's end.
void Store(char (&field)[kMaxLength + 1], std::string_view text);

// Why text cannot go into a field unchanged.
enum class Fault {
  kNone,
  kTab,        // holds a tab
  kLineBreak,  // holds a line feed or carriage return
  kNul,        // holds a NUL byte, where a field would end
  kTooLong,    // longer than kMaxLength
};

// Checks Windows-1252 text that must go into a field exactly as it is, as an
// import must: the first faulty character decides, then the length.
Fault Check(std::string_view text);

// The fault in words, lower case, for messages: "tab inside a field",
// "longer than 99 bytes in Windows-1252 (104)" with `length` the text's size.
std::string Describe(Fault fault, std::size_t length);

}  // namespace field_text
