// Reading a whole file, and replacing one so that a crash or a failed write at
// any moment leaves either the old file or the new one, never a mixture.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What identifies a file's version on disk: which file it is, its size and
// when it last changed. Two stamps are equal when nothing has been seen to
// change (including both saying the file does not exist).
struct FileStamp {
  bool exists = false;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t mtimeSeconds = 0;
  std::int64_t mtimeNanoseconds = 0;

  bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path` now; exists is false when it cannot be
// found.
FileStamp StampOf(const char* path);

// Replaces `bytes` with the contents of `path`. Returns 0, or the errno
// value of the failure (bytes then hold what was read, if anything). Fills
// `stamp`, when given, from the open file.
int ReadWholeFile(const char* path, std::string& bytes, FileStamp* stamp = nullptr);

struct ReplaceOptions {
  // Flush the new file and its folder to disk before and after the rename.
  // Only benchmarks and throwaway test folders turn this off.
  bool syncToDisk = true;
};

struct ReplaceOutcome {
  enum class Status {
    replaced,      // `path` now holds the new bytes
    cannotCreate,  // no temporary file could be made beside `path`; nothing changed
    writeFailed,   // writing, syncing or renaming failed; `path` is unchanged
  };
  Status status = Status::replaced;
  std::string reason;  // the system's words, e.g. "No space left on device"
  FileStamp written;   // the new file's stamp, when replaced
};

// Writes `bytes` to a new temporary file in the folder of `path`, syncs it,
// and renames it over `path`, then syncs the folder. The new file keeps the
// permission bits of the file it replaces, or gets 0600 (owner read and
// write) when `path` did not exist. On failure the temporary file is
// removed and `path` is left as it was.
ReplaceOutcome ReplaceFileSafely(const char* path, std::string_view bytes,
                                 const ReplaceOptions& options = {});
