// Book locks on POSIX. The lock itself is flock() on the book: it belongs to
// the open file, so closing other descriptors of the book keeps it, and the
// system drops it when the holder dies. flock() cannot say who holds it, so
// the holder also takes a shared fcntl() record lock on one byte far past
// any book's end, which the system reports with the holder's process id:
// one byte for a session, another for a write.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "store/platform/platform.h"

namespace platform {
namespace {

constexpr off_t kSessionByte = off_t{1} << 62;
constexpr off_t kWriteByte = kSessionByte + 1;

bool LocksUnsupported(int error) {
  return error == ENOLCK || error == EOPNOTSUPP || error == ENOTSUP || error == ENOSYS ||
         error == EINVAL;
}

// Takes the shared marker lock on the byte at `offset`.
void Mark(int fd, off_t offset) {
  struct flock marker {};
  marker.l_type = F_RDLCK;
  marker.l_whence = SEEK_SET;
  marker.l_start = offset;
  marker.l_len = 1;
  fcntl(fd, F_SETLK, &marker);  // only names the holder; the flock() is the lock
}

// The process holding the marker byte at `offset`; 0 when none or unknown.
long MarkerHolder(int fd, off_t offset) {
  struct flock probe {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  probe.l_start = offset;
  probe.l_len = 1;
  if (fcntl(fd, F_GETLK, &probe) != 0 || probe.l_type == F_UNLCK) return 0;
  return probe.l_pid > 0 ? static_cast<long>(probe.l_pid) : 0;
}

// Whether `fd` is still the file at `path`: a save renames a new file over
// the book, and a lock on the old one guards nothing.
bool StillTheBook(int fd, const std::string& path) {
  struct stat held, named;
  return fstat(fd, &held) == 0 && stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}

}  // namespace

void BookLock::Release() {
  if (handle_ >= 0) close(static_cast<int>(handle_));  // drops the flock and the marker
  handle_ = -1;
  if (status_ == Status::held) status_ = Status::missing;
}

bool BookLock::TryOnce(const std::string& path, Purpose purpose) {
  // O_NONBLOCK: never wait in open() for a FIFO given as the book.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    status_ = errno == ENOENT ? Status::missing : Status::failed;
    reason_ = std::strerror(errno);
    return true;
  }
  handle_ = fd;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    status_ = Status::failed;
    reason_ = "not a regular file";
    return true;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
    if (!StillTheBook(fd, path)) return false;  // replaced while we waited: lock the new one
    Mark(fd, purpose == Purpose::session ? kSessionByte : kWriteByte);
    status_ = Status::held;
    return true;
  }
  const int error = errno;
  if (LocksUnsupported(error)) {
    status_ = Status::unsupported;
    reason_ = std::strerror(error);
    return true;
  }
  if (error != EWOULDBLOCK && error != EINTR) {
    status_ = Status::failed;
    reason_ = std::strerror(error);
    return true;
  }
  status_ = Status::busy;
  holderPid_ = MarkerHolder(fd, kSessionByte);
  holderIsSession_ = holderPid_ != 0;
  if (!holderIsSession_) holderPid_ = MarkerHolder(fd, kWriteByte);
  return true;
}

BookLock BookLock::Inquire(const std::string& path) {
  BookLock lock;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    lock.status_ = errno == ENOENT ? Status::missing : Status::failed;
    lock.reason_ = std::strerror(errno);
    return lock;
  }
  // The markers tell without taking anything: a holder's start is never
  // disturbed by a reader asking.
  lock.holderPid_ = MarkerHolder(fd, kSessionByte);
  lock.holderIsSession_ = lock.holderPid_ != 0;
  if (!lock.holderIsSession_) lock.holderPid_ = MarkerHolder(fd, kWriteByte);
  lock.status_ = lock.holderPid_ != 0 ? Status::busy : Status::missing;
  close(fd);
  return lock;
}

}  // namespace platform
