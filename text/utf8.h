// UTF-8, the encoding of everything Kestrel exchanges with the world outside
// the book: the one decoder and encoder of the project.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace utf8 {

// Decodes the sequence that starts at text[i] into *c and returns its length
// in bytes, or 0 when it is malformed: a stray continuation byte, a lead byte
// that UTF-8 never uses, a sequence cut short, an overlong form, a surrogate or
// a value beyond U+10FFFF. *c is left alone on 0. `i` must be below text.size().
std::size_t Decode(std::string_view text, std::size_t i, char32_t* c);

// Appends code point `c` (at most U+10FFFF) as UTF-8.
void Append(std::string& out, char32_t c);

// True when the whole of `text` is well-formed UTF-8.
bool IsValid(std::string_view text);

}  // namespace utf8
