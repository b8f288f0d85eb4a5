// Appending to a file with a sync after each addition, renaming without
// replacing and removing, on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "store/platform/platform.h"
#include "store/platform/posix_files.h"

namespace platform {

AppendFile::~AppendFile() { Close(); }

int AppendFile::Open(const std::string& path) {
  Close();
  const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0) return errno;
  handle_ = fd;
  return 0;
}

int AppendFile::Append(std::string_view bytes) {
  if (handle_ < 0) return EBADF;
  const int fd = static_cast<int>(handle_);
  if (!WriteAll(fd, bytes)) return errno;
  // The data, and the size that makes it readable; not the times.
  if (fdatasync(fd) != 0) return errno;
  return 0;
}

void AppendFile::Close() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
  handle_ = -1;
}

int RenameWithoutReplacing(const std::string& from, const std::string& to) {
  // A second name, then the first one goes: link() never replaces a file.
  if (link(from.c_str(), to.c_str()) == 0) return unlink(from.c_str()) == 0 ? 0 : errno;
  if (!LinksUnsupported(errno)) return errno;
  // No hard links here: a rename after a look. Only this program names files so.
  struct stat info;
  if (lstat(to.c_str(), &info) == 0) return EEXIST;
  return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int RemoveFile(const std::string& path) {
  if (unlink(path.c_str()) == 0 || errno == ENOENT) return 0;
  return errno;
}

}  // namespace platform
