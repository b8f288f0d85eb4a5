// The operating system as the store changes files through it: creating,
// writing, syncing, renaming and removing. Every step that makes a change
// durable goes through a System handed to the code that takes it, so a test
// can hand in a double that records each step and fails the one it chooses
// (tests/support/recording_system.h). What a save or an append does with
// these steps, and in which order, is written once (durable_writes.cpp);
// each system's implementation only calls the system. Reading and asking
// about files stay the plain functions of platform.h: they change nothing.
//
// Every call returns 0 or the errno value of its failure, as the rest of
// the seam does; platform::ErrorText words it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// A file open for writing. Each call is one step of the system's.
class WritableFile {
 public:
  virtual ~WritableFile() = default;

  // Writes all of `bytes` at the file's end (ENOSPC when the system takes
  // nothing and names no error).
  virtual int Write(std::string_view bytes) = 0;
  // Puts the file's bytes and everything about it on disk (fsync).
  virtual int Sync() = 0;
  // Puts the bytes and the size that makes them readable on disk, not the
  // times: enough for a file only ever appended to (fdatasync).
  virtual int SyncData() = 0;
  // Cuts the file to its first `size` bytes.
  virtual int Truncate(std::uint64_t size) = 0;
  // Gives the file the permission bits and, where allowed, the owner of the
  // file at `original`, which it is about to replace. Does nothing where a
  // replacement keeps the old file's access rights by itself (Windows).
  virtual int TakeAccessOf(const std::string& original) = 0;
  // Lets the file go; some file systems report a failed write only here.
  virtual int Close() = 0;
};

class System {
 public:
  virtual ~System() = default;

  // Creates `path` where nothing at all has the name, a dangling link
  // included, never through a link, with permission bits `mode` whatever
  // the umask (Windows gives the folder's access rights instead).
  virtual int CreateNew(const std::string& path, unsigned mode,
                        std::unique_ptr<WritableFile>& file) = 0;
  // Opens the side file `path` to add to its end, when it is trusted (a
  // regular file of the user's, reached without following a link); `size`
  // is its length then. Fails as ReadSideFile would for anything else.
  virtual int OpenToAppend(const std::string& path, std::unique_ptr<WritableFile>& file,
                           std::uint64_t& size) = 0;
  // Opens the FIFO or device at `path` to write to it as it is.
  virtual int OpenDevice(const std::string& path, std::unique_ptr<WritableFile>& file) = 0;

  // Gives the file `from` the name `to` in one step, replacing what is there.
  virtual int Rename(const std::string& from, const std::string& to) = 0;
  // Gives whatever is at `from` (the name itself, never a link's target) the
  // name `to` only while nothing has that name: EEXIST when taken.
  virtual int RenameWithoutReplacing(const std::string& from, const std::string& to) = 0;
  // Makes the names in `folder` durable: a new file's, a rename's.
  virtual int SyncFolder(const std::string& folder) = 0;
  // Makes the new file `copy` hold the bytes of the file at `path` now (a
  // link at `path` followed), never replacing anything: as a second name of
  // that file where the file system allows it and a replacement of `path`
  // leaves the second name the old bytes; else as a copy, synced. EEXIST
  // when `copy` is taken; on failure nothing is left at `copy`.
  virtual int KeepCopy(const std::string& path, const std::string& copy) = 0;
  // Removes the file `path`; 0 also when there was none.
  virtual int Remove(const std::string& path) = 0;
};

// The system this program runs on.
System& RealSystem();

}  // namespace platform
