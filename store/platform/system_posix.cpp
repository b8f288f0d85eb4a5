// The steps of writes on POSIX systems, each one system call or two.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "store/platform/posix_files.h"
#include "store/platform/system.h"

namespace platform {
namespace {

int ErrorOf(int result) { return result == 0 ? 0 : errno; }

class PosixFile final : public WritableFile {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { Close(); }

  int Write(std::string_view bytes) override { return WriteAll(fd_, bytes) ? 0 : errno; }
  int Sync() override { return ErrorOf(fsync(fd_)); }
  int SyncData() override { return ErrorOf(fdatasync(fd_)); }
  int Truncate(std::uint64_t size) override {
    return ErrorOf(ftruncate(fd_, static_cast<off_t>(size)));
  }

  int TakeAccessOf(const std::string& original) override {
    struct stat info;
    if (stat(original.c_str(), &info) != 0) return errno;
    // The owner and group where we may (root saving another user's book);
    // where we may not, the file stays ours, as any new file would be.
    if (fchown(fd_, info.st_uid, info.st_gid) != 0) {
      if (fchown(fd_, static_cast<uid_t>(-1), info.st_gid) != 0) {
        // neither is allowed
      }
    }
    return ErrorOf(fchmod(fd_, info.st_mode & 07777));
  }

  int Close() override {
    if (fd_ < 0) return 0;
    const int result = close(fd_);
    fd_ = -1;
    return ErrorOf(result);
  }

 private:
  int fd_;
};

class PosixSystem final : public System {
 public:
  int CreateNew(const std::string& path, unsigned mode,
                std::unique_ptr<WritableFile>& file) override {
    // O_EXCL fails on any name that exists, a link of any kind included, and
    // never creates a file at a link's target.
    const auto bits = static_cast<mode_t>(mode & 0777);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, bits);
    if (fd < 0) return errno;
    file = std::make_unique<PosixFile>(fd);
    if (fchmod(fd, bits) != 0) {  // whatever the umask took away
      const int error = errno;
      file.reset();
      unlink(path.c_str());
      return error;
    }
    return 0;
  }

  int OpenToAppend(const std::string& path, std::unique_ptr<WritableFile>& file,
                   std::uint64_t& size) override {
    struct stat info;
    int fd = -1;
    if (const int error = OpenTrusted(path, O_WRONLY | O_APPEND, fd, info); error != 0)
      return error;
    size = static_cast<std::uint64_t>(info.st_size);
    file = std::make_unique<PosixFile>(fd);
    return 0;
  }

  int OpenDevice(const std::string& path, std::unique_ptr<WritableFile>& file) override {
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return errno;
    file = std::make_unique<PosixFile>(fd);
    return 0;
  }

  int Rename(const std::string& from, const std::string& to) override {
    return ErrorOf(rename(from.c_str(), to.c_str()));
  }

  int RenameWithoutReplacing(const std::string& from, const std::string& to) override {
#ifdef RENAME_NOREPLACE
    // Linux: in one step, whatever `from` is.
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
#endif
    // A second name, then the first one goes: link() never replaces a file.
    if (link(from.c_str(), to.c_str()) == 0) return ErrorOf(unlink(from.c_str()));
    if (!LinksUnsupported(errno)) return errno;
    // No hard links here: a rename after a look. Only this program names files so.
    struct stat info;
    if (lstat(to.c_str(), &info) == 0) return EEXIST;
    return ErrorOf(rename(from.c_str(), to.c_str()));
  }

  int SyncFolder(const std::string& folder) override {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = ErrorOf(fsync(fd));
    close(fd);
    return error;
  }

  int KeepCopy(const std::string& path, const std::string& copy) override {
    // AT_SYMLINK_FOLLOW: a link to the book gives a second name of the book
    // itself, not of the link, whose target the save is about to replace.
    const int error =
        ErrorOf(linkat(AT_FDCWD, path.c_str(), AT_FDCWD, copy.c_str(), AT_SYMLINK_FOLLOW));
    return LinksUnsupported(error) ? CopyToNewFile(path, copy) : error;
  }

  int Remove(const std::string& path) override {
    if (unlink(path.c_str()) == 0 || errno == ENOENT) return 0;
    return errno;
  }
};

}  // namespace

System& RealSystem() {
  static PosixSystem system;
  return system;
}

}  // namespace platform
