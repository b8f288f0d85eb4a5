// Renaming without replacing and removing, on POSIX systems. (Appending to
// the journal is in side_file_posix.cpp, with the other side files.)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "store/platform/platform.h"
#include "store/platform/posix_files.h"

namespace platform {

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
