// The parts of the platform seam that are the same on every system: words
// for kinds of file and for errors, and how a book lock is handed on. Each
// system's files hold only what calls the system.
#include <cerrno>
#include <string>
#include <utility>

#include "store/platform/error_text.h"
#include "store/platform/platform.h"

namespace platform {

const char* Describe(FileKind kind) {
  switch (kind) {
    case FileKind::missing:
      return "missing";
    case FileKind::regular:
      return "a regular file";
    case FileKind::directory:
      return "a directory";
    case FileKind::fifo:
      return "a FIFO";
    case FileKind::device:
      return "a device";
    case FileKind::link:
      return "a symbolic link";
    case FileKind::other:
      break;
  }
  return "not a regular file";
}

std::string ErrorText(int error) {
  if (error == kNotRegularFile) return "not a regular file";
  if (error == kNotOurs) return "owned by another user";
  return SystemErrorText(error);
}

std::string Describe(const SideFile& found) {
  if (found.kind == FileKind::regular && !found.ours) return "another user's file";
  return Describe(found.kind);
}

int MoveSideFileAside(const std::string& path, std::string& movedTo) {
  int error = EEXIST;
  for (int n = 1; n < 1000 && error == EEXIST; ++n) {
    const std::string aside = path + "." + std::to_string(n);
    error = RenameWithoutReplacing(path, aside);
    if (error == 0) movedTo = aside;
  }
  return error;
}

BookLock::~BookLock() { Release(); }

BookLock::BookLock(BookLock&& other) noexcept { *this = std::move(other); }

BookLock& BookLock::operator=(BookLock&& other) noexcept {
  if (this != &other) {
    Release();
    status_ = other.status_;
    holderPid_ = other.holderPid_;
    holderIsSession_ = other.holderIsSession_;
    reason_ = std::move(other.reason_);
    handle_ = other.handle_;
    other.handle_ = -1;
    other.status_ = Status::missing;
  }
  return *this;
}

}  // namespace platform
