// The bit-by-bit writer.
#include "store/codec/bit_writer.h"

void BitWriter::PutBit(int bit) {
  if (bit != 0 && bit != 1) return;
  bits_[pos_] = bit;
  if (--pos_ < 0) {
    Flush();
    pos_ = 7;
  }
}

void BitWriter::PutCode(const HuffCode& code) {
  for (std::uint8_t bit : code) PutBit(bit);
}

void BitWriter::Flush() {
  if (pos_ == 7) return;
  unsigned byte = 0;
  for (int i = 0; i < 8; ++i) {
    if (bits_[i] != 0) byte |= 1u << i;
    bits_[i] = 0;
  }
  output_ += static_cast<char>(byte);
}
