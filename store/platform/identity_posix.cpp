// Who and where this process is on POSIX, for the line that names the
// holder of a book: the user from the password database, the computer from
// its host name.
#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "store/platform/platform.h"

namespace platform {

std::string UserName() {
  // The effective user is the one whose rights the book is opened with.
  if (const passwd* entry = getpwuid(geteuid()); entry != nullptr && entry->pw_name != nullptr) {
    return entry->pw_name;
  }
  return "user " + std::to_string(geteuid());
}

std::string ComputerName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

long ProcessId() { return static_cast<long>(getpid()); }

}  // namespace platform
