// UTF-8 pieces to UTF-16, a sequence split between two writes kept whole.
#include "tools/console_text.h"

#include "text/utf8.h"

namespace {

// The length of the sequence a lead byte starts, 1 for anything else.
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  return 1;
}

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
    return;
  }
  c -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

}  // namespace

std::u16string TakeUtf16(std::string& pending) {
  std::u16string out;
  std::size_t i = 0;
  while (i < pending.size()) {
    // A sequence that may still be completed by the next piece waits for it.
    const std::size_t wanted = SequenceLength(static_cast<unsigned char>(pending[i]));
    if (i + wanted > pending.size()) {
      char32_t probe = 0;
      std::string padded = pending.substr(i);
      padded.append(wanted - padded.size(), '\x80');
      if (utf8::Decode(padded, 0, &probe) != 0) break;
    }
    char32_t c = 0;
    const std::size_t length = utf8::Decode(pending, i, &c);
    if (length == 0) {
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    AppendUtf16(out, c);
    i += length;
  }
  pending.erase(0, i);
  return out;
}
