// Appending to a file with a flush after each addition, renaming without
// replacing and removing, on Windows.
#include <cerrno>

#include "store/platform/windows_files.h"

namespace platform {

AppendFile::~AppendFile() { Close(); }

int AppendFile::Open(const std::string& path) {
  Close();
  // FILE_APPEND_DATA alone: every write goes to the end, as O_APPEND does.
  const HANDLE file = CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA | SYNCHRONIZE, kShareAll,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ErrnoOf(GetLastError());
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return 0;
}

int AppendFile::Append(std::string_view bytes) {
  if (handle_ == -1) return EBADF;
  const HANDLE file = reinterpret_cast<HANDLE>(handle_);
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return ErrnoOf(GetLastError());
    if (written == 0) return ENOSPC;  // no progress and no error: a full disk
    bytes.remove_prefix(written);
  }
  if (!FlushFileBuffers(file)) return ErrnoOf(GetLastError());
  return 0;
}

void AppendFile::Close() {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = -1;
}

int RenameWithoutReplacing(const std::string& from, const std::string& to) {
  // Without MOVEFILE_REPLACE_EXISTING a move never replaces a file.
  if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH)) return 0;
  return ErrnoOf(GetLastError());
}

int RemoveFile(const std::string& path) {
  if (DeleteFileW(Wide(path).c_str())) return 0;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND ? 0 : ErrnoOf(error);
}

}  // namespace platform
