// The store's system calls on POSIX systems for reading files and naming
// them. The steps of writes are in system_posix.cpp, side files in
// side_file_posix.cpp, locks in lock_posix.cpp, memory in memory_linux.cpp.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "store/platform/platform.h"
#include "store/platform/posix_files.h"
#include "store/platform/system_steps.h"

namespace platform {

FileStamp StampOf(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return FileStamp{};
  return StampFrom(info);
}

FileKind KindOf(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return FileKind::missing;
  return KindFrom(info);
}

namespace {

// Reads `fd` to its end into `bytes`, at most `limit` bytes. A file's size
// is known: one buffer of that size, read whole (one more byte shows the
// end, for a file still growing). A pipe's is not: with a limit the buffer's
// room is reserved once, untouched until the text arrives, so growing never
// copies what was read; without one it doubles.
int ReadToEnd(int fd, const struct stat& info, std::string& bytes, std::size_t limit) {
  const bool sized = S_ISREG(info.st_mode) && info.st_size > 0;
  const std::size_t cap = limit == SIZE_MAX ? limit : limit + 1;
  std::size_t first = sized ? static_cast<std::size_t>(info.st_size) + 1 : std::size_t{1} << 16;
  first = std::min(first, cap);
  if (!sized) ReserveForUnknownLength(bytes, limit);
  bytes.reserve(first);
  if (first >= kLargeBlock) PrepareLargeBuffer(bytes.data(), first);
  bytes.resize(first);
  std::size_t have = 0;
  for (;;) {
    if (have == bytes.size()) {
      if (have == cap) break;
      bytes.resize(std::min(cap, have * 2));
    }
    const ssize_t got = read(fd, bytes.data() + have, bytes.size() - have);
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      bytes.resize(have);
      return error;
    }
    if (got == 0) break;
    have += static_cast<std::size_t>(got);
  }
  return EndRead(bytes, have, limit);
}

}  // namespace

int ReadWholeFile(const std::string& path, std::string& bytes, FileStamp* stamp,
                  const ReadOptions& options) {
  bytes.clear();
  // Never wait in open() for a FIFO's writer; the flag is cleared below for
  // what is read on purpose.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return errno;
  struct stat info;
  if (fstat(fd, &info) != 0) {
    const int error = errno;
    close(fd);
    return error;
  }
  if (stamp != nullptr) *stamp = StampFrom(info);
  const bool regular = S_ISREG(info.st_mode);
  if (S_ISDIR(info.st_mode) || (options.regularOnly && !regular)) {
    close(fd);
    return S_ISDIR(info.st_mode) ? EISDIR : kNotRegularFile;
  }
  if (S_ISFIFO(info.st_mode)) {
    // A FIFO read on purpose waits for its writer, as the user asked: opened
    // without waiting, a read would find no writer yet and end at once.
    close(fd);
    fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return errno;
  } else {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  }
  const int error = ReadToEnd(fd, info, bytes, options.limit);
  close(fd);
  return error;
}

int ReadStandardInput(std::string& bytes, const ReadOptions& options) {
  bytes.clear();
  struct stat info;
  if (fstat(STDIN_FILENO, &info) != 0) return errno;
  if (S_ISDIR(info.st_mode)) return EISDIR;
  if (options.regularOnly && !S_ISREG(info.st_mode)) return kNotRegularFile;
  return ReadToEnd(STDIN_FILENO, info, bytes, options.limit);
}

std::string SaveTarget(const std::string& path) { return ResolveLinks(path); }

std::vector<std::string> NamesBeside(const std::string& target, std::string& folder) {
  const std::size_t slash = target.rfind('/');
  folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::vector<std::string> names;
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = readdir(dir)) names.emplace_back(entry->d_name);
  closedir(dir);
  return names;
}

}  // namespace platform
