// Windows-1252 <-> UTF-16 through the text layer's table.
#include "app/toolkit/win32/utf16_text.h"

#include "text/cp1252.h"

namespace win32 {

std::u16string ToUtf16(std::string_view cp1252Text) {
  std::u16string wide;
  wide.reserve(cp1252Text.size());
  // Every character of the code page lies in the Basic Multilingual Plane.
  for (const char c : cp1252Text) {
    wide.push_back(static_cast<char16_t>(cp1252::ToUnicode(static_cast<unsigned char>(c))));
  }
  return wide;
}

std::string FromUtf16(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    unsigned char b = '?';
    if (!cp1252::FromUnicode(c, &b)) b = '?';
    bytes.push_back(static_cast<char>(b));
  }
  return bytes;
}

}  // namespace win32
