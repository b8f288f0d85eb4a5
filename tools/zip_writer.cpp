// Zip entries deflated by zlib, in memory.
#include "tools/zip_writer.h"

#include <zlib.h>

#include <new>
#include <stdexcept>

#include "tools/zip_format.h"

namespace zip {

namespace {

// 1980-01-01 00:00, the earliest time the format can hold: the archive's
// bytes depend on its content only.
constexpr std::uint16_t kDosTime = 0;
constexpr std::uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;
constexpr std::uint16_t kVersion = 20;  // 2.0: deflate
constexpr std::uint16_t kUtf8Names = 1 << 11;

std::string Deflate(std::string_view content) {
  z_stream stream{};
  // Raw deflate (negative window bits): the zip headers carry the sizes and CRC.
  if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK) {
    throw std::bad_alloc();
  }
  std::string out(deflateBound(&stream, static_cast<uLong>(content.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
  stream.avail_in = static_cast<uInt>(content.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int status = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  // deflateBound leaves room for the whole stream, so it always ends here.
  if (status != Z_STREAM_END) throw std::runtime_error("deflate did not finish");
  return out;
}

}  // namespace

void Writer::Add(std::string_view name, std::string_view content) {
  const std::string packed = Deflate(content);
  const auto crc = static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(content.data()), static_cast<uInt>(content.size())));
  const auto offset = static_cast<std::uint32_t>(entries_.size());
  auto common = [&](std::string& out) {
    Put16(out, kVersion);  // version needed to extract
    Put16(out, kUtf8Names);
    Put16(out, kDeflated);
    Put16(out, kDosTime);
    Put16(out, kDosDate);
    Put32(out, crc);
    Put32(out, static_cast<std::uint32_t>(packed.size()));
    Put32(out, static_cast<std::uint32_t>(content.size()));
    Put16(out, static_cast<std::uint32_t>(name.size()));
    Put16(out, 0);  // extra field length
  };
  Put32(entries_, kLocalHeader);
  common(entries_);
  entries_ += name;
  entries_ += packed;

  Put32(directory_, kCentralHeader);
  Put16(directory_, kVersion);  // version made by
  common(directory_);
  Put16(directory_, 0);  // comment length
  Put16(directory_, 0);  // disk number
  Put16(directory_, 0);  // internal attributes
  Put32(directory_, 0);  // external attributes
  Put32(directory_, offset);
  directory_ += name;
  ++count_;
}

std::string Writer::Finish() {
  std::string out = std::move(entries_);
  const auto directoryOffset = static_cast<std::uint32_t>(out.size());
  out += directory_;
  Put32(out, kEndOfDirectory);
  Put16(out, 0);  // this disk
  Put16(out, 0);  // the directory's disk
  Put16(out, count_);
  Put16(out, count_);
  Put32(out, static_cast<std::uint32_t>(directory_.size()));
  Put32(out, directoryOffset);
  Put16(out, 0);  // comment length
  entries_.clear();
  directory_.clear();
  count_ = 0;
  return out;
}

}  // namespace zip
