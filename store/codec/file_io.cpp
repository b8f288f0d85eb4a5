// Whole-file reading and the temporary-file-and-rename replacement.
#include "store/codec/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "store/huge_page_allocator.h"

namespace {

FileStamp StampFrom(const struct stat& info) {
  FileStamp stamp;
  stamp.exists = true;
  stamp.device = static_cast<std::uint64_t>(info.st_dev);
  stamp.inode = static_cast<std::uint64_t>(info.st_ino);
  stamp.size = static_cast<std::int64_t>(info.st_size);
  stamp.mtimeSeconds = static_cast<std::int64_t>(info.st_mtim.tv_sec);
  stamp.mtimeNanoseconds = static_cast<std::int64_t>(info.st_mtim.tv_nsec);
  return stamp;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
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

// The path with its symbolic links followed, as far as they lead; a link to
// a file that does not exist yet resolves to where that file will be.
std::string ResolveLinks(const char* path) {
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

void SyncFolder(const std::string& folder) {
  // The rename is in place already; a folder that cannot be synced (some
  // file systems refuse) leaves it merely less durable, so this is not a failure.
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

FileStamp StampOf(const char* path) {
  struct stat info;
  if (stat(path, &info) != 0) return FileStamp{};
  return StampFrom(info);
}

int ReadWholeFile(const char* path, std::string& bytes, FileStamp* stamp) {
  bytes.clear();
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  struct stat info;
  if (fstat(fd, &info) != 0) {
    const int error = errno;
    close(fd);
    return error;
  }
  if (stamp != nullptr) *stamp = StampFrom(info);
  if (S_ISDIR(info.st_mode)) {
    close(fd);
    return EISDIR;
  }
  // Read to the end, whatever the size said: the file may still be growing.
  std::size_t have = 0;
  const std::size_t expected = info.st_size > 0 ? static_cast<std::size_t>(info.st_size) + 1 : 4096;
  bytes.reserve(expected);
  if (expected >= kLargeBlock) PrepareLargeBuffer(bytes.data(), expected);
  bytes.resize(expected);
  for (;;) {
    if (have == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t got = read(fd, bytes.data() + have, bytes.size() - have);
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      bytes.resize(have);
      close(fd);
      return error;
    }
    if (got == 0) break;
    have += static_cast<std::size_t>(got);
  }
  bytes.resize(have);
  close(fd);
  return 0;
}

ReplaceOutcome ReplaceFileSafely(const char* path, std::string_view bytes,
                                 const ReplaceOptions& options) {
  ReplaceOutcome outcome;
  // A book reached through a symbolic link is replaced where it really lives;
  // renaming over the link itself would leave the real book behind, unchanged.
  const std::string target = ResolveLinks(path);
  mode_t mode = S_IRUSR | S_IWUSR;  // a new book holds personal data: owner only
  struct stat existing;
  const bool exists = stat(target.c_str(), &existing) == 0;
  if (exists) mode = existing.st_mode & 07777;

  std::string temp = target + ".tmp-XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    outcome.status = ReplaceOutcome::Status::cannotCreate;
    outcome.reason = std::strerror(errno);
    return outcome;
  }
  auto fail = [&](int error) {
    close(fd);
    unlink(temp.c_str());
    outcome.status = ReplaceOutcome::Status::writeFailed;
    outcome.reason = std::strerror(error);
    return outcome;
  };
  // Keep the owner and group of the book being replaced where we may (root
  // saving another user's book); where we may not, the new file is ours.
  if (exists && fchown(fd, existing.st_uid, existing.st_gid) != 0) {
    if (fchown(fd, static_cast<uid_t>(-1), existing.st_gid) != 0) {
      // Neither is allowed: the file stays ours, as any new file would be.
    }
  }
  if (fchmod(fd, mode) != 0) return fail(errno);
  if (!WriteAll(fd, bytes)) return fail(errno);
  if (options.syncToDisk && fsync(fd) != 0) return fail(errno);
  struct stat info;
  if (fstat(fd, &info) != 0) return fail(errno);
  if (close(fd) != 0) {
    const int error = errno;
    unlink(temp.c_str());
    outcome.status = ReplaceOutcome::Status::writeFailed;
    outcome.reason = std::strerror(error);
    return outcome;
  }
  if (rename(temp.c_str(), target.c_str()) != 0) {
    const int error = errno;
    unlink(temp.c_str());
    outcome.status = ReplaceOutcome::Status::writeFailed;
    outcome.reason = std::strerror(error);
    return outcome;
  }
  if (options.syncToDisk) SyncFolder(FolderOf(target));
  outcome.written = StampFrom(info);
  return outcome;
}
