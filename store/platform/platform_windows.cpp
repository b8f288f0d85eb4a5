// The store's calls into Windows: whole-file reading, the file's identity
// stamp, safe replacement, backups by copy, and plain memory for large
// blocks. Paths arrive as UTF-8 (or, failing that, in the ANSI code page)
// and reach Windows as UTF-16, so folders with any name work. Failures are
// reported as errno values, so messages read the same as on Linux.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#include "store/backup_file.h"
#include "store/codec/file_io.h"
#include "store/huge_page_allocator.h"

namespace {

std::wstring Wide(const char* path) {
  const int length = static_cast<int>(std::strlen(path));
  if (length == 0) return {};
  for (const UINT page : {static_cast<UINT>(CP_UTF8), static_cast<UINT>(CP_ACP)}) {
    const DWORD flags = page == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    const int needed = MultiByteToWideChar(page, flags, path, length, nullptr, 0);
    if (needed <= 0) continue;
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(page, flags, path, length, wide.data(), needed);
    return wide;
  }
  return {};
}

// The errno value nearest to a Windows error, so strerror words it.
int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
      return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_NOT_SAME_DEVICE:
      return EXDEV;
    default:
      return EIO;
  }
}

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  bool Close() {
    if (!Valid()) return true;
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE OpenForReading(const std::wstring& path) {
  // Backup semantics let a folder be opened too, so it can be told apart.
  return CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

FileStamp StampFrom(const BY_HANDLE_FILE_INFORMATION& info) {
  FileStamp stamp;
  stamp.exists = true;
  stamp.device = info.dwVolumeSerialNumber;
  stamp.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  stamp.size = static_cast<std::int64_t>((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) |
                                         info.nFileSizeLow);
  // FILETIME counts 100 ns since 1601; seconds and nanoseconds suffice to compare.
  const std::uint64_t ticks =
      (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
      info.ftLastWriteTime.dwLowDateTime;
  stamp.mtimeSeconds = static_cast<std::int64_t>(ticks / 10'000'000);
  stamp.mtimeNanoseconds = static_cast<std::int64_t>(ticks % 10'000'000) * 100;
  return stamp;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
    if (written == 0) {  // no progress and no error: treat as a full disk
      SetLastError(ERROR_DISK_FULL);
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

// The absolute form of `path`: ReplaceFileW works out the folder of the
// file it replaces from its name, and a bare "phone.dat" names none.
std::wstring FullPath(const std::wstring& path) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return path;
  full.resize(length);
  return full;
}

// A new, empty file beside `target` that no one else has opened.
HANDLE CreateTemporaryBeside(const std::wstring& target, std::wstring& temp) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const unsigned tag = (GetCurrentProcessId() * 7919u) ^ GetTickCount() ^ (counter++ * 104729u);
    temp = target + L".tmp-" + std::to_wstring(tag % 1000000u);
    const HANDLE file = CreateFileW(temp.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

}  // namespace

FileStamp StampOf(const char* path) {
  Handle file(OpenForReading(Wide(path)));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file.Valid() || !GetFileInformationByHandle(file.Get(), &info)) return FileStamp{};
  return StampFrom(info);
}

int ReadWholeFile(const char* path, std::string& bytes, FileStamp* stamp) {
  bytes.clear();
  Handle file(OpenForReading(Wide(path)));
  if (!file.Valid()) return ErrnoOf(GetLastError());
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file.Get(), &info)) return ErrnoOf(GetLastError());
  if (stamp != nullptr) *stamp = StampFrom(info);
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return EISDIR;
  // Read to the end, whatever the size said: the file may still be growing.
  const auto size = static_cast<std::size_t>(StampFrom(info).size);
  std::size_t have = 0;
  bytes.resize(size > 0 ? size + 1 : 4096);
  for (;;) {
    if (have == bytes.size()) bytes.resize(bytes.size() * 2);
    const std::size_t room = bytes.size() - have;
    DWORD got = 0;
    if (!ReadFile(file.Get(), bytes.data() + have,
                  room > (1u << 30) ? (1u << 30) : static_cast<DWORD>(room), &got, nullptr)) {
      bytes.resize(have);
      return ErrnoOf(GetLastError());
    }
    if (got == 0) break;
    have += got;
  }
  bytes.resize(have);
  return 0;
}

ReplaceOutcome ReplaceFileSafely(const char* path, std::string_view bytes,
                                 const ReplaceOptions& options) {
  ReplaceOutcome outcome;
  const std::wstring target = FullPath(Wide(path));
  std::wstring temp;
  Handle file(CreateTemporaryBeside(target, temp));
  if (!file.Valid()) {
    outcome.status = ReplaceOutcome::Status::cannotCreate;
    outcome.reason = std::strerror(ErrnoOf(GetLastError()));
    return outcome;
  }
  auto fail = [&](DWORD error) {
    file.Close();
    DeleteFileW(temp.c_str());
    outcome.status = ReplaceOutcome::Status::writeFailed;
    outcome.reason = std::strerror(ErrnoOf(error));
    return outcome;
  };
  if (!WriteAll(file.Get(), bytes)) return fail(GetLastError());
  if (options.syncToDisk && !FlushFileBuffers(file.Get())) return fail(GetLastError());
  if (!file.Close()) return fail(GetLastError());

  // ReplaceFileW keeps the old book's attributes and access rights; a first
  // book is moved into place, through to the disk.
  const bool exists = GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
  const BOOL moved =
      exists ? ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                            nullptr, nullptr)
             : MoveFileExW(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!moved) return fail(GetLastError());
  // The replaced file may keep the old one's identity: stamp what is there now.
  outcome.written = StampOf(path);
  return outcome;
}

BackupResult KeepBackup(const std::string& path) {
  constexpr int kMaxBackups = 1000;
  BackupResult result;
  const std::wstring source = Wide(path.c_str());
  for (int n = 0; n < kMaxBackups; ++n) {
    std::string candidate = path + ".bak";
    if (n > 0) candidate.append(".").append(std::to_string(n));
    if (CopyFileW(source.c_str(), Wide(candidate.c_str()).c_str(), /*bFailIfExists=*/TRUE)) {
      result.ok = true;
      result.path = candidate;
      return result;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
    result.reason = std::strerror(ErrnoOf(error));
    return result;
  }
  result.reason = "too many backups already";
  return result;
}

// Windows gives large pages only to accounts holding a privilege that
// ordinary users lack: large blocks are plain committed memory.
void* AllocateLargeBlock(std::size_t bytes) {
  void* block = VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void FreeLargeBlock(void* block, std::size_t /*bytes*/) { VirtualFree(block, 0, MEM_RELEASE); }

void PrepareLargeBuffer(void* /*data*/, std::size_t /*bytes*/) {}
