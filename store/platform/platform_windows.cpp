// The store's system calls on Windows for reading files and naming them.
// Paths reach Windows as UTF-16, so folders with any name work. The steps of
// writes are in system_windows.cpp, side files in side_file_windows.cpp,
// locks in lock_windows.cpp, memory in memory_windows.cpp.
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "store/platform/system_steps.h"
#include "store/platform/windows_files.h"

namespace platform {
namespace {

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
// growing) when the size is known. A pipe's is not: with a limit the
// buffer's room is reserved once, so growing never copies what was read;
// without one it doubles.
int ReadToEnd(HANDLE file, std::int64_t size, std::string& bytes, std::size_t limit) {
  const std::size_t cap = limit == SIZE_MAX ? limit : limit + 1;
  if (size <= 0) ReserveForUnknownLength(bytes, limit);
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
  return EndRead(bytes, have, limit);
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

std::string FolderOf(const std::string& path) { return Narrow(FolderOf(Wide(path))); }

}  // namespace platform
