// Book locks on Windows: LockFileEx on bytes far past any book's end, so the
// lock never stops anyone from reading the book itself (Windows' byte locks
// are binding, not advisory). One byte is the lock; the holder also takes a
// shared lock on a second byte that says what it is, a session or a write.
// Windows cannot say which process holds a lock: holderPid() stays 0. The
// system drops every lock of a handle when its process dies.
#include <cerrno>

#include "store/platform/windows_files.h"

namespace platform {
namespace {

constexpr std::uint64_t kLockByte = std::uint64_t{1} << 62;
constexpr std::uint64_t kSessionByte = kLockByte + 1;
constexpr std::uint64_t kWriteByte = kLockByte + 2;

bool LockByte(HANDLE file, std::uint64_t offset, bool exclusive) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
  return LockFileEx(file, flags, 0, 1, 0, &at) != 0;
}

void UnlockByte(HANDLE file, std::uint64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  UnlockFileEx(file, 0, 1, 0, &at);
}

// Whether someone holds the marker byte at `offset`.
bool MarkerHeld(HANDLE file, std::uint64_t offset) {
  if (!LockByte(file, offset, /*exclusive=*/true)) return true;
  UnlockByte(file, offset);
  return false;
}

// Whether `file` is still the file at `path`: a save puts a new file in the
// book's place, and a lock on the old one guards nothing.
bool StillTheBook(HANDLE file, const std::string& path) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file, &info)) return false;
  const FileStamp held = StampFrom(info);
  const FileStamp named = StampOf(path);
  return named.exists && held.volume == named.volume && held.file == named.file;
}

HANDLE HandleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

void BookLock::Release() {
  if (handle_ != -1) CloseHandle(HandleOf(handle_));  // drops the lock and the marker
  handle_ = -1;
  if (status_ == Status::held) status_ = Status::missing;
}

bool BookLock::TryOnce(const std::string& path, Purpose purpose) {
  const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const int code = ErrnoOf(GetLastError());
    status_ = code == ENOENT ? Status::missing : Status::failed;
    reason_ = ErrorText(code);
    return true;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    status_ = Status::failed;
    reason_ = "not a regular file";
    return true;
  }
  if (LockByte(file, kLockByte, /*exclusive=*/true)) {
    if (!StillTheBook(file, path)) return false;  // replaced while we waited: lock the new one
    LockByte(file, purpose == Purpose::session ? kSessionByte : kWriteByte, /*exclusive=*/false);
    status_ = Status::held;
    return true;
  }
  const DWORD error = GetLastError();
  if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION) {
    status_ = Status::unsupported;
    reason_ = "locks are not supported here";
    return true;
  }
  if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
    status_ = Status::failed;
    reason_ = ErrorText(ErrnoOf(error));
    return true;
  }
  status_ = Status::busy;
  holderIsSession_ = MarkerHeld(file, kSessionByte);
  return true;
}

BookLock BookLock::Inquire(const std::string& path) {
  BookLock lock;
  const OwnedHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const int code = ErrnoOf(GetLastError());
    lock.status_ = code == ENOENT ? Status::missing : Status::failed;
    lock.reason_ = ErrorText(code);
    return lock;
  }
  // Only the markers are tried, never the lock itself: a holder starting
  // meanwhile is not turned away by a reader asking.
  lock.holderIsSession_ = MarkerHeld(file.Get(), kSessionByte);
  const bool held = lock.holderIsSession_ || MarkerHeld(file.Get(), kWriteByte);
  lock.status_ = held ? Status::busy : Status::missing;
  return lock;
}

}  // namespace platform
