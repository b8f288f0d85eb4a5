// Encodings and field text for the imports.
#include "tools/import_text.h"

#include <cctype>
#include <cstdio>

#include "text/cp1252.h"
#include "text/field_text.h"
#include "text/utf8.h"

namespace import_text {

bool ParseEncoding(std::string_view name, Encoding& encoding) {
  std::string lower;
  for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "utf-8" || lower == "utf8") {
    encoding = Encoding::kUtf8;
    return true;
  }
  if (lower == "windows-1252" || lower == "cp1252" || lower == "ansi") {
    encoding = Encoding::kWindows1252;
    return true;
  }
  return false;
}

std::string_view WideUnicodeForm(std::string_view bytes) {
  // UTF-32's little-endian mark begins with UTF-16's, so it is tested first.
  if (bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4)) ||
      bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4))) {
    return "UTF-32";
  }
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return "UTF-16";
  return {};
}

std::string_view StripUtf8Bom(std::string_view bytes, bool* hadBom) {
  const bool bom = bytes.starts_with(kUtf8Bom);
  if (bom) bytes.remove_prefix(kUtf8Bom.size());
  if (hadBom != nullptr) *hadBom = bom;
  return bytes;
}

Encoding Resolve(Encoding requested, std::string_view text, bool hadBom) {
  if (requested != Encoding::kAuto) return requested;
  return hadBom || utf8::IsValid(text) ? Encoding::kUtf8 : Encoding::kWindows1252;
}

bool ToWindows1252(std::string_view value, Encoding encoding, std::string& out, std::string& why) {
  if (encoding == Encoding::kWindows1252) {
    out.assign(value);
    return true;
  }
  cp1252::FromUtf8Result result = cp1252::FromUtf8(value);
  switch (result.failure) {
    case cp1252::FromUtf8Result::Failure::kNone:
      out = std::move(result.text);
      return true;
    case cp1252::FromUtf8Result::Failure::kMalformed:
      why = "not valid UTF-8";
      return false;
    case cp1252::FromUtf8Result::Failure::kUnrepresentable:
      break;
  }
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(result.badChar));
  why = std::string("character ") + code + " has no place in Windows-1252";
  return false;
}

bool ToField(std::string_view value, Encoding encoding, std::string& out, std::string& why) {
  if (!ToWindows1252(value, encoding, out, why)) return false;
  const field_text::Fault fault = field_text::Check(out);
  if (fault == field_text::Fault::kNone) return true;
  why = field_text::Describe(fault, out.size());
  return false;
}

}  // namespace import_text
