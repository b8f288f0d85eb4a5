// The journal's file on POSIX systems.
#include "store/journal_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "store/codec/file_io.h"

namespace journal {

FileSink::~FileSink() { Close(); }

void FileSink::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

std::string FileSink::Start(std::string_view bytes) {
  Close();
  const ReplaceOutcome outcome = ReplaceFileSafely(path_.c_str(), bytes);
  if (outcome.status != ReplaceOutcome::Status::replaced) return outcome.reason;
  fd_ = open(path_.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd_ < 0) return std::strerror(errno);
  return {};
}

std::string FileSink::Append(std::string_view bytes) {
  if (fd_ < 0) return std::strerror(EBADF);
  while (!bytes.empty()) {
    const ssize_t written = write(fd_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return std::strerror(written < 0 ? errno : ENOSPC);
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  if (fdatasync(fd_) != 0) return std::strerror(errno);
  return {};
}

std::string KeepAside(const std::string& path, std::string& reason) {
  for (int n = 1; n < 1000; ++n) {
    const std::string aside = path + "." + std::to_string(n);
    // A second name first, then the first one goes: no existing file is ever
    // replaced. File systems without hard links get a checked rename.
    if (link(path.c_str(), aside.c_str()) == 0) {
      unlink(path.c_str());
      return aside;
    }
    if (errno == EEXIST) continue;
    if (errno != EPERM && errno != ENOTSUP && errno != EXDEV) break;
    struct stat info;
    if (lstat(aside.c_str(), &info) == 0) continue;
    if (rename(path.c_str(), aside.c_str()) == 0) return aside;
    break;
  }
  reason = std::strerror(errno);
  return {};
}

std::string Remove(const std::string& path) {
  if (unlink(path.c_str()) == 0 || errno == ENOENT) return {};
  return std::strerror(errno);
}

}  // namespace journal
