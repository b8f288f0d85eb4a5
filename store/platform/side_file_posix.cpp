// Side files on POSIX systems: reached by their name alone (O_NOFOLLOW),
// created only where nothing has the name (O_EXCL), and read, written or
// removed only when they are regular files of the user running the program.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "store/platform/platform.h"
#include "store/platform/posix_files.h"

namespace platform {
namespace {

// Why an open side file may not be used: 0 when it is a regular file of ours.
int Untrusted(const struct stat& info) {
  if (S_ISLNK(info.st_mode)) return ELOOP;
  if (!S_ISREG(info.st_mode)) return kNotRegularFile;
  if (info.st_uid != geteuid()) return kNotOurs;
  return 0;
}

// Opens the side file `path` without following a link and without waiting
// for a FIFO's writer. Returns 0 with `fd` open on a trusted file that `info`
// describes, or why not.
int OpenTrusted(const std::string& path, int flags, int& fd, struct stat& info) {
  // A look at the name first, so that a FIFO or folder is named as such and
  // not by whatever opening it for writing would say.
  fd = -1;
  if (lstat(path.c_str(), &info) != 0) return errno;
  if (const int why = Untrusted(info); why != 0) return why;
  fd = open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno;  // ELOOP for a link planted since the look
  // What is open is checked again: the name may have changed hands meanwhile.
  int why = fstat(fd, &info) != 0 ? errno : Untrusted(info);
  if (why != 0) {
    close(fd);
    fd = -1;
    return why;
  }
  // What is read or written from here on may wait, as a regular file's I/O does.
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return 0;
}

// Creates `path` where nothing has the name, with `mode` whatever the umask,
// holding `bytes` synced; leaves it open in `fd`, or removes it on failure.
int CreateExclusive(const std::string& path, std::string_view bytes, unsigned mode, int& fd) {
  // O_EXCL fails on any name that exists, a link of any kind included, and
  // never creates a file at a link's target.
  const auto bits = static_cast<mode_t>(mode & 0777);
  fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, bits);
  if (fd < 0) return errno;
  if (fchmod(fd, bits) != 0 || !WriteAll(fd, bytes) || fsync(fd) != 0) {
    const int error = errno;
    close(fd);
    fd = -1;
    unlink(path.c_str());
    return error;
  }
  const int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {  // the new name durable too, where the file system allows
    fsync(folder);
    close(folder);
  }
  return 0;
}

}  // namespace

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

int CreateSideFile(const std::string& path, std::string_view bytes, unsigned mode) {
  int fd = -1;
  if (const int error = CreateExclusive(path, bytes, mode, fd); error != 0) return error;
  if (close(fd) != 0) {
    const int error = errno;
    unlink(path.c_str());
    return error;
  }
  return 0;
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

AppendFile::~AppendFile() { Close(); }

int AppendFile::Create(const std::string& path, std::string_view bytes) {
  Close();
  int fd = -1;
  if (const int error = CreateExclusive(path, bytes, kOwnerOnly, fd); error != 0) return error;
  // Kept open for appending from here: every write goes to the end.
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_APPEND);
  handle_ = fd;
  return 0;
}

int AppendFile::OpenExisting(const std::string& path, std::uint64_t keepBytes) {
  Close();
  struct stat info;
  int fd = -1;
  if (const int error = OpenTrusted(path, O_WRONLY | O_APPEND, fd, info); error != 0) return error;
  if (static_cast<std::uint64_t>(info.st_size) != keepBytes) {
    if (ftruncate(fd, static_cast<off_t>(keepBytes)) != 0 || fdatasync(fd) != 0) {
      const int error = errno;
      close(fd);
      return error;
    }
  }
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

}  // namespace platform
