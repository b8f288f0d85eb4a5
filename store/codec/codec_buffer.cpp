// Encoding and decoding of whole buffers with the fast engine.
#include "store/codec/codec_buffer.h"

HuffmanCodec::EncodeStatus EncodeBuffer(std::string_view input, std::string& file) {
  HuffmanCodec codec(input, file);
  return codec.Encode();
}

DecodeReport DecodeBuffer(std::string_view file, std::string& out) {
  HuffmanCodec codec(file, out);
  codec.Decode();
  return codec.report();
}
