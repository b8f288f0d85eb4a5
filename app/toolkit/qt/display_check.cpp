// The display check of the program's start.
#include "app/toolkit/qt/display_check.h"

#include <string_view>

namespace {

bool IsSet(const char* value) { return value != nullptr && *value != '\0'; }

// True when every platform named in QT_QPA_PLATFORM ("name[:options];name...")
// talks to a display server.
bool NeedsDisplayServer(std::string_view platforms) {
  while (!platforms.empty()) {
    const auto end = platforms.find(';');
    std::string_view entry = platforms.substr(0, end);
    entry = entry.substr(0, entry.find(':'));
    if (!entry.empty() && entry != "xcb" && !entry.starts_with("wayland")) return false;
    if (end == std::string_view::npos) break;
    platforms.remove_prefix(end + 1);
  }
  return true;
}

}  // namespace

std::string DisplayProblem(const char* qpaPlatform, const char* display,
                           const char* waylandDisplay) {
  if (IsSet(qpaPlatform) && !NeedsDisplayServer(qpaPlatform)) return {};
  if (IsSet(display) || IsSet(waylandDisplay)) return {};
  return kNoDisplayMessage;
}
