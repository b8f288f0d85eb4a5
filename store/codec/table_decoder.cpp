// The table-driven decoder. A refill loads 8 payload bytes at the current bit
// offset, which gives at least 57 usable bits: four lookups of at most 13 bits.
#include "store/codec/table_decoder.h"

#include <bit>
#include <cstring>

#include "store/platform/platform.h"

namespace {

constexpr int kLookupsPerRefill = 4;         // 4 × 13 <= 57
constexpr std::size_t kBytesPerRefill = 16;  // 4 lookups × 4-byte stores
constexpr std::uint32_t kMask = (1u << TableDecoder::kLookupBits) - 1;
static_assert(kLookupsPerRefill * TableDecoder::kLookupBits <= 57,
              "a refill must cover its lookups");
static_assert(TableDecoder::kLookupBits < 64, "the length field holds 6 bits");

// An entry stored to the output puts its first symbol first only in
// little-endian order.
static_assert(std::endian::native == std::endian::little);

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
    std::uint32_t count = CountOf(entry);
    std::uint32_t bits = BitsOf(entry);
    std::uint32_t symbols = SymbolsOf(entry);
    while (count > 0 && count < 3) {
      const Entry next = single[(index << bits) & kMask];
      if (CountOf(next) == 0 || BitsOf(next) > kLookupBits - bits) break;
      symbols |= SymbolsOf(next) << (8 * count);
      bits += BitsOf(next);
      ++count;
    }
    entry = Make(symbols, count, bits);
  }
}

void TableDecoder::Fill(const HuffNode* node, std::uint32_t prefix, int depth) {
  if (node->IsLeaf()) {
    // Every lookup index that starts with this code decodes to this leaf.
    const int free = kLookupBits - depth;
    const Entry entry = Make(node->symbol, 1, static_cast<std::uint32_t>(depth));
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
  if (room >= platform::kLargeBlock)
    platform::PrepareLargeBuffer(out.data() + produced, room - produced);
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
      const Entry entry = table_[window >> (64 - kLookupBits)];
      const std::uint32_t count = CountOf(entry);
      if (count == 0) break;
      // Stores four bytes; only `count` of them are kept.
      const std::uint32_t symbols = SymbolsOf(entry);
      std::memcpy(dst, &symbols, sizeof symbols);
      dst += count;
      const std::uint32_t bits = BitsOf(entry);
      window <<= bits;
      pos += bits;
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
