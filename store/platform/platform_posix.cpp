// The store's system calls on Linux and other POSIX systems: files, folder
// syncs and a backup's one step. Locks are in lock_posix.cpp, memory in memory_posix.cpp.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "store/platform/platform.h"
#include "store/platform/posix_files.h"
#include "store/platform/system_steps.h"

namespace platform {
namespace {

SyncObserver syncObserver = nullptr;

// The two syncs of a save, each announced to the observer first.
bool SyncFile(int fd, const std::string& path) {
  if (syncObserver != nullptr) syncObserver(SyncKind::file, path);
  return fsync(fd) == 0;
}

void SyncFolder(const std::string& folder) {
  // The new file is in place already; a folder that cannot be synced (some
  // file systems refuse) leaves it merely less durable, so this is not a failure.
  if (syncObserver != nullptr) syncObserver(SyncKind::folder, folder);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

ReplaceOutcome Failed(ReplaceOutcome::Status status, int error) {
  ReplaceOutcome outcome;
  outcome.status = status;
  outcome.reason = std::strerror(error);
  return outcome;
}

// A FIFO or a device is the user's own choice of destination: it gets the
// bytes as they are, and nothing is renamed over it.
ReplaceOutcome WriteStraight(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return Failed(ReplaceOutcome::Status::cannotCreate, errno);
  const bool ok = WriteAll(fd, bytes);
  const int error = errno;
  close(fd);
  if (!ok) return Failed(ReplaceOutcome::Status::writeFailed, error);
  return ReplaceOutcome{};
}

// The new file is in place: sync its folder and tell what was written.
ReplaceOutcome Placed(const struct stat& info, const std::string& target,
                      const ReplaceOptions& options) {
  if (options.syncToDisk) SyncFolder(FolderOf(target));
  ReplaceOutcome outcome;
  outcome.written = StampFrom(info);
  return outcome;
}

}  // namespace

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
  if (!sized && limit != SIZE_MAX) {
    try {
      bytes.reserve(cap);
    } catch (const std::bad_alloc&) {
      // no room for all of it at once: it doubles as it comes, as far as it can
    }
  }
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
  if (have > limit) {
    bytes.resize(limit);
    return kPastLimit;
  }
  bytes.resize(have);
  return 0;
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

void SetSyncObserver(SyncObserver observer) { syncObserver = observer; }

ReplaceOutcome ReplaceFile(const std::string& path, std::string_view bytes,
                           const ReplaceOptions& options) {
  // A book reached through a symbolic link is replaced where it really lives;
  // renaming over the link itself would leave the real book behind, unchanged.
  const std::string target = ResolveLinks(path);
  mode_t mode = S_IRUSR | S_IWUSR;  // a new book holds personal data: owner only
  struct stat existing;
  const bool exists = stat(target.c_str(), &existing) == 0;
  if (exists && options.onlyIfAbsent) return Failed(ReplaceOutcome::Status::appeared, EEXIST);
  if (exists) {
    if (S_ISDIR(existing.st_mode)) return Failed(ReplaceOutcome::Status::cannotCreate, EISDIR);
    if (!S_ISREG(existing.st_mode)) return WriteStraight(target, bytes);
    mode = existing.st_mode & 07777;
  }

  // A new name only: O_EXCL never opens what another has put there.
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = TemporaryNameFor(target);
    fd = open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return Failed(ReplaceOutcome::Status::cannotCreate, errno);
  auto fail = [&](int error, bool open) {
    if (open) close(fd);
    unlink(temp.c_str());
    return Failed(ReplaceOutcome::Status::writeFailed, error);
  };
  // Keep the owner and group of the book being replaced where we may (root
  // saving another user's book); where we may not, the new file is ours.
  if (exists && fchown(fd, existing.st_uid, existing.st_gid) != 0) {
    if (fchown(fd, static_cast<uid_t>(-1), existing.st_gid) != 0) {
      // Neither is allowed: the file stays ours, as any new file would be.
    }
  }
  if (fchmod(fd, mode) != 0) return fail(errno, true);
  if (!WriteAll(fd, bytes)) return fail(errno, true);
  if (options.syncToDisk && !SyncFile(fd, temp)) return fail(errno, true);
  struct stat info;
  if (fstat(fd, &info) != 0) return fail(errno, true);
  if (close(fd) != 0) return fail(errno, false);
  if (options.onlyIfAbsent) {
    // Takes the name only while it is free, atomically.
    if (renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
      int error = errno;
      if (error == EINVAL || error == ENOSYS) {  // no such rename here: a link is as atomic
        error = link(temp.c_str(), target.c_str()) == 0 ? 0 : errno;
        unlink(temp.c_str());
        if (error == 0) return Placed(info, target, options);
      }
      unlink(temp.c_str());
      return Failed(
          error == EEXIST ? ReplaceOutcome::Status::appeared : ReplaceOutcome::Status::writeFailed,
          error);
    }
  } else if (rename(temp.c_str(), target.c_str()) != 0) {
    return fail(errno, false);
  }
  return Placed(info, target, options);
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

int KeepBackupAs(const std::string& path, const std::string& backup) {
  // AT_SYMLINK_FOLLOW: a link to the book gives a second name of the book
  // itself, not of the link, whose target the save is about to replace.
  const int error =
      linkat(AT_FDCWD, path.c_str(), AT_FDCWD, backup.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
  return LinksUnsupported(error) ? CopyToNewFile(path, backup) : error;
}

}  // namespace platform
