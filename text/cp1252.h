// Windows-1252, the single-byte code page of every text in a record and in
// the data file. Plain C++: the store, the search, the command-line tool and
// the toolkit all use it, and only the toolkit meets Qt.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cp1252 {

// The Unicode code point that byte b stands for. The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of
// the same value, as Windows itself converts them, so every byte round-trips.
char32_t ToUnicode(unsigned char b);

// The byte for code point c, or false when the code page cannot hold it.
bool FromUnicode(char32_t c, unsigned char* out);

// Lower-case folding as the code page does it: A-Z, the accented capitals
// 0xC0-0xDE except the multiplication sign 0xD7, and S/Z with caron, OE and
// Y with diaeresis. Every other byte is returned unchanged.
unsigned char ToLower(unsigned char b);

// Folds a whole string with ToLower.
std::string ToLower(std::string_view text);

// Converts Windows-1252 bytes to UTF-8. Never fails.
std::string ToUtf8(std::string_view bytes);

// The result of turning UTF-8 into Windows-1252.
struct FromUtf8Result {
  // Why the first '?' was substituted.
  enum class Failure {
    kNone,             // nothing was: the conversion is exact
    kMalformed,        // the bytes at badOffset are not UTF-8
    kUnrepresentable,  // badChar, well-formed, has no byte in the code page
  };
  std::string text;        // converted bytes; '?' stands for what could not be held
  bool exact = true;       // false when any '?' was substituted
  std::size_t badOffset = 0;  // byte offset in the UTF-8 input of the first substitution
  Failure failure = Failure::kNone;
  char32_t badChar = 0;    // the character of a kUnrepresentable failure
};

// Converts UTF-8 to Windows-1252. Characters the code page cannot hold and
// malformed UTF-8 sequences become '?', and the result says where the first
// one was and which of the two it was, so a strict caller can refuse the input
// and say why.
FromUtf8Result FromUtf8(std::string_view utf8);

}  // namespace cp1252
