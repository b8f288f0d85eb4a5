// The fast code writer. The buffer holds its pending bits left-aligned; after
// a few codes it stores all 8 bytes and advances by the whole bytes it holds.
#include "store/codec/code_packer.h"

#include <algorithm>
#include <cstring>

#include "store/platform/platform.h"

namespace {

// Room a flush may write beyond the last payload byte.
constexpr std::size_t kSlack = 8;

constexpr int kBufferBits = 63;
constexpr int kPendingAfterFlush = 7;

inline void StoreBigEndian64(unsigned char* out, std::uint64_t value) {
  value = __builtin_bswap64(value);
  std::memcpy(out, &value, sizeof value);
}

// The buffer of pending bits: `count` bits at the top of `bits`.
struct BitBuffer {
  std::uint64_t bits = 0;
  unsigned count = 0;

  // Requires count + length <= 63.
  void Add(std::uint64_t leftAligned, unsigned length) {
    bits |= leftAligned >> count;
    count += length;
  }
  // Stores the pending bits and keeps the last incomplete byte pending.
  unsigned char* Flush(unsigned char* out) {
    StoreBigEndian64(out, bits);
    const unsigned whole = count >> 3;  // at most 7, as count <= 63
    bits <<= whole * 8;
    count &= 7;
    return out + whole;
  }
};

}  // namespace

CodePacker::CodePacker(const CodeTable& codes) : codes_(&codes) {
  for (int v = 0; v < 256; ++v) {
    const HuffCode& code = codes[v];
    longest_ = std::max(longest_, static_cast<int>(code.size()));
    if (code.size() > 56) continue;  // taken by the slow path
    std::uint64_t bits = 0;
    for (std::uint8_t bit : code) bits = (bits << 1) | (bit != 0 ? 1 : 0);
    packed_[v].length = static_cast<std::uint32_t>(code.size());
    packed_[v].leftAligned = code.empty() ? 0 : bits << (64 - code.size());
  }
}

template <int kCodesPerFlush, int kLongest>
unsigned char* CodePacker::PackFast(const unsigned char* in, const unsigned char* end,
                                    unsigned char* out) const {
  // The bit budget: at most 7 bits stay pending after a flush, and the
  // buffer holds 63 bits safely (Add shifts by the count, which must stay
  // below 64). Four 15-bit codes would need 67.
  static_assert(kPendingAfterFlush + kCodesPerFlush * kLongest <= kBufferBits,
                "codes between two flushes overflow the bit buffer");
  if (longest_ > kLongest) return nullptr;
  BitBuffer buffer;
  while (end - in >= kCodesPerFlush) {
    for (int i = 0; i < kCodesPerFlush; ++i) {
      const Packed& code = packed_[in[i]];
      buffer.Add(code.leftAligned, code.length);
    }
    in += kCodesPerFlush;
    out = buffer.Flush(out);
  }
  for (; in < end; ++in) {
    const Packed& code = packed_[*in];
    buffer.Add(code.leftAligned, code.length);
    out = buffer.Flush(out);
  }
  StoreBigEndian64(out, buffer.bits);
  return out + (buffer.count + 7) / 8;
}

unsigned char* CodePacker::PackAnyLength(const unsigned char* in, const unsigned char* end,
                                         unsigned char* out) const {
  BitBuffer buffer;
  for (; in < end; ++in) {
    const HuffCode& code = (*codes_)[*in];
    // Codes of any length go through the buffer in pieces of up to 56 bits.
    for (std::size_t start = 0; start < code.size(); start += 56) {
      const std::size_t length = std::min<std::size_t>(56, code.size() - start);
      std::uint64_t bits = 0;
      for (std::size_t i = 0; i < length; ++i) bits = (bits << 1) | (code[start + i] != 0 ? 1 : 0);
      buffer.Add(bits << (64 - length), static_cast<unsigned>(length));
      out = buffer.Flush(out);
    }
  }
  StoreBigEndian64(out, buffer.bits);
  return out + (buffer.count + 7) / 8;
}

void CodePacker::Pack(std::string_view input, std::uint64_t payloadBits, std::string& out) const {
  const std::size_t start = out.size();
  const std::size_t payloadBytes = static_cast<std::size_t>((payloadBits + 7) / 8);
  out.reserve(start + payloadBytes + kSlack);
  if (payloadBytes >= platform::kLargeBlock)
    platform::PrepareLargeBuffer(out.data() + start, payloadBytes + kSlack);
  out.resize(start + payloadBytes + kSlack);
  auto* in = reinterpret_cast<const unsigned char*>(input.data());
  auto* end = in + input.size();
  auto* first = reinterpret_cast<unsigned char*>(out.data()) + start;
  // The most codes per flush that the longest code allows.
  unsigned char* last = PackFast<4, 14>(in, end, first);
  if (last == nullptr) last = PackFast<3, 18>(in, end, first);
  if (last == nullptr) last = PackFast<2, 28>(in, end, first);
  if (last == nullptr) last = PackFast<1, 56>(in, end, first);
  if (last == nullptr) last = PackAnyLength(in, end, first);
  out.resize(start + static_cast<std::size_t>(last - first));
}
