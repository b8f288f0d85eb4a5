// Encoding and decoding of whole buffers with the fast engine.
#include "store/codec/codec_buffer.h"

#include <algorithm>

HuffmanCodec::EncodeStatus EncodeBuffer(std::string_view input, std::string& file) {
  HuffmanCodec codec(input, file);
  return codec.Encode();
}

DecodeReport DecodeBuffer(std::string_view file, std::string& out) {
  HuffmanCodec codec(file, out);
  codec.Decode();
  return codec.report();
}

TextMeasure MeasureBuffer(std::string_view file) {
  std::string unused;
  HuffmanCodec codec(file, unused);
  TextMeasure measure;
  if (!codec.ReadCounts()) return measure;
  // Every code is at least one bit: the payload bounds what any count claims.
  const std::size_t tableEnd =
      HuffmanCodec::kHeaderBytes + static_cast<std::size_t>(codec.report().tableSize);
  const std::uint64_t payloadBits = (file.size() - tableEnd) * 8;
  measure.bytes = std::min<std::uint64_t>(codec.report().countSum, payloadBits);
  const std::int32_t feeds = codec.freq['\n'];
  measure.lineFeeds =
      std::min<std::uint64_t>(feeds > 0 ? static_cast<std::uint64_t>(feeds) : 0, payloadBits);
  return measure;
}
