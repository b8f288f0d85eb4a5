// Windows-1252 tables and conversions.
#include "app/toolkit/cp1252.h"

namespace cp1252 {
namespace {

// 0x80-0x9F are the code page's own; 0xA0-0xFF equal Latin-1, and 0x00-0x7F ASCII.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when malformed
// (bad lead byte, missing continuation, overlong form, surrogate, beyond U+10FFFF).
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t* c) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  if (b0 < 0x80) {
    *c = b0;
    return 1;
  }
  std::size_t len;
  char32_t value;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, value = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, value = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, value = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > text.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    value = (value << 6) | (b & 0x3F);
  }
  if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *c = value;
  return len;
}

}  // namespace

char32_t ToUnicode(unsigned char b) {
  if (b >= 0x80 && b < 0xA0) return kHighControls[b - 0x80];
  return b;
}

bool FromUnicode(char32_t c, unsigned char* out) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
    *out = static_cast<unsigned char>(c);
    return true;
  }
  for (int k = 0; k < 32; ++k) {
    if (kHighControls[k] == c) {
      *out = static_cast<unsigned char>(0x80 + k);
      return true;
    }
  }
  return false;
}

unsigned char ToLower(unsigned char b) {
  if (b >= 'A' && b <= 'Z') return static_cast<unsigned char>(b + 0x20);
  if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<unsigned char>(b + 0x20);
  switch (b) {
    case 0x8A: return 0x9A;  // S with caron
    case 0x8C: return 0x9C;  // OE
    case 0x8E: return 0x9E;  // Z with caron
    case 0x9F: return 0xFF;  // Y with diaeresis
    default: return b;
  }
}

std::string ToLower(std::string_view text) {
  std::string out(text);
  for (char& ch : out) ch = static_cast<char>(ToLower(static_cast<unsigned char>(ch)));
  return out;
}

std::string ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (char ch : bytes) AppendUtf8(out, ToUnicode(static_cast<unsigned char>(ch)));
  return out;
}

FromUtf8Result FromUtf8(std::string_view utf8) {
  FromUtf8Result result;
  result.text.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t c = 0;
    std::size_t len = DecodeUtf8(utf8, i, &c);
    unsigned char b = 0;
    if (len == 0 || !FromUnicode(c, &b)) {
      if (result.exact) result.badOffset = i;
      result.exact = false;
      b = '?';
      if (len == 0) len = 1;
    }
    result.text += static_cast<char>(b);
    i += len;
  }
  return result;
}

}  // namespace cp1252
