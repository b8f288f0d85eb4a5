// The call through which a buffer becomes the book's data file: compress it
// and replace the file. The codec turns bytes into bytes; this decides how the
// file is replaced, through the platform.
#pragma once

#include <cstdint>
#include <string>

#include "store/platform/platform.h"

// Encodes the `length` bytes at `buffer` (null allowed when length is 0) and
// replaces `fileName` with the result (platform::ReplaceFile), whose result
// it gives; a buffer too large for the format is kTooLarge, with nothing
// written. A negative length is treated as 0.
platform::SaveResult CompressToFile(const char* buffer, std::int32_t length,
                                    const std::string& fileName,
                                    const platform::ReplaceOptions& options = {});
