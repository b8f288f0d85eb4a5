// What must hold when any bytes at all are encoded and decoded again.
#include <algorithm>
#include <array>
#include <string>

#include "fuzz/fuzz_checks.h"
#include "store/codec/codec_buffer.h"
#include "store/codec/huffman_codec.h"

namespace {

constexpr unsigned char kRunsMarker = 0xFF;
constexpr std::size_t kMaxExpanded = std::size_t{128} * 1024;
// The bit-by-bit engine is slow; it checks the fast one on inputs up to this.
constexpr std::size_t kReferenceLimit = 16 * 1024;

std::string Num(std::uint64_t value) { return std::to_string(value); }

}  // namespace

std::string ExpandRuns(std::string_view description) {
  std::string out;
  for (std::size_t i = 1; i + 1 < description.size(); i += 2) {
    const std::size_t run = std::size_t{1} << (static_cast<unsigned char>(description[i + 1]) % 17);
    if (out.size() + run > kMaxExpanded) break;
    out.append(run, description[i]);
  }
  return out;
}

std::string CheckRoundTrip(std::string_view input) {
  // An empty input also comes as a view without data; every path must take it.
  if (input.empty()) input = {};
  std::string expanded;
  if (!input.empty() && static_cast<unsigned char>(input[0]) == kRunsMarker) {
    expanded = ExpandRuns(input);
    input = expanded;
  }

  std::string file;
  if (EncodeBuffer(input, file) != HuffmanCodec::EncodeStatus::written) {
    return "encoder refused " + Num(input.size()) + " bytes";
  }
  std::array<bool, 256> present{};
  for (char c : input) present[static_cast<unsigned char>(c)] = true;
  const auto distinct = static_cast<std::size_t>(std::count(present.begin(), present.end(), true));

  std::string out;
  const DecodeReport report = DecodeBuffer(file, out);
  if (out != input) return "decoding gave other bytes back";
  if (report.damaged) return "own file judged damaged: " + report.problem;
  if (report.countSum != input.size()) return "counts do not add up to the input's size";
  if (report.tableEntries != static_cast<int>(distinct))
    return "table entries differ from the values";
  const auto bits = static_cast<std::uint64_t>(report.totalBits);
  if (file.size() != 7 + 5 * distinct + (bits + 7) / 8) return "file size differs from its layout";
  // A fixed 8-bit code is a prefix code too, and Huffman's is the shortest.
  if (bits > 8 * input.size()) return "more code bits than 8 per byte";

  if (input.size() <= kReferenceLimit) {
    std::string slowFile;
    HuffmanCodec encoder(input, slowFile, HuffmanCodec::Engine::reference);
    encoder.Encode();
    if (slowFile != file) return "the fast and reference encoders write different files";
    std::string slowOut;
    HuffmanCodec decoder(file, slowOut, HuffmanCodec::Engine::reference);
    decoder.Decode();
    if (slowOut != input) return "the reference decoder gave other bytes back";
  }
  return "";
}
