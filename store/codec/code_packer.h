// Writes the codes of a whole input through a 64-bit bit buffer: the fast
// form of putting each byte's code with BitWriter, giving the same bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/codec/huff_node.h"

class CodePacker {
 public:
  // Prepares the codes of `codes`; the table is not kept.
  explicit CodePacker(const CodeTable& codes);

  // Appends to `out` the code of every byte of `input`, in input order, most
  // significant bit first, the last byte padded with zero bits: the bytes
  // BitWriter::PutCode for each byte and then Finish() would append.
  // `payloadBits` must be the total code length of `input` (it sizes the
  // output once). A byte without a code contributes nothing.
  void Pack(std::string_view input, std::uint64_t payloadBits, std::string& out) const;

 private:
  // Packs with kCodesPerFlush codes between flushes when no code is longer
  // than kLongest bits; returns null, having written nothing, otherwise.
  template <int kCodesPerFlush, int kLongest>
  unsigned char* PackFast(const unsigned char* in, const unsigned char* end,
                          unsigned char* out) const;
  unsigned char* PackAnyLength(const unsigned char* in, const unsigned char* end,
                               unsigned char* out) const;

  struct Packed {
    std::uint64_t leftAligned = 0;  // the code's bits in the top `length` bits
    std::uint32_t length = 0;
  };
  std::array<Packed, 256> packed_{};
  const CodeTable* codes_;  // only for codes too long for the fast path
  int longest_ = 0;
};
