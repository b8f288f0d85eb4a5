// Error words on POSIX systems: the C library's.
#include <cstring>

#include "store/platform/error_text.h"

namespace platform {

std::string SystemErrorText(int error) { return std::strerror(error); }

}  // namespace platform
