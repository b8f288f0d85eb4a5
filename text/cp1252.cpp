// Windows-1252 tables and conversions.
#include "text/cp1252.h"

#include "text/utf8.h"

namespace cp1252 {
namespace {

// 0x80-0x9F are the code page's own; 0xA0-0xFF equal Latin-1, and 0x00-0x7F ASCII.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

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
  for (char ch : bytes) utf8::Append(out, ToUnicode(static_cast<unsigned char>(ch)));
  return out;
}

FromUtf8Result FromUtf8(std::string_view text) {
  FromUtf8Result result;
  result.text.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = 0;
    std::size_t len = utf8::Decode(text, i, &c);
    unsigned char b = 0;
    if (len == 0 || !FromUnicode(c, &b)) {
      if (result.exact) {
        result.exact = false;
        result.badOffset = i;
        result.failure = len == 0 ? FromUtf8Result::Failure::kMalformed
                                  : FromUtf8Result::Failure::kUnrepresentable;
        result.badChar = len == 0 ? 0 : c;
      }
      b = '?';
      if (len == 0) len = 1;
    }
    result.text += static_cast<char>(b);
    i += len;
  }
  return result;
}

}  // namespace cp1252
