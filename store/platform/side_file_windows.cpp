// Side files on Windows: reached by their name alone (a reparse point is
// opened as itself, never followed, and then refused), and read or removed
// only when they are regular files owned by the user running the program.
// They are created and appended to in system_windows.cpp.
#include <aclapi.h>

#include <cerrno>
#include <memory>

#include "store/platform/windows_files.h"

namespace platform {
namespace {

// Opens the name itself: a reparse point (a symbolic link, a junction) as
// the reparse point, a folder as the folder, so that either can be told apart.
HANDLE OpenName(const std::wstring& path, DWORD access) {
  return CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                     FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// The token's user, or its default owner for new files (the Administrators
// group, for an elevated administrator), owns `owner`.
bool IsOurs(PSID owner) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  OwnedHandle held(token);
  for (const TOKEN_INFORMATION_CLASS asked : {TokenUser, TokenOwner}) {
    DWORD size = 0;
    GetTokenInformation(token, asked, nullptr, 0, &size);
    if (size == 0) continue;
    const auto buffer = std::make_unique<unsigned char[]>(size);
    if (!GetTokenInformation(token, asked, buffer.get(), size, &size)) continue;
    const PSID sid = asked == TokenUser ? reinterpret_cast<TOKEN_USER*>(buffer.get())->User.Sid
                                        : reinterpret_cast<TOKEN_OWNER*>(buffer.get())->Owner;
    if (EqualSid(sid, owner)) return true;
  }
  return false;
}

// Whether the open file belongs to the user running the program. A volume
// that keeps no owners (FAT, a network share without them) has no other
// user's files to tell apart: everything on it counts as ours.
bool OwnedByUs(HANDLE file) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                      nullptr, &descriptor) != ERROR_SUCCESS) {
    return true;
  }
  const bool ours = owner == nullptr || IsOurs(owner);
  LocalFree(descriptor);
  return ours;
}

FileKind KindOfName(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info) {
  if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return FileKind::link;
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return FileKind::directory;
  switch (GetFileType(file)) {
    case FILE_TYPE_DISK:
      return FileKind::regular;
    case FILE_TYPE_CHAR:
      return FileKind::device;
    case FILE_TYPE_PIPE:
      return FileKind::fifo;
    default:
      return FileKind::other;
  }
}

// Why the open name may not be used as a side file: 0 when it is trusted.
int Untrusted(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
  if (!GetFileInformationByHandle(file, &info)) return ErrnoOf(GetLastError());
  const FileKind kind = KindOfName(file, info);
  if (kind == FileKind::link) return ELOOP;
  if (kind != FileKind::regular) return kNotRegularFile;
  if (!OwnedByUs(file)) return kNotOurs;
  return 0;
}

}  // namespace

int OpenTrusted(const std::string& path, DWORD access, HANDLE& handle,
                BY_HANDLE_FILE_INFORMATION& info) {
  OwnedHandle held(OpenName(Wide(path), access | READ_CONTROL));
  if (!held.Valid()) return ErrnoOf(GetLastError());
  if (const int why = Untrusted(held.Get(), info); why != 0) return why;
  handle = held.Release();
  return 0;
}

SideFile InspectSideFile(const std::string& path) {
  SideFile found;
  OwnedHandle file(OpenName(Wide(path), FILE_READ_ATTRIBUTES | READ_CONTROL));
  if (!file.Valid()) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) found.kind = FileKind::other;
    return found;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file.Get(), &info)) {
    found.kind = FileKind::other;
    return found;
  }
  found.kind = KindOfName(file.Get(), info);
  found.ours = OwnedByUs(file.Get());
  found.stamp = StampFrom(info);
  if (found.kind == FileKind::regular) found.size = static_cast<std::uint64_t>(found.stamp.size);
  return found;
}

int ReadSideFile(const std::string& path, std::string& bytes, std::uint64_t maxBytes) {
  bytes.clear();
  HANDLE handle = INVALID_HANDLE_VALUE;
  BY_HANDLE_FILE_INFORMATION info;
  if (const int why = OpenTrusted(path, GENERIC_READ, handle, info); why != 0) return why;
  OwnedHandle file(handle);
  const auto size = static_cast<std::uint64_t>(StampFrom(info).size);
  if (size > maxBytes) return EFBIG;
  // Never more than the size seen: a file still growing is read as it was.
  bytes.resize(static_cast<std::size_t>(size));
  std::size_t have = 0;
  while (have < bytes.size()) {
    const std::size_t room = bytes.size() - have;
    DWORD got = 0;
    if (!ReadFile(file.Get(), bytes.data() + have,
                  room > (1u << 30) ? (1u << 30) : static_cast<DWORD>(room), &got, nullptr)) {
      bytes.clear();
      return ErrnoOf(GetLastError());
    }
    if (got == 0) break;
    have += got;
  }
  bytes.resize(have);
  return 0;
}

int RemoveSideFile(const std::string& path) {
  HANDLE handle = INVALID_HANDLE_VALUE;
  BY_HANDLE_FILE_INFORMATION info;
  const int why = OpenTrusted(path, FILE_READ_ATTRIBUTES, handle, info);
  if (why == ENOENT) return 0;
  if (why != 0) return why;
  CloseHandle(handle);
  if (DeleteFileW(Wide(path).c_str())) return 0;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND ? 0 : ErrnoOf(error);
}

}  // namespace platform
