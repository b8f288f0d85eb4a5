// The fast code writer against the bit-by-bit one, at the code lengths where
// the number of codes between two flushes changes.
#include "store/codec/code_packer.h"

#include <gtest/gtest.h>

#include <string>

#include "store/codec/bit_writer.h"

namespace {

// A code of `length` bits, all ones but the first and last: a lost or shifted
// bit shows.
HuffCode CodeOfLength(int length) {
  HuffCode code(static_cast<std::size_t>(length), 1);
  code.front() = 0;
  if (length > 1) code.back() = 0;
  return code;
}

std::string Reference(const CodeTable& codes, const std::string& input) {
  std::string out;
  BitWriter writer(out);
  for (unsigned char c : input) writer.PutCode(codes[c]);
  writer.Finish();
  return out;
}

std::string Packed(const CodeTable& codes, const std::string& input) {
  std::uint64_t bits = 0;
  for (unsigned char c : input) bits += codes[c].size();
  std::string out;
  CodePacker(codes).Pack(input, bits, out);
  return out;
}

// Symptom: four 15-bit codes let into one 63-bit flush lose bits, and the
// file differs from the reference engine's.
TEST(CodePackerTest, LongCodesAtEveryBitAlignmentMatchTheReference) {
  for (int longest : {13, 14, 15, 16, 18, 19, 20, 27, 28, 29, 30, 44}) {
    CodeTable codes;
    codes['.'] = {1};                    // one bit: shifts the alignment
    codes['L'] = CodeOfLength(longest);  // the longest code decides the flush size
    codes['m'] = CodeOfLength(longest > 2 ? longest - 1 : 1);
    for (int shift = 0; shift < 8; ++shift) {
      for (const char* run : {"LLLLLLLLL", "LmLmLmLmL", "LLL.LLLL"}) {
        const std::string input = std::string(static_cast<std::size_t>(shift), '.') + run + ".L";
        ASSERT_EQ(Packed(codes, input), Reference(codes, input))
            << "longest " << longest << ", shift " << shift << ", run " << run;
      }
    }
  }
}

}  // namespace
