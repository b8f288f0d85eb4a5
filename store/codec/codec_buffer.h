// The codec on memory buffers: whole input in, whole data file out, and back.
// The command-line tool, the fuzzers and the drivers all go through these.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "store/codec/decode_report.h"
#include "store/codec/huffman_codec.h"

// Replaces `file` with the data file holding `input`. Returns written, or
// tooLarge (file left empty) when a byte count or the code bits would reach
// 2^31, which the format cannot hold.
HuffmanCodec::EncodeStatus EncodeBuffer(std::string_view input, std::string& file);

// Appends to `out` what the data file `file` holds (see HuffmanCodec::Decode
// for what a damaged file gives) and returns what was found. Prints nothing.
DecodeReport DecodeBuffer(std::string_view file, std::string& out);

// What decoding the data file `file` would give at most, from its header and
// table alone, so that memory can be reckoned before any is taken: the bytes
// of text, and the line feeds among them. Never more than the payload's bits
// can hold; zero when the header or table cannot be read.
struct TextMeasure {
  std::uint64_t bytes = 0;
  std::uint64_t lineFeeds = 0;
};
TextMeasure MeasureBuffer(std::string_view file);

// Whether `start`, the first bytes of a file (at least the header, and the
// table where there is one), has the shape of a data file: a header whose
// counts are in range and table entries in order. The checksum and payload
// are not looked at, so a damaged data file still looks like one; text never
// does (its seventh byte alone gives a table too large).
bool LooksLikeDataFile(std::string_view start);
