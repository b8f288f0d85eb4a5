// The file driver of the codec.
#include "store/book_file.h"

#include <string_view>

#include "store/codec/codec_buffer.h"

int CompressToFile(const char* buffer, std::int32_t length, const std::string& fileName,
                   CompressDetail* detail, const platform::ReplaceOptions& options) {
  CompressDetail ignored;
  CompressDetail& result = detail != nullptr ? *detail : ignored;
  result = CompressDetail{};
  const std::string_view input(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
  std::string file;
  if (EncodeBuffer(input, file) != HuffmanCodec::EncodeStatus::written) {
    result.reason = "book too large for the file format";
    return kCompressTooLarge;
  }
  const platform::ReplaceOutcome outcome = platform::ReplaceFile(fileName, file, options);
  result.reason = outcome.reason;
  result.written = outcome.written;
  switch (outcome.status) {
    case platform::ReplaceOutcome::Status::replaced:
      return kCompressWritten;
    case platform::ReplaceOutcome::Status::cannotCreate:
      return kCompressCannotOpen;
    case platform::ReplaceOutcome::Status::appeared:
      return kCompressAppeared;
    case platform::ReplaceOutcome::Status::writeFailed:
      break;
  }
  return kCompressWriteFailed;
}
