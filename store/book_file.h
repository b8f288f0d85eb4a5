// The call through which a buffer becomes the book's data file: compress it
// and replace the file. The codec turns bytes into bytes; this decides how the
// file is replaced, through the platform.
#pragma once

#include <cstdint>
#include <string>

#include "store/platform/platform.h"

// Results of CompressToFile.
enum CompressCode : int {
  kCompressWritten = 0,      // the file holds the buffer
  kCompressCannotOpen = 2,   // the file could not be created; nothing changed
  kCompressWriteFailed = 3,  // writing failed part way; the old file is whole
  kCompressTooLarge = 4,     // the buffer is too large for the format; nothing changed
  kCompressAppeared = 5,     // onlyIfAbsent, and a file came to be there; nothing changed
};

// Details of a CompressToFile call, for callers that tell the user more.
struct CompressDetail {
  std::string reason;           // why it failed, in the system's words; empty on success
  platform::FileStamp written;  // the new file's stamp on success
};

// Encodes the `length` bytes at `buffer` (null allowed when length is 0) and
// replaces `fileName` with the result (platform::ReplaceFile). Returns a
// CompressCode. A negative length is treated as 0.
int CompressToFile(const char* buffer, std::int32_t length, const std::string& fileName,
                   CompressDetail* detail = nullptr, const platform::ReplaceOptions& options = {});
