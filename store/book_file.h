// The two calls through which the book reaches its data file: compress a
// buffer into a file, decompress a file into a buffer. The codec turns bytes
// into bytes; these decide how the file is read and replaced, through the
// platform.
#pragma once

#include <cstdint>
#include <string>

#include "store/codec/decode_report.h"
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

// Results of DecompressFromFile.
enum DecompressCode : int {
  kDecompressRead = 0,        // decoded, damaged or not: see the report
  kDecompressCannotOpen = 1,  // the file could not be opened; nothing written
};

// Appends to `out` what the data file `fileName` holds and returns a
// DecompressCode. A file failing the checksum test prints "Bad checksum.
// Invalid format........" on standard output (no line end) and gives no text.
// `report`, when given, receives what decoding found (and, when the file
// cannot be opened, the system's reason as its problem); `stamp` the stamp of
// the file read.
// `announceBadChecksum` false keeps standard output silent, for callers whose
// standard output carries data; the report still says what was wrong.
int DecompressFromFile(const std::string& fileName, std::string& out,
                       DecodeReport* report = nullptr, platform::FileStamp* stamp = nullptr,
                       bool announceBadChecksum = true);
