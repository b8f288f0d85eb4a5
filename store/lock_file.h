// The lock file: one line beside the book ("phone.dat.lock") that says who
// holds it (user, computer, process id and since when), for people at other
// desks. The system's lock on the book stays the only authority: the file is
// read only while that lock is busy, and one found while the lock is free is
// stale, left by a holder that died, and replaced.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "store/platform/platform.h"

namespace lock_file {

// Who holds a book, as its lock file says.
struct Holder {
  std::string user;      // UTF-8
  std::string computer;  // UTF-8
  long processId = 0;
  std::int64_t since = 0;  // when the holder took the book: seconds since 1970, UTC

  bool operator==(const Holder&) const = default;
};

// "<book>.lock".
std::string PathFor(const std::string& bookPath);

// This process as a holder that took the book at `now`.
Holder ThisProcess(std::int64_t now);

// The file's one line, with its newline: the four fields separated by tabs,
// the time as "2026-12-09T08:05:00Z". Tabs and control characters in a
// name become blanks.
std::string Format(const Holder& holder);

// The holder a file's bytes name; nothing for anything but one such line
// of valid UTF-8 with names of printable characters.
std::optional<Holder> Parse(std::string_view bytes);

// The holder named beside the book at `bookPath`, read only when `lock`
// found the book busy. Nothing when there is no such file, it cannot be
// read, it is no regular file, or it names another process of this
// computer than the one the system says holds the lock (a file left by a
// holder that died, read before the new holder replaced it).
std::optional<Holder> ReadHolder(const std::string& bookPath, const platform::BookLock& lock);

// The lock file of a book this process holds: written when it takes the
// book's lock, removed before it lets the lock go.
class Claim {
 public:
  Claim() = default;
  ~Claim() { Withdraw(); }
  Claim(Claim&& other) noexcept { *this = std::move(other); }
  Claim& operator=(Claim&& other) noexcept;

  // Writes this process's line beside the book at `bookPath`, first removing
  // a stale file there. Call only while holding the book's lock. A folder
  // where the file cannot be made only loses the names in other desks'
  // messages: false, and nothing else changes.
  bool Put(const std::string& bookPath);
  // Removes the file Put wrote, when it still holds this process's line.
  void Withdraw();

 private:
  std::string path_;  // empty when nothing is written
  std::string line_;
};

}  // namespace lock_file
