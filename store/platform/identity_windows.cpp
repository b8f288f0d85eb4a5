// Who and where this process is on Windows, for the line that names the
// holder of a book: the logged-on user's name and the computer's host name,
// both turned from UTF-16 into UTF-8.
#include <string>

#include "store/platform/windows_files.h"

namespace platform {

std::string UserName() {
  wchar_t name[257] = {};  // UNLEN + 1
  DWORD size = 257;
  if (!GetUserNameW(name, &size)) return {};
  return Narrow(name);
}

std::string ComputerName() {
  DWORD size = 0;
  GetComputerNameExW(ComputerNameDnsHostname, nullptr, &size);
  if (size == 0) return {};
  std::wstring name(size, L'\0');
  if (!GetComputerNameExW(ComputerNameDnsHostname, name.data(), &size)) return {};
  name.resize(size);
  return Narrow(name);
}

long ProcessId() { return static_cast<long>(GetCurrentProcessId()); }

}  // namespace platform
