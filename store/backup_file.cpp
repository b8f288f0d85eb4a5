// Backups by hard link, or by copy where links are not supported.
#include "store/backup_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "store/codec/file_io.h"

namespace {

constexpr int kMaxBackups = 1000;

// Copies `from` to the new file `to`; fails with EEXIST when `to` exists.
int CopyToNewFile(const std::string& from, const std::string& to) {
  std::string bytes;
  if (const int error = ReadWholeFile(from.c_str(), bytes); error != 0) return error;
  const int fd = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
  if (fd < 0) return errno;
  std::string_view rest = bytes;
  while (!rest.empty()) {
    const ssize_t written = write(fd, rest.data(), rest.size());
    if (written <= 0) {
      if (written < 0 && errno == EINTR) continue;
      const int error = written < 0 ? errno : ENOSPC;
      close(fd);
      unlink(to.c_str());
      return error;
    }
    rest.remove_prefix(static_cast<std::size_t>(written));
  }
  if (fsync(fd) != 0 || close(fd) != 0) {
    const int error = errno;
    unlink(to.c_str());
    return error;
  }
  return 0;
}

bool LinksUnsupported(int error) {
  return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == EMLINK ||
         error == EXDEV;
}

}  // namespace

BackupResult KeepBackup(const std::string& path) {
  BackupResult result;
  for (int n = 0; n < kMaxBackups; ++n) {
    std::string candidate = path + ".bak";
    if (n > 0) candidate.append(".").append(std::to_string(n));
    int error = link(path.c_str(), candidate.c_str()) == 0 ? 0 : errno;
    if (LinksUnsupported(error)) error = CopyToNewFile(path, candidate);
    if (error == EEXIST) continue;
    if (error != 0) {
      result.reason = std::strerror(error);
      return result;
    }
    result.ok = true;
    result.path = candidate;
    return result;
  }
  result.reason = "too many backups already";
  return result;
}
