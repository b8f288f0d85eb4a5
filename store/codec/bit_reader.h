// Reads bits one at a time, most significant bit of each byte first. This is
// the plain, bit-by-bit reader; TableDecoder reads the same bits faster and
// is tested against it.
#pragma once

#include <cstddef>
#include <string_view>

class BitReader {
 public:
  // Reads from `input` (which must outlive the reader); takes its first byte
  // at once.
  explicit BitReader(std::string_view input);

  // Returns the next bit, 0 or 1. The next byte is taken as soon as the last
  // bit of the current one is handed out. Past the end of the input every
  // call returns bit 0 of the last byte read, or 0 if there was none.
  int GetBit();

 private:
  void Fill();

  std::string_view input_;
  std::size_t next_ = 0;  // offset of the next byte to take
  int bits_[8] = {};      // slot i holds the bit of value 2^i
  int pos_ = 7;           // slot of the next bit to hand out
};
