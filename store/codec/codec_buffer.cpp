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

bool LooksLikeDataFile(std::string_view start) {
  if (start.size() < HuffmanCodec::kHeaderBytes) return false;
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(start[i]); };
  const std::uint32_t totalBits =
      byte(1) | byte(2) << 8 | byte(3) << 16 | std::uint32_t{byte(4)} << 24;
  const int tableSize = byte(5) | byte(6) << 8;
  if (totalBits >= HuffmanCodec::kLimit || tableSize > HuffmanCodec::kMaxTableSize ||
      tableSize % HuffmanCodec::kEntryBytes != 0) {
    return false;
  }
  if (tableSize == 0) return totalBits == 0;  // no table, no code bits: the empty book
  // The entries that are there: byte values ascending, each with a count
  // between 1 and 2^31 - 1.
  int previous = -1;
  for (std::size_t at = HuffmanCodec::kHeaderBytes;
       at + HuffmanCodec::kEntryBytes <=
       std::min<std::size_t>(start.size(), HuffmanCodec::kHeaderBytes + tableSize);
       at += HuffmanCodec::kEntryBytes) {
    const std::uint32_t count =
        byte(at + 1) | byte(at + 2) << 8 | byte(at + 3) << 16 | std::uint32_t{byte(at + 4)} << 24;
    if (byte(at) <= previous || count == 0 || count >= HuffmanCodec::kLimit) return false;
    previous = byte(at);
  }
  return true;
}
