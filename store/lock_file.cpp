// The lock file's line, and writing, reading and removing it beside the book.
#include "store/lock_file.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "text/utf8.h"

namespace lock_file {
namespace {

// Longer names are no name a system gives; a longer file is no lock file.
constexpr std::size_t kLongestName = 256;
constexpr std::uint64_t kLongestFile = 4096;

std::string UtcText(std::int64_t seconds) {
  using namespace std::chrono;
  const sys_seconds moment{std::chrono::seconds{seconds}};
  const sys_days day = floor<days>(moment);
  const year_month_day date{day};
  const hh_mm_ss time{moment - day};
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
  return text;
}

// Reads `count` digits at text[at], or false.
bool Digits(std::string_view text, std::size_t at, std::size_t count, int& value) {
  if (at + count > text.size()) return false;
  value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

bool ParseUtc(std::string_view text, std::int64_t& seconds) {
  using namespace std::chrono;
  int y, mo, d, h, mi, s;
  if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':' || text[19] != 'Z' || !Digits(text, 0, 4, y) || !Digits(text, 5, 2, mo) ||
      !Digits(text, 8, 2, d) || !Digits(text, 11, 2, h) || !Digits(text, 14, 2, mi) ||
      !Digits(text, 17, 2, s) || h > 23 || mi > 59 || s > 59) {
    return false;
  }
  const year_month_day date{year{y}, month{static_cast<unsigned>(mo)},
                            day{static_cast<unsigned>(d)}};
  if (!date.ok()) return false;
  seconds =
      sys_days{date}.time_since_epoch().count() * std::int64_t{86400} + h * 3600 + mi * 60 + s;
  return true;
}

// What goes into the line for a name: no tab, no line break, no control.
std::string Tidy(const std::string& name) {
  std::string tidy = name.substr(0, kLongestName);
  for (char& c : tidy) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return utf8::IsValid(tidy) ? tidy : std::string();
}

bool PrintableName(std::string_view name) {
  if (name.empty() || name.size() > kLongestName || !utf8::IsValid(name)) return false;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return true;
}

// The one place the lock file is made: a new file only, never through a
// link, readable by the folder's users (it names only its holder).
bool CreateLockFile(const std::string& path, std::string_view line) {
  return platform::CreateSideFile(path, line, platform::kReadableByAll) == 0;
}

// The bytes of the small regular file at `path`, reached without following
// a link; nothing for anything else. Another desk's file is another user's:
// it is read, never written.
std::optional<std::string> ReadSmallFile(const std::string& path) {
  const platform::SideFile found = platform::InspectSideFile(path);
  if (found.kind != platform::FileKind::regular || found.size > kLongestFile) return std::nullopt;
  std::string bytes;
  if (platform::ReadWholeFile(path, bytes, nullptr, {.regularOnly = true}) != 0 ||
      bytes.size() > kLongestFile) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace

std::string PathFor(const std::string& bookPath) { return bookPath + ".lock"; }

Holder ThisProcess(std::int64_t now) {
  return {platform::UserName(), platform::ComputerName(), platform::ProcessId(), now};
}

std::string Format(const Holder& holder) {
  return Tidy(holder.user) + '\t' + Tidy(holder.computer) + '\t' +
         std::to_string(holder.processId) + '\t' + UtcText(holder.since) + '\n';
}

std::optional<Holder> Parse(std::string_view bytes) {
  if (bytes.size() > kLongestFile) return std::nullopt;
  if (bytes.ends_with('\n')) bytes.remove_suffix(1);
  if (bytes.ends_with('\r')) bytes.remove_suffix(1);
  std::string_view fields[4];
  for (std::size_t i = 0; i < 4; ++i) {
    const std::size_t tab = bytes.find('\t');
    if ((i < 3) == (tab == std::string_view::npos)) return std::nullopt;  // exactly three tabs
    fields[i] = bytes.substr(0, tab);
    bytes.remove_prefix(i < 3 ? tab + 1 : bytes.size());
  }
  Holder holder;
  if (!PrintableName(fields[0]) || !PrintableName(fields[1])) return std::nullopt;
  holder.user = fields[0];
  holder.computer = fields[1];
  if (fields[2].empty() || fields[2].size() > 10) return std::nullopt;
  for (const char c : fields[2]) {
    if (c < '0' || c > '9') return std::nullopt;
    holder.processId = holder.processId * 10 + (c - '0');
  }
  if (!ParseUtc(fields[3], holder.since)) return std::nullopt;
  return holder;
}

std::optional<Holder> ReadHolder(const std::string& bookPath, const platform::BookLock& lock) {
  if (lock.status() != platform::BookLock::Status::busy) return std::nullopt;
  const std::optional<std::string> bytes = ReadSmallFile(PathFor(bookPath));
  if (!bytes) return std::nullopt;
  std::optional<Holder> holder = Parse(*bytes);
  if (holder && lock.holderPid() > 0 && holder->processId != lock.holderPid() &&
      holder->computer == platform::ComputerName()) {
    return std::nullopt;
  }
  return holder;
}

bool Claim::Put(const std::string& bookPath) {
  Withdraw();
  const std::string path = PathFor(bookPath);
  const std::string line = Format(ThisProcess(std::time(nullptr)));
  // The lock was free, so whatever is there was left by a holder that died,
  // whichever user that was. The name goes, never what a link there points at.
  platform::RealSystem().Remove(path);
  if (!CreateLockFile(path, line)) return false;
  path_ = path;
  line_ = line;
  return true;
}

Claim& Claim::operator=(Claim&& other) noexcept {
  if (this != &other) {
    Withdraw();
    path_ = std::exchange(other.path_, {});
    line_ = std::exchange(other.line_, {});
  }
  return *this;
}

void Claim::Withdraw() {
  if (path_.empty()) return;
  std::string bytes;
  if (platform::ReadSideFile(path_, bytes, kLongestFile) == 0 && bytes == line_) {
    platform::RemoveSideFile(path_);
  }
  path_.clear();
  line_.clear();
}

}  // namespace lock_file
