// Error words on Windows: the system's message for the Windows error that
// the errno value stands for, from FormatMessageW in the user's language,
// without its closing full stop and line break.
#include <cerrno>
#include <cstring>

#include "store/platform/error_text.h"
#include "store/platform/windows_files.h"

namespace platform {
namespace {

// The Windows error each errno value of ErrnoOf comes from most often.
DWORD WindowsErrorOf(int error) {
  switch (error) {
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
      return ERROR_ACCESS_DENIED;
    case EEXIST:
      return ERROR_FILE_EXISTS;
    case ENOSPC:
      return ERROR_DISK_FULL;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case ENOTDIR:
      return ERROR_DIRECTORY;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case EXDEV:
      return ERROR_NOT_SAME_DEVICE;
    default:
      return ERROR_SUCCESS;
  }
}

}  // namespace

std::string SystemErrorText(int error) {
  const DWORD windowsError = WindowsErrorOf(error);
  if (windowsError == ERROR_SUCCESS) return std::strerror(error);
  wchar_t* message = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, windowsError, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  if (length == 0 || message == nullptr) return std::strerror(error);
  std::wstring text(message, length);
  LocalFree(message);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                           text.back() == L'.')) {
    text.pop_back();
  }
  return text.empty() ? std::string(std::strerror(error)) : Narrow(text);
}

}  // namespace platform
