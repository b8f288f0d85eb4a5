// The bit-by-bit reader.
#include "store/codec/bit_reader.h"

BitReader::BitReader(std::string_view input) : input_(input) { Fill(); }

void BitReader::Fill() {
  if (next_ >= input_.size()) return;  // end of input: keep the bits as they are
  const auto byte = static_cast<unsigned char>(input_[next_++]);
  for (int i = 0; i < 8; ++i) bits_[i] = (byte >> i) & 1;
  pos_ = 7;
}

int BitReader::GetBit() {
  if (pos_ != 0) return bits_[pos_--];
  const int kept = bits_[0];
  Fill();
  return kept;
}
