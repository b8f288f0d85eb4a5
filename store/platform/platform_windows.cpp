// The store's system calls on Windows: files, safe replacement and backups.
// Paths reach Windows as UTF-16, so folders with any name work. Locks are in
// lock_windows.cpp, memory in memory_windows.cpp.
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "store/platform/system_steps.h"
#include "store/platform/windows_files.h"

namespace platform {
namespace {

SyncObserver syncObserver = nullptr;

ReplaceOutcome Failed(ReplaceOutcome::Status status, int error) {
  ReplaceOutcome outcome;
  outcome.status = status;
  outcome.reason = ErrorText(error);
  return outcome;
}

// The absolute form of `path`: ReplaceFileW works out the folder of the file
// it replaces from its name, and a bare "phone.dat" names none.
std::wstring FullPath(const std::wstring& path) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return path;
  full.resize(length);
  return full;
}

// The folder part of `path`, as the POSIX side gives it: "." for a bare name.
std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return L".";
  if (slash == 0 || (slash == 2 && path[1] == L':')) return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

FileKind KindOfHandle(HANDLE file, const BY_HANDLE_FILE_INFORMATION* info) {
  switch (GetFileType(file)) {
    case FILE_TYPE_CHAR:
      return FileKind::device;
    case FILE_TYPE_PIPE:
      return FileKind::fifo;
    case FILE_TYPE_DISK:
      if (info == nullptr) return FileKind::regular;
      return (info->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::directory
                                                                 : FileKind::regular;
    default:
      return FileKind::other;
  }
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

// The rename is made; a folder that cannot be flushed leaves it merely less
// durable, so this is not a failure.
void SyncFolder(const std::wstring& folder) {
  if (syncObserver != nullptr) syncObserver(SyncKind::folder, Narrow(folder));
  OwnedHandle handle(CreateFileW(folder.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (handle.Valid()) FlushFileBuffers(handle.Get());
}

// A new, empty file beside the book at `path`, named by TemporaryNameFor.
HANDLE CreateTemporaryBeside(const std::string& path, std::wstring& temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = Wide(TemporaryNameFor(path));
    const HANDLE file = CreateFileW(temp.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

// A device or a pipe is the user's own choice of destination: it gets the
// bytes as they are, and nothing is renamed over it.
ReplaceOutcome WriteStraight(const std::wstring& path, std::string_view bytes) {
  OwnedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return Failed(ReplaceOutcome::Status::cannotCreate, ErrnoOf(GetLastError()));
  if (!WriteAll(file.Get(), bytes)) {
    return Failed(ReplaceOutcome::Status::writeFailed, ErrnoOf(GetLastError()));
  }
  return ReplaceOutcome{};
}

}  // namespace

FileStamp StampOf(const std::string& path) {
  OwnedHandle file(OpenForReading(Wide(path)));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file.Valid() || !GetFileInformationByHandle(file.Get(), &info)) return FileStamp{};
  return StampFrom(info);
}

FileKind KindOf(const std::string& path) {
  OwnedHandle file(OpenForReading(Wide(path)));
  if (!file.Valid()) return FileKind::missing;
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = GetFileInformationByHandle(file.Get(), &info) != 0;
  return KindOfHandle(file.Get(), known ? &info : nullptr);
}

namespace {

// Reads `file` to its end into `bytes`, at most `limit` bytes: in one buffer
// of `size` bytes (and one more, which shows the end of a file still
// growing) when the size is known, else in a buffer that doubles.
int ReadToEnd(HANDLE file, std::int64_t size, std::string& bytes, std::size_t limit) {
  const std::size_t cap = limit == SIZE_MAX ? limit : limit + 1;
  std::size_t have = 0;
  bytes.resize(std::min(cap, size > 0 ? static_cast<std::size_t>(size) + 1 : std::size_t{4096}));
  for (;;) {
    if (have == bytes.size()) {
      if (have == cap) break;
      bytes.resize(std::min(cap, have * 2));
    }
    const std::size_t room = bytes.size() - have;
    DWORD got = 0;
    if (!ReadFile(file, bytes.data() + have,
                  room > (1u << 30) ? (1u << 30) : static_cast<DWORD>(room), &got, nullptr)) {
      const DWORD error = GetLastError();
      if (error == ERROR_BROKEN_PIPE) break;  // a pipe's writer has finished
      bytes.resize(have);
      return ErrnoOf(error);
    }
    if (got == 0) break;
    have += got;
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
  OwnedHandle file(OpenForReading(Wide(path)));
  if (!file.Valid()) return ErrnoOf(GetLastError());
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = GetFileInformationByHandle(file.Get(), &info) != 0;
  const FileKind kind = KindOfHandle(file.Get(), known ? &info : nullptr);
  if (known && stamp != nullptr) *stamp = StampFrom(info);
  if (kind == FileKind::directory) return EISDIR;
  if (options.regularOnly && kind != FileKind::regular) return kNotRegularFile;
  return ReadToEnd(file.Get(), kind == FileKind::regular && known ? StampFrom(info).size : 0, bytes,
                   options.limit);
}

int ReadStandardInput(std::string& bytes, const ReadOptions& options) {
  bytes.clear();
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (input == nullptr || input == INVALID_HANDLE_VALUE) return 0;  // no standard input: empty
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = GetFileInformationByHandle(input, &info) != 0;
  const FileKind kind = KindOfHandle(input, known ? &info : nullptr);
  if (kind == FileKind::directory) return EISDIR;
  if (options.regularOnly && kind != FileKind::regular) return kNotRegularFile;
  return ReadToEnd(input, kind == FileKind::regular && known ? StampFrom(info).size : 0, bytes,
                   options.limit);
}

void SetSyncObserver(SyncObserver observer) { syncObserver = observer; }

ReplaceOutcome ReplaceFile(const std::string& path, std::string_view bytes,
                           const ReplaceOptions& options) {
  const std::wstring given = Wide(path);
  const std::wstring target = FullPath(given);
  const FileKind kind = KindOf(path);
  if (kind != FileKind::missing && options.onlyIfAbsent) {
    return Failed(ReplaceOutcome::Status::appeared, EEXIST);
  }
  if (kind == FileKind::directory) return Failed(ReplaceOutcome::Status::cannotCreate, EISDIR);
  if (kind == FileKind::device || kind == FileKind::fifo) return WriteStraight(target, bytes);

  // The temporary file is named after the path as given, as the caller knows it.
  std::wstring temp;
  OwnedHandle file(CreateTemporaryBeside(path, temp));
  if (!file.Valid()) return Failed(ReplaceOutcome::Status::cannotCreate, ErrnoOf(GetLastError()));
  auto fail = [&](DWORD error) {
    file.Close();
    DeleteFileW(temp.c_str());
    return Failed(ReplaceOutcome::Status::writeFailed, ErrnoOf(error));
  };
  if (!WriteAll(file.Get(), bytes)) return fail(GetLastError());
  if (options.syncToDisk) {
    if (syncObserver != nullptr) syncObserver(SyncKind::file, Narrow(temp));
    if (!FlushFileBuffers(file.Get())) return fail(GetLastError());
  }
  if (!file.Close()) return fail(GetLastError());

  // ReplaceFileW keeps the old book's attributes and access rights; a first
  // book is moved into place, through to the disk. A new file takes the
  // folder's access rights, as every new file there does.
  // With onlyIfAbsent the move takes the name only while it is free.
  const DWORD moveFlags =
      MOVEFILE_WRITE_THROUGH | (options.onlyIfAbsent ? 0 : MOVEFILE_REPLACE_EXISTING);
  const BOOL moved = kind == FileKind::regular
                         ? ReplaceFileW(target.c_str(), temp.c_str(), nullptr,
                                        REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                         : MoveFileExW(temp.c_str(), target.c_str(), moveFlags);
  if (!moved) {
    const DWORD error = GetLastError();
    if (options.onlyIfAbsent && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)) {
      file.Close();
      DeleteFileW(temp.c_str());
      return Failed(ReplaceOutcome::Status::appeared, EEXIST);
    }
    return fail(error);
  }
  if (options.syncToDisk) SyncFolder(FolderOf(given));
  // The replaced file may keep the old one's identity: stamp what is there now.
  ReplaceOutcome outcome;
  outcome.written = StampOf(Narrow(target));
  return outcome;
}

std::string SaveTarget(const std::string& path) { return Narrow(FullPath(Wide(path))); }

std::vector<std::string> NamesBeside(const std::string& target, std::string& folder) {
  const std::size_t slash = target.find_last_of("\\/");
  folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(Wide(folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(Narrow(found.cFileName));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// Windows keeps a damaged book aside by copying it: a second name (a hard
// link) would change with the file when ReplaceFileW swaps its contents.
int KeepBackupAs(const std::string& path, const std::string& backup) {
  if (CopyFileW(Wide(path).c_str(), Wide(backup).c_str(), /*bFailIfExists=*/TRUE)) return 0;
  return ErrnoOf(GetLastError());
}

}  // namespace platform
