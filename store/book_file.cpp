// The file driver of the codec.
#include "store/book_file.h"

#include <string_view>

#include "store/codec/codec_buffer.h"

platform::SaveResult CompressToFile(const char* buffer, std::int32_t length,
                                    const std::string& fileName,
                                    const platform::ReplaceOptions& options) {
  const std::string_view input(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
  std::string file;
  if (EncodeBuffer(input, file) != HuffmanCodec::EncodeStatus::written) {
    platform::SaveResult result;
    result.problem = platform::SaveProblem::kTooLarge;
    result.reason = "book too large for the file format";
    return result;
  }
  return platform::ReplaceFile(fileName, file, options);
}
