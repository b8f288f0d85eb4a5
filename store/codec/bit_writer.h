// Writes bits one at a time, most significant bit of each byte first. This is
// the plain, bit-by-bit writer; CodePacker produces the same bytes faster and
// is tested against it.
#pragma once

#include <cstdint>
#include <string>

#include "store/codec/huff_node.h"

class BitWriter {
 public:
  // Appends to `output`, which must outlive the writer.
  explicit BitWriter(std::string& output) : output_(output) {}

  // Puts bit `bit` (0 or 1); any other value is ignored.
  void PutBit(int bit);
  // Puts each bit of `code`, first bit first.
  void PutCode(const HuffCode& code);
  // Appends the byte being assembled, padded with zeros in its low-order bits,
  // if it holds any bit; otherwise does nothing.
  void Flush();
  // Flushes. The last call on a writer.
  void Finish() { Flush(); }

 private:
  std::string& output_;
  int bits_[8] = {};  // slot i holds the bit of value 2^i
  int pos_ = 7;       // slot of the next bit
};
