// Reads files out of a zip archive held in memory, as far as a workbook
// needs: stored and deflated entries, no encryption, no zip64. Every size is
// bounded, so a damaged or hostile archive is refused, never followed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace zip {

// The most that reading one archive may unpack: per entry and in all.
struct Limits {
  std::size_t entry = std::size_t{128} << 20;
  std::size_t total = std::size_t{256} << 20;
};

class Reader {
 public:
  explicit Reader(Limits limits = {}) : limits_(limits) {}

  // Reads the archive's directory. `archive` must outlive the reader.
  // Returns false, with error() set, when it is no zip archive or a damaged one.
  bool Open(std::string_view archive);

  bool Has(std::string_view name) const { return entries_.count(std::string(name)) > 0; }

  // Unpacks the file `name` into `out`. Returns false, with error() set, when
  // it is missing, damaged, encrypted, packed by a method other than deflate,
  // or would unpack to more than the limits allow.
  bool Extract(std::string_view name, std::string& out);

  const std::string& error() const { return error_; }

 private:
  struct Entry {
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint32_t packedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t localHeader = 0;
  };
  bool Fail(std::string message);
  bool Inflate(std::string_view packed, std::size_t size, std::string& out);

  Limits limits_;
  std::string_view archive_;
  std::map<std::string, Entry, std::less<>> entries_;
  std::size_t unpacked_ = 0;
  std::string error_;
};

}  // namespace zip
