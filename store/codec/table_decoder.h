// Decodes a payload by looking up the next few bits in a table instead of
// walking the tree one bit at a time; gives exactly the bytes of the walk.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/codec/huff_node.h"

class TableDecoder {
 public:
  // Width of the lookup. Codes longer than this take the tree walk.
  static constexpr int kLookupBits = 13;

  // Prepares the table for the tree at `root`, an internal node, which must
  // outlive the decoder.
  explicit TableDecoder(const HuffNode* root);

  // Decodes the first `limitBits` bits of `payload` (limitBits <= 8 ×
  // payload size), appending one byte to `out` for each code that ends within
  // them; a code cut off by the limit yields nothing. `expectedBytes` sizes
  // `out` once (a wrong guess costs only time). Returns the bit offset just
  // past the last whole code. Time is linear in limitBits.
  std::uint64_t Decode(std::string_view payload, std::uint64_t limitBits, std::size_t expectedBytes,
                       std::string& out) const;

 private:
  // Walks the tree from the root at bit `pos`; on reaching a leaf before
  // `limitBits` stores its symbol and returns the offset past the code,
  // otherwise returns 0.
  std::uint64_t WalkOne(const unsigned char* payload, std::uint64_t pos, std::uint64_t limitBits,
                        unsigned char* symbol) const;
  void Fill(const HuffNode* node, std::uint32_t prefix, int depth);

  // What the next kLookupBits bits decode to, in 4 bytes so that a lookup
  // is one scaled load: the total length of up to three whole codes in bits
  // 0 to 5, so that the shift past them needs no extraction; how many codes
  // (0 to 3) in bits 6 and 7; their symbols in the upper three bytes, first
  // code lowest. Count 0: the first code is longer than the lookup.
  using Entry = std::uint32_t;
  static constexpr Entry Make(std::uint32_t symbols, std::uint32_t count, std::uint32_t bits) {
    return bits | count << 6 | symbols << 8;
  }
  static constexpr std::uint32_t BitsOf(Entry entry) { return entry & 0x3F; }
  static constexpr std::uint32_t CountOf(Entry entry) { return (entry >> 6) & 3; }
  static constexpr std::uint32_t SymbolsOf(Entry entry) { return entry >> 8; }
  std::array<Entry, 1u << kLookupBits> table_{};
  const HuffNode* root_;
};
