// Small pieces that the POSIX implementation of the platform shares between
// its files: stamps and kinds from stat, paths, whole writes and copies.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "store/platform/platform.h"
#include "store/platform/system_steps.h"

namespace platform {

FileStamp StampFrom(const struct stat& info);
FileKind KindFrom(const struct stat& info);

// The path with its symbolic links followed, as far as they lead; a link to
// a file that does not exist yet resolves to where that file will be.
std::string ResolveLinks(const std::string& path);

// Writes all of `bytes`; false with errno set on failure (ENOSPC when the
// system takes nothing and reports no error).
bool WriteAll(int fd, std::string_view bytes);

// Copies `from` to the new file `to` and syncs it; returns 0 or the errno
// value (EEXIST when `to` exists). Leaves no partial `to` behind.
int CopyToNewFile(const std::string& from, const std::string& to);

// Why an open side file, or the name `info` describes, may not be used: 0
// when it is a regular file of the user's.
int Untrusted(const struct stat& info);

// Opens the side file `path` with `flags` without following a link and
// without waiting for a FIFO's writer. Returns 0 with `fd` open on a trusted
// file that `info` describes, or why not.
int OpenTrusted(const std::string& path, int flags, int& fd, struct stat& info);

// Whether a failed link() means "this file system cannot", not "this name".
bool LinksUnsupported(int error);

}  // namespace platform
