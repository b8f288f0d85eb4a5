// The table-driven decoder. A refill loads 8 payload bytes at the current bit
// offset, which gives at least 57 usable bits: four lookups of at most 12 bits.
#include "store/codec/table_decoder.h"

#include <cstring>

#include "store/huge_page_allocator.h"

namespace {

constexpr int kLookupsPerRefill = 4;         // 4 × 12 <= 57
constexpr std::size_t kBytesPerRefill = 16;  // 4 lookups × 4-byte stores
constexpr std::uint32_t kMask = (1u << TableDecoder::kLookupBits) - 1;

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
  // Then as many more whole codes as the rest of each index holds (up to
  // three in all), each looked up in the table of single codes.
  const auto single = table_;
  for (std::uint32_t index = 0; index < table_.size(); ++index) {
    Entry& entry = table_[index];
    while (entry.count > 0 && entry.count < 3) {
      const int rest = kLookupBits - entry.bits;
      const Entry& next = single[(index << entry.bits) & kMask];
      if (next.count == 0 || next.bits > rest) break;
      entry.symbol[entry.count++] = next.symbol[0];
      entry.bits = static_cast<std::uint8_t>(entry.bits + next.bits);
    }
  }
}

void TableDecoder::Fill(const HuffNode* node, std::uint32_t prefix, int depth) {
  if (node->IsLeaf()) {
    // Every lookup index that starts with this code decodes to this leaf.
    const int free = kLookupBits - depth;
    Entry entry;
    entry.symbol[0] = node->symbol;
    entry.count = 1;
    entry.bits = static_cast<std::uint8_t>(depth);
    const std::uint32_t first = prefix << free;
    for (std::uint32_t i = 0; i < (1u << free); ++i) table_[first + i] = entry;
    return;
  }
  if (depth == kLookupBits) return;  // longer codes: entries stay empty
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
  const std::size_t room = produced + expectedBytes + 64;
  out.reserve(room);
  if (room >= kLargeBlock) PrepareLargeBuffer(out.data() + produced, room - produced);
  out.resize(room);
  std::uint64_t pos = 0;

  // Fast loop: 64 bits of room before the limit cover a refill's lookups.
  while (limitBits - pos >= 64) {
    if (out.size() - produced < kBytesPerRefill) out.resize(out.size() * 2);
    auto* const start = reinterpret_cast<unsigned char*>(out.data());
    unsigned char* dst = start + produced;
    std::uint64_t window = LoadBigEndian64(in + (pos >> 3)) << (pos & 7);
    int lookups = 0;
    for (; lookups < kLookupsPerRefill; ++lookups) {
      const Entry& entry = table_[window >> (64 - kLookupBits)];
      if (entry.count == 0) break;
      std::memcpy(dst, entry.symbol, 4);
      dst += entry.count;
      window <<= entry.bits;
      pos += entry.bits;
    }
    produced = static_cast<std::size_t>(dst - start);
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
