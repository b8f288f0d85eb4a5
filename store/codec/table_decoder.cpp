// The table-driven decoder. A refill loads 8 payload bytes at the current bit
// offset, which gives at least 57 usable bits: five lookups of at most 11 bits.
#include "store/codec/table_decoder.h"

#include <cstring>

namespace {

constexpr int kLookupsPerRefill = 5;  // 5 × 11 <= 57

inline std::uint64_t LoadBigEndian64(const unsigned char* in) {
  std::uint64_t value;
  std::memcpy(&value, in, sizeof value);
  return __builtin_bswap64(value);
}

inline int BitAt(const unsigned char* payload, std::uint64_t pos) {
  return (payload[pos >> 3] >> (7 - (pos & 7))) & 1;
}

}  // namespace

TableDecoder::TableDecoder(const HuffNode* root) : root_(root) {
  Fill(root, 0, 0);
  // A second whole code in the bits left after the first one, looked up in
  // the table of single codes.
  const auto single = table_;
  for (std::uint32_t index = 0; index < table_.size(); ++index) {
    Entry& entry = table_[index];
    if (entry.symbols != 1) continue;
    const int rest = kLookupBits - entry.bits;
    if (rest == 0) continue;
    const std::uint32_t restBits = (index << entry.bits) & ((1u << kLookupBits) - 1);
    const Entry& next = single[restBits];
    if (next.symbols == 0 || next.bits > rest) continue;
    entry.second = next.first;
    entry.bits = static_cast<std::uint8_t>(entry.bits + next.bits);
    entry.symbols = 2;
  }
}

void TableDecoder::Fill(const HuffNode* node, std::uint32_t prefix, int depth) {
  if (node->IsLeaf()) {
    // Every lookup index that starts with this code decodes to this leaf.
    const int free = kLookupBits - depth;
    const std::uint32_t first = prefix << free;
    for (std::uint32_t i = 0; i < (1u << free); ++i) {
      table_[first + i] = Entry{node->symbol, 0, 1, static_cast<std::uint8_t>(depth)};
    }
    return;
  }
  if (depth == kLookupBits) return;  // longer codes: entries stay "none"
  Fill(node->left, prefix << 1, depth + 1);
  Fill(node->right, (prefix << 1) | 1, depth + 1);
}

std::uint64_t TableDecoder::WalkOne(const unsigned char* payload, std::uint64_t pos,
                                    std::uint64_t limitBits, unsigned char* symbol) const {
  const HuffNode* node = root_;
  while (pos < limitBits) {
    node = BitAt(payload, pos++) != 0 ? node->right : node->left;
    if (node->IsLeaf()) {
      *symbol = node->symbol;
      return pos;
    }
  }
  return 0;
}

std::uint64_t TableDecoder::Decode(std::string_view payload, std::uint64_t limitBits,
                                   std::size_t expectedBytes, std::string& out) const {
  const auto* in = reinterpret_cast<const unsigned char*>(payload.data());
  std::size_t produced = out.size();
  // Each code is at least one bit long: never more bytes than bits.
  if (expectedBytes > limitBits) expectedBytes = static_cast<std::size_t>(limitBits);
  out.resize(produced + expectedBytes + 64);
  std::uint64_t pos = 0;

  // Fast loop: 64 bits of room before the limit cover a refill's lookups.
  while (limitBits - pos >= 64) {
    if (out.size() - produced < 2 * kLookupsPerRefill) out.resize(out.size() * 2);
    auto* dst = reinterpret_cast<unsigned char*>(out.data()) + produced;
    std::uint64_t window = LoadBigEndian64(in + (pos >> 3)) << (pos & 7);
    int lookups = 0;
    for (; lookups < kLookupsPerRefill; ++lookups) {
      const Entry entry = table_[window >> (64 - kLookupBits)];
      if (entry.symbols == 0) break;
      dst[0] = entry.first;
      dst[1] = entry.second;
      dst += entry.symbols;
      window <<= entry.bits;
      pos += entry.bits;
    }
    produced = static_cast<std::size_t>(dst - reinterpret_cast<unsigned char*>(out.data()));
    if (lookups == kLookupsPerRefill) continue;
    // A code longer than the lookup: walk the tree for this one.
    unsigned char symbol;
    const std::uint64_t next = WalkOne(in, pos, limitBits, &symbol);
    if (next == 0) break;
    out[produced++] = static_cast<char>(symbol);
    pos = next;
  }

  // The last bits: walk one code at a time up to the limit.
  for (;;) {
    if (out.size() == produced) out.resize(out.size() * 2);
    unsigned char symbol;
    const std::uint64_t next = WalkOne(in, pos, limitBits, &symbol);
    if (next == 0) break;
    out[produced++] = static_cast<char>(symbol);
    pos = next;
  }
  out.resize(produced);
  return pos;
}
