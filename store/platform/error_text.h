// The system's own words for an errno value, as its users read them
// elsewhere ("Access is denied" on Windows, "Permission denied" on Linux).
// One implementation per system; ErrorText uses it.
#pragma once

#include <string>

namespace platform {

std::string SystemErrorText(int error);

}  // namespace platform
