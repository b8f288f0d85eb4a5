// Writes a zip archive in memory: each entry deflated (zlib), with fixed
// timestamps, so the same entries always give the same bytes.
#pragma once

#include <string>
#include <string_view>

namespace zip {

class Writer {
 public:
  // Adds the file `name` holding `content`, deflated.
  void Add(std::string_view name, std::string_view content);

  // The whole archive: the entries in the order added, then the central
  // directory. The writer is empty afterwards.
  std::string Finish();

 private:
  std::string entries_;
  std::string directory_;
  unsigned count_ = 0;
};

}  // namespace zip
