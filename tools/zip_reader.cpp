// The directory of a zip archive, and its entries inflated by zlib within
// bounds.
#include "tools/zip_reader.h"

#include <zlib.h>

#include <algorithm>
#include <new>

#include "tools/zip_format.h"

namespace zip {

namespace {

constexpr std::size_t kMaxComment = 0xFFFF;
constexpr std::uint16_t kEncrypted = 1;

std::string Megabytes(std::size_t bytes) { return std::to_string(bytes >> 20) + " MB"; }

}  // namespace

bool Reader::Fail(std::string message) {
  error_ = std::move(message);
  return false;
}

bool Reader::Open(std::string_view archive) {
  archive_ = archive;
  entries_.clear();
  unpacked_ = 0;
  if (archive.size() < kEndOfDirectorySize) return Fail("not a zip archive: too short");
  // The end record sits in the last 22 bytes plus the archive's comment.
  const std::size_t lowest = archive.size() > kEndOfDirectorySize + kMaxComment
                                 ? archive.size() - kEndOfDirectorySize - kMaxComment
                                 : 0;
  std::size_t end = archive.size() - kEndOfDirectorySize;
  for (;;) {
    if (Get32(archive, end) == kEndOfDirectory) break;
    if (end == lowest) return Fail("not a zip archive: no central directory");
    --end;
  }
  const std::uint32_t count = Get16(archive, end + 10);
  const std::uint32_t directorySize = Get32(archive, end + 12);
  const std::uint32_t directoryOffset = Get32(archive, end + 16);
  if (Get16(archive, end + 4) != 0 || Get16(archive, end + 6) != 0 ||
      Get16(archive, end + 8) != count) {
    return Fail("the zip archive spans several disks");
  }
  if (directoryOffset == 0xFFFFFFFF || count == 0xFFFF) return Fail("zip64 archives are not read");
  if (std::size_t{directoryOffset} + directorySize > end) {
    return Fail("damaged zip archive: the directory lies outside the file");
  }
  std::size_t at = directoryOffset;
  const std::size_t directoryEnd = std::size_t{directoryOffset} + directorySize;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (at + kCentralHeaderSize > directoryEnd || Get32(archive, at) != kCentralHeader) {
      return Fail("damaged zip archive: entry " + std::to_string(i + 1) + " of the directory");
    }
    Entry entry;
    entry.flags = static_cast<std::uint16_t>(Get16(archive, at + 8));
    entry.method = static_cast<std::uint16_t>(Get16(archive, at + 10));
    entry.crc = Get32(archive, at + 16);
    entry.packedSize = Get32(archive, at + 20);
    entry.size = Get32(archive, at + 24);
    const std::size_t nameLength = Get16(archive, at + 28);
    const std::size_t extraLength = Get16(archive, at + 30);
    const std::size_t commentLength = Get16(archive, at + 32);
    entry.localHeader = Get32(archive, at + 42);
    const std::size_t next = at + kCentralHeaderSize + nameLength + extraLength + commentLength;
    if (next > directoryEnd) {
      return Fail("damaged zip archive: entry " + std::to_string(i + 1) + " of the directory");
    }
    std::string name(archive.substr(at + kCentralHeaderSize, nameLength));
    entries_.emplace(std::move(name), entry);  // the first of a repeated name counts
    at = next;
  }
  return true;
}

bool Reader::Extract(std::string_view name, std::string& out) {
  out.clear();
  const auto found = entries_.find(name);
  if (found == entries_.end()) return Fail("the archive lacks " + std::string(name));
  const Entry& entry = found->second;
  const std::string what(name);
  if (entry.flags & kEncrypted) return Fail(what + " is encrypted");
  if (entry.method != kStored && entry.method != kDeflated) {
    return Fail(what + " is packed by method " + std::to_string(entry.method) + ", not deflate");
  }
  if (entry.size == 0xFFFFFFFF || entry.packedSize == 0xFFFFFFFF) {
    return Fail(what + ": zip64 entries are not read");
  }
  if (entry.size > limits_.entry || unpacked_ + entry.size > limits_.total) {
    return Fail(what + " would unpack to " + Megabytes(entry.size) + ", more than the " +
                Megabytes(entry.size > limits_.entry ? limits_.entry : limits_.total) +
                " allowed; refused as a possible zip bomb");
  }
  const std::size_t header = entry.localHeader;
  if (header + kLocalHeaderSize > archive_.size() || Get32(archive_, header) != kLocalHeader) {
    return Fail("damaged zip archive: the header of " + what);
  }
  const std::size_t data =
      header + kLocalHeaderSize + Get16(archive_, header + 26) + Get16(archive_, header + 28);
  if (data > archive_.size() || archive_.size() - data < entry.packedSize) {
    return Fail("damaged zip archive: " + what + " runs past the end");
  }
  const std::string_view packed = archive_.substr(data, entry.packedSize);
  if (entry.method == kStored) {
    if (entry.packedSize != entry.size) return Fail("damaged zip archive: the sizes of " + what);
    out.assign(packed);
  } else if (!Inflate(packed, entry.size, out)) {
    return Fail("damaged zip archive: " + what + " " + error_);
  }
  const auto crc = static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(out.data()), static_cast<uInt>(out.size())));
  if (crc != entry.crc) return Fail("damaged zip archive: the checksum of " + what);
  unpacked_ += out.size();
  return true;
}

// Inflates `packed` into exactly `size` bytes: the directory's size is
// believed only as a ceiling, so a lying entry cannot make the output grow.
bool Reader::Inflate(std::string_view packed, std::size_t size, std::string& out) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) throw std::bad_alloc();
  out.assign(size, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  stream.avail_in = static_cast<uInt>(packed.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(size);
  int status = inflate(&stream, Z_FINISH);
  const std::size_t produced = stream.total_out;
  // Room is left for exactly `size` bytes: a stream with more to give stops
  // with Z_BUF_ERROR or Z_OK, either way larger than it claims.
  if (status == Z_STREAM_END && produced == size) {
    inflateEnd(&stream);
    return true;
  }
  inflateEnd(&stream);
  if (status == Z_MEM_ERROR) throw std::bad_alloc();
  error_ = status == Z_STREAM_END   ? "is shorter than its directory says"
           : status == Z_DATA_ERROR ? "is not valid deflate data"
           : produced == size       ? "is longer than its directory says"
                                    : "ends early";
  return false;
}

}  // namespace zip
