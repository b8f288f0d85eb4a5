// The journal as a file beside the book, and the file steps of recovery:
// reading it, keeping it aside, removing it.
#pragma once

#include <string>
#include <string_view>

#include "store/journal.h"
#include "store/platform/platform.h"

namespace journal {

class FileSink : public Sink {
 public:
  explicit FileSink(std::string path) : path_(std::move(path)) {}
  ~FileSink() override;
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  // Replaces the file whole (a crash leaves the old or the new one), new
  // files readable by their owner alone, then keeps it open for appending.
  std::string Start(std::string_view bytes) override;
  // Writes the bytes at the end and syncs the file's data.
  std::string Append(std::string_view bytes) override;
  // Lets the file go; it stays on disk.
  void Close();

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  platform::AppendFile file_;
};

// Renames the journal at `path` to the first free "<path>.1", "<path>.2", ...,
// never replacing a file. Returns the new name, or "" with `reason` set.
std::string KeepAside(const std::string& path, std::string& reason);

// Removes the journal at `path`; a missing one is no failure. Returns "" or
// the system's words.
std::string Remove(const std::string& path);

}  // namespace journal
