// Side files on POSIX systems: looked at by their name alone (lstat), and
// read or removed only when they are regular files of the user running the
// program. They are created and appended to in system_posix.cpp.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "store/platform/platform.h"
#include "store/platform/posix_files.h"

namespace platform {

SideFile InspectSideFile(const std::string& path) {
  SideFile found;
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return found;
  found.kind = S_ISLNK(info.st_mode) ? FileKind::link : KindFrom(info);
  found.ours = info.st_uid == geteuid();
  found.size = S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
  found.stamp = StampFrom(info);
  return found;
}

int ReadSideFile(const std::string& path, std::string& bytes, std::uint64_t maxBytes) {
  bytes.clear();
  struct stat info;
  int fd = -1;
  if (const int error = OpenTrusted(path, O_RDONLY, fd, info); error != 0) return error;
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size > maxBytes) {
    close(fd);
    return EFBIG;
  }
  // Never more than the size seen: a file still growing is read as it was.
  bytes.resize(static_cast<std::size_t>(size));
  std::size_t have = 0;
  while (have < bytes.size()) {
    const ssize_t got = read(fd, bytes.data() + have, bytes.size() - have);
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      close(fd);
      bytes.clear();
      return error;
    }
    if (got == 0) break;
    have += static_cast<std::size_t>(got);
  }
  bytes.resize(have);
  close(fd);
  return 0;
}

int RemoveSideFile(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return errno == ENOENT ? 0 : errno;
  if (const int why = Untrusted(info); why != 0) return why;
  if (unlink(path.c_str()) == 0 || errno == ENOENT) return 0;
  return errno;
}

}  // namespace platform
