// Naming the holder of a book in words.
#include "store/holder_words.h"

#include <cstdio>
#include <ctime>

namespace lock_file {
namespace {

std::tm LocalTime(std::int64_t seconds) {
  const std::time_t moment = static_cast<std::time_t>(seconds);
  const std::tm* local = std::localtime(&moment);  // one thread: the shared result is safe
  return local != nullptr ? *local : std::tm{};
}

std::string Since(std::int64_t since, std::int64_t now) {
  static constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                            "May",       "June",     "July",     "August",
                                            "September", "October",  "November", "December"};
  const std::tm then = LocalTime(since);
  const std::tm today = LocalTime(now);
  char text[64];
  if (then.tm_year == today.tm_year && then.tm_yday == today.tm_yday) {
    std::snprintf(text, sizeof text, "since %02d:%02d", then.tm_hour, then.tm_min);
  } else {
    std::snprintf(text, sizeof text, "since %02d:%02d on %d %s %d", then.tm_hour, then.tm_min,
                  then.tm_mday, kMonths[(then.tm_mon % 12 + 12) % 12], then.tm_year + 1900);
  }
  return text;
}

}  // namespace

std::string HolderWords(bool session, long processId, const std::optional<Holder>& holder,
                        std::int64_t now) {
  std::string words = session ? "open in Kestrel" : "being written by another program";
  if (holder) {
    words += " on " + holder->computer + " by " + holder->user + " " + Since(holder->since, now);
  } else if (processId > 0) {
    words += " (process " + std::to_string(processId) + ")";
  }
  return words;
}

std::string HolderWords(const std::string& bookPath, const platform::BookLock& lock) {
  return HolderWords(lock.holderIsSession(), lock.holderPid(), ReadHolder(bookPath, lock),
                     std::time(nullptr));
}

}  // namespace lock_file
