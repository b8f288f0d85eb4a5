// The rule for a field's text.
#include "text/field_text.h"

#include <algorithm>
#include <cstring>

namespace field_text {

void Store(char (&field)[kMaxLength + 1], std::string_view text) {
  const std::size_t length = std::min(text.size(), kMaxLength);
  for (std::size_t i = 0; i < length; ++i) {
    const char c = text[i];
    field[i] = BreaksLine(static_cast<unsigned char>(c)) ? ' ' : c;
  }
  std::memset(field + length, 0, sizeof field - length);
}

Fault Check(std::string_view text) {
  for (char c : text) {
    if (c == '\t') return Fault::kTab;
    if (BreaksLine(static_cast<unsigned char>(c))) return Fault::kLineBreak;
    if (c == '\0') return Fault::kNul;
  }
  return text.size() > kMaxLength ? Fault::kTooLong : Fault::kNone;
}

std::string Describe(Fault fault, std::size_t length) {
  switch (fault) {
    case Fault::kNone:
      break;
    case Fault::kTab:
      return "tab inside a field";
    case Fault::kLineBreak:
      return "line break inside a field";
    case Fault::kNul:
      return "NUL byte inside a field";
    case Fault::kTooLong:
      return "longer than " + std::to_string(kMaxLength) + " bytes in Windows-1252 (" +
             std::to_string(length) + ")";
  }
  return {};
}

}  // namespace field_text
