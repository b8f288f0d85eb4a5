// The file drivers of the codec.
#include "store/codec/codec_drivers.h"

#include <cstdio>
#include <cstring>
#include <ostream>
#include <string_view>

#include "store/codec/codec_buffer.h"

namespace {
constexpr char kBadChecksumMessage[] = "Bad checksum.  Invalid format........";
}

int CompressToFile(const char* buffer, std::int32_t length, const char* fileName,
                   CompressDetail* detail, const ReplaceOptions& options) {
  CompressDetail ignored;
  CompressDetail& result = detail != nullptr ? *detail : ignored;
  result = CompressDetail{};
  const std::string_view input(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
  std::string file;
  if (EncodeBuffer(input, file) != HuffmanCodec::EncodeStatus::written) {
    result.reason = "book too large for the file format";
    return kCompressTooLarge;
  }
  const ReplaceOutcome outcome = ReplaceFileSafely(fileName, file, options);
  result.reason = outcome.reason;
  result.written = outcome.written;
  switch (outcome.status) {
    case ReplaceOutcome::Status::replaced:
      return kCompressWritten;
    case ReplaceOutcome::Status::cannotCreate:
      return kCompressCannotOpen;
    case ReplaceOutcome::Status::writeFailed:
      break;
  }
  return kCompressWriteFailed;
}

int DecompressFromFile(const char* fileName, std::string& out, DecodeReport* report,
                       FileStamp* stamp, bool announceBadChecksum) {
  std::string file;
  const int error = ReadWholeFile(fileName, file, stamp);
  if (error != 0) {
    if (report != nullptr) {
      *report = DecodeReport{};
      report->Damage(std::strerror(error));
    }
    return kDecompressCannotOpen;
  }
  const DecodeReport found = DecodeBuffer(file, out);
  if (announceBadChecksum && found.headerComplete && !found.checksumOk) {
    std::fputs(kBadChecksumMessage, stdout);
    std::fflush(stdout);
  }
  if (report != nullptr) *report = found;
  return kDecompressRead;
}

int DecompressFromFile(const char* fileName, std::ostream& out) {
  std::string text;
  const int code = DecompressFromFile(fileName, text);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return code;
}
