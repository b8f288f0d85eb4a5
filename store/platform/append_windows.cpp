// Renaming without replacing and removing, on Windows. (Appending to the
// journal is in side_file_windows.cpp, with the other side files.)
#include <cerrno>

#include "store/platform/windows_files.h"

namespace platform {

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
