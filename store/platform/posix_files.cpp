// Shared pieces of the POSIX platform.
#include "store/platform/posix_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace platform {

FileStamp StampFrom(const struct stat& info) {
  FileStamp stamp;
  stamp.exists = true;
  stamp.volume = static_cast<std::uint64_t>(info.st_dev);
  stamp.file = static_cast<std::uint64_t>(info.st_ino);
  stamp.size = static_cast<std::int64_t>(info.st_size);
  stamp.mtimeSeconds = static_cast<std::int64_t>(info.st_mtim.tv_sec);
  stamp.mtimeNanoseconds = static_cast<std::int64_t>(info.st_mtim.tv_nsec);
  return stamp;
}

FileKind KindFrom(const struct stat& info) {
  if (S_ISREG(info.st_mode)) return FileKind::regular;
  if (S_ISDIR(info.st_mode)) return FileKind::directory;
  if (S_ISFIFO(info.st_mode)) return FileKind::fifo;
  if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return FileKind::device;
  return FileKind::other;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string ResolveLinks(const std::string& path) {
  std::string current(path);
  for (int hops = 0; hops < 40; ++hops) {  // the kernel's own limit on link chains
    struct stat info;
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096), '\0');
    const ssize_t length = readlink(current.c_str(), link.data(), link.size());
    if (length <= 0) return current;
    link.resize(static_cast<std::size_t>(length));
    if (link.front() != '/') {
      const std::string folder = FolderOf(current);
      link = folder == "/" ? "/" + link : folder + "/" + link;
    }
    current = link;
  }
  return current;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {  // no progress and no error: treat as a full disk
      errno = ENOSPC;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

int CopyToNewFile(const std::string& from, const std::string& to) {
  std::string bytes;
  if (const int error = ReadWholeFile(from, bytes); error != 0) return error;
  const int fd = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
  if (fd < 0) return errno;
  if (!WriteAll(fd, bytes) || fsync(fd) != 0) {
    const int error = errno;
    close(fd);
    unlink(to.c_str());
    return error;
  }
  if (close(fd) != 0) {
    const int error = errno;
    unlink(to.c_str());
    return error;
  }
  return 0;
}

int Untrusted(const struct stat& info) {
  if (S_ISLNK(info.st_mode)) return ELOOP;
  if (!S_ISREG(info.st_mode)) return kNotRegularFile;
  if (info.st_uid != geteuid()) return kNotOurs;
  return 0;
}

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

bool LinksUnsupported(int error) {
  return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == EMLINK ||
         error == EXDEV;
}

}  // namespace platform
