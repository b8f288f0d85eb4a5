// The journal as a file beside the book, and the file steps of recovery:
// reading what a session that died left, keeping it aside, removing it. The
// journal is a side file (store/platform/platform.h): never reached through
// a link, only ever created where nothing has its name, and read, cut or
// removed only when it is a regular file of the user running the program.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "store/journal.h"
#include "store/platform/platform.h"

namespace journal {

class FileSink : public Sink {
 public:
  // Every step on disk is taken through `system`.
  explicit FileSink(std::string path, platform::System& system = platform::RealSystem())
      : path_(std::move(path)), file_(system) {}
  ~FileSink() override;
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  // Creates the file, where nothing may have its name yet, readable by its
  // owner alone and holding `bytes` synced, then keeps it open for appending.
  std::string Start(std::string_view bytes) override;
  // Writes the bytes at the end and syncs the file's data.
  std::string Append(std::string_view bytes) override;
  // Opens the journal of ours already there, cut to `keepBytes`, for appending.
  std::string Continue(std::uint64_t keepBytes) override;
  // Lets the file go; it stays on disk.
  void Close();

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  platform::AppendFile file_;
};

// What recovery finds at the journal's name at start-up.
struct Left {
  enum class Status {
    none,        // nothing: no session died
    read,        // a journal of ours, whole in `bytes`
    planted,     // something else is there (`found` says what): never read
    tooLarge,    // a journal of ours larger than the memory available allows: not read
    unreadable,  // a journal of ours that could not be read (`reason`)
  };
  Status status = Status::none;
  std::string bytes;
  std::string found;   // planted: "a symbolic link", "a FIFO", "another user's file"...
  std::string reason;  // tooLarge, unreadable: in words
};

// Reads the journal at `path` when it is a regular file of the user running
// the program that fits in the memory available; looks at anything else
// without opening it, and never blocks.
Left ReadLeft(const std::string& path);

// Whether replaying `summary` onto `records` fits in the memory available,
// the way loading the book reckons it: the records the book grows to. ""
// when it fits, or why not in words.
std::string ReplayRefusal(const Summary& summary, const RecordList& records);

// Renames whatever is at `path` (the name itself, never a link's target) to
// the first free "<path>.1", "<path>.2", ..., never replacing a file.
// Returns the new name, or "" with `reason` set.
std::string KeepAside(const std::string& path, std::string& reason,
                      platform::System& system = platform::RealSystem());

// Removes the journal of ours at `path`; a missing one is no failure, and
// anything else there stays. Returns "" or the reason in words.
std::string Remove(const std::string& path);

}  // namespace journal
