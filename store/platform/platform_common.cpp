// The parts of the platform seam that are the same on every system: words
// for kinds of file and for errors, the names of a save's temporary files
// and the removal of those a killed save left, the book lock's wait and how
// a lock is handed on; the steps of writes are in durable_writes.cpp. Each
// system's files hold only what calls the system.
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <new>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "store/platform/error_text.h"
#include "store/platform/platform.h"
#include "store/platform/system_steps.h"

namespace platform {

const char* Describe(FileKind kind) {
  switch (kind) {
    case FileKind::missing:
      return "missing";
    case FileKind::regular:
      return "a regular file";
    case FileKind::directory:
      return "a directory";
    case FileKind::fifo:
      return "a FIFO";
    case FileKind::device:
      return "a device";
    case FileKind::link:
      return "a symbolic link";
    case FileKind::other:
      break;
  }
  return "not a regular file";
}

std::string ErrorText(int error) {
  if (error == kNotRegularFile) return "not a regular file";
  if (error == kPastLimit) return "longer than the most that may be read";
  if (error == kNotOurs) return "owned by another user";
  return SystemErrorText(error);
}

std::string Describe(const SideFile& found) {
  if (found.kind == FileKind::regular && !found.ours) return "another user's file";
  return Describe(found.kind);
}

void ReserveForUnknownLength(std::string& bytes, std::size_t limit) {
  if (limit == SIZE_MAX) return;
  try {
    bytes.reserve(limit + 1);  // one more byte shows that the input went on
  } catch (const std::bad_alloc&) {
    // no room for all of it at once: it doubles as it comes, as far as it can
  }
}

int EndRead(std::string& bytes, std::size_t have, std::size_t limit) {
  if (have > limit) {
    bytes.resize(limit);
    return kPastLimit;
  }
  bytes.resize(have);
  return 0;
}

std::string TemporaryNameFor(const std::string& target) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 random(std::random_device{}());
  std::string name = target + kTempMarker;
  for (int i = 0; i < kTempSuffixLength; ++i) name.push_back(kLetters[random() % 62]);
  return name;
}

int RemoveLeftoverTemps(const std::string& path) {
  const std::string target = SaveTarget(path);
  std::string folder;
  const std::vector<std::string> names = NamesBeside(target, folder);
  const std::string prefix = target.substr(folder.size()) + kTempMarker;
  int removed = 0;
  for (const std::string& name : names) {
    if (name.size() != prefix.size() + kTempSuffixLength || name.compare(0, prefix.size(), prefix) != 0) {
      continue;
    }
    // Only what a save of ours left: a link, FIFO or another user's file
    // planted under such a name stays.
    if (RemoveSideFile(folder + name) == 0) ++removed;
  }
  return removed;
}

BookLock BookLock::Acquire(const std::string& path, Purpose purpose) {
  // How long a write waits for another write to finish before it gives up.
  constexpr auto kWriteWait = std::chrono::seconds(30);
  constexpr auto kPoll = std::chrono::milliseconds(10);
  BookLock lock;
  const auto deadline = std::chrono::steady_clock::now() + kWriteWait;
  for (;;) {
    lock.Release();
    lock.holderPid_ = 0;
    lock.holderIsSession_ = false;
    if (!lock.TryOnce(path, purpose)) continue;
    // Only a write waits, and only for another write: a session lasts as
    // long as someone keeps the program open.
    if (lock.status_ != Status::busy || purpose == Purpose::session || lock.holderIsSession_ ||
        std::chrono::steady_clock::now() >= deadline) {
      return lock;
    }
    std::this_thread::sleep_for(kPoll);
  }
}

BookLock::~BookLock() { Release(); }

BookLock::BookLock(BookLock&& other) noexcept { *this = std::move(other); }

BookLock& BookLock::operator=(BookLock&& other) noexcept {
  if (this != &other) {
    Release();
    status_ = other.status_;
    holderPid_ = other.holderPid_;
    holderIsSession_ = other.holderIsSession_;
    reason_ = std::move(other.reason_);
    handle_ = other.handle_;
    other.handle_ = -1;
    other.status_ = Status::missing;
  }
  return *this;
}

}  // namespace platform
