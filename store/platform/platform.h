// The store's one door to the operating system: every call that touches
// files, locks or memory pages goes through these functions, so that the
// rest of the store (and the codec below it) is the same on every platform.
//
// One implementation per platform sits beside this header (platform_posix.cpp
// here); CMake compiles exactly one of them. Paths are UTF-8 byte strings as
// the rest of the program holds them; an implementation converts them where
// its system wants another form. Every function reports failure as an errno
// value or in words from the system ("No space left on device"); none throws
// except the allocator, which throws std::bad_alloc like operator new.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// ---------------------------------------------------------------- files

// What identifies a file's version on disk: which file it is, its size and
// when it last changed. Two stamps are equal when nothing has been seen to
// change (including both saying the file does not exist). `volume` and `file`
// are the device and inode numbers here, the volume serial and file index on
// Windows.
struct FileStamp {
  bool exists = false;
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  std::int64_t size = 0;
  std::int64_t mtimeSeconds = 0;
  std::int64_t mtimeNanoseconds = 0;

  bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path` now (links followed); exists is false when
// it cannot be found.
FileStamp StampOf(const std::string& path);

// What kind of thing a path names, links followed.
enum class FileKind { missing, regular, directory, fifo, device, other };
FileKind KindOf(const std::string& path);

// Words for a kind that is not a regular file: "a directory", "a FIFO"...
const char* Describe(FileKind kind);

// errno-style value returned for a book that is no regular file.
inline constexpr int kNotRegularFile = -1;

struct ReadOptions {
  // Refuse anything but a regular file with kNotRegularFile, without ever
  // blocking on a FIFO or reading an endless device.
  bool regularOnly = false;
};

// Replaces `bytes` with the contents of `path`. Returns 0, or the errno
// value of the failure (bytes then hold what was read, if anything), or
// kNotRegularFile. Fills `stamp`, when given, from the open file.
int ReadWholeFile(const std::string& path, std::string& bytes, FileStamp* stamp = nullptr,
                  const ReadOptions& options = {});

// The system's words for an error value from these functions.
std::string ErrorText(int error);

// ---------------------------------------------------------------- writing

struct ReplaceOptions {
  // Flush the new file to disk before it takes the old one's place, and the
  // folder after. Only benchmarks and throwaway test folders turn this off.
  bool syncToDisk = true;
  // Refuse, with status appeared, when a file has come to be at `path` since
  // the caller found none: two writers creating the same book must not
  // silently replace each other.
  bool onlyIfAbsent = false;
};

struct ReplaceOutcome {
  enum class Status {
    replaced,      // `path` now holds the new bytes
    cannotCreate,  // no temporary file could be made beside `path`; nothing changed
    writeFailed,   // writing, syncing or renaming failed; `path` is unchanged
    appeared,      // onlyIfAbsent, and another file is there now; nothing changed
  };
  Status status = Status::replaced;
  std::string reason;  // the system's words, e.g. "No space left on device"
  FileStamp written;   // the new file's stamp, when replaced
};

// Makes `path` hold `bytes` so that a crash or a failed write at any moment
// leaves either the old file or the new one, never a mixture: the bytes go
// to a temporary file in the same folder (named with kTempMarker), are
// synced, and the temporary file takes the old one's place; then the folder
// is synced. A symbolic link is followed and the file it names is replaced.
// The new file keeps the permission bits and, where allowed, the owner of
// the file it replaces, or is readable and writable by its owner alone when
// `path` did not exist. A FIFO or a device is not replaced but written
// straight, as the user asked; a directory is refused. On failure the
// temporary file is removed and `path` is left as it was.
ReplaceOutcome ReplaceFile(const std::string& path, std::string_view bytes,
                           const ReplaceOptions& options = {});

// Part of every temporary file's name, between the book's own name and a
// random suffix: "phone.dat.kestrel-save-Ab12Cd". A save killed half way
// leaves such a file; nothing else is ever named so.
inline constexpr char kTempMarker[] = ".kestrel-save-";

// Removes the temporary files that saves of `path` left behind when they
// were killed. Call only while holding the book's write lock, so that no
// save of this book is running. Returns how many were removed.
int RemoveLeftoverTemps(const std::string& path);

// A save's syncs, shown to tests: the platform calls the observer just
// before it asks the system to flush the new file (kind file, the temporary
// file's path) or the folder (kind folder, the folder's path).
enum class SyncKind { file, folder };
using SyncObserver = void (*)(SyncKind kind, const std::string& path);
void SetSyncObserver(SyncObserver observer);  // nullptr: none

// ---------------------------------------------------------------- appending

// A file kept open for adding bytes at its end, each addition on disk before
// the call returns: the session journal. Create the file first with
// ReplaceFile, which makes new files readable by their owner alone.
class AppendFile {
 public:
  AppendFile() = default;
  ~AppendFile();
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  // Opens the existing file at `path`, letting go of any file open before.
  // Returns 0 or the errno value.
  int Open(const std::string& path);
  // Writes all of `bytes` at the end and syncs the file's data. Returns 0 or
  // the errno value (EBADF when no file is open).
  int Append(std::string_view bytes);
  // Lets the file go; it stays on disk.
  void Close();

 private:
  std::intptr_t handle_ = -1;
};

// Gives the file at `from` the name `to` when no file has that name; never
// replaces one. Returns 0, EEXIST when `to` is taken, or another errno value.
int RenameWithoutReplacing(const std::string& from, const std::string& to);

// Removes the file at `path`. Returns 0, also when there was none, or the
// errno value.
int RemoveFile(const std::string& path);

// ---------------------------------------------------------------- backups

struct BackupResult {
  bool ok = false;
  std::string path;    // the backup's name, when ok
  std::string reason;  // the system's words, when not ok
};

// Makes "<path>.bak" (or "<path>.bak.1", ".bak.2", ... when taken) hold the
// current bytes of the file at `path`, following a symbolic link to the file
// itself: as a second name of that file where the file system allows it (a
// replacement later gives `path` a new file, so the backup keeps the old
// bytes), otherwise as a copy. Never overwrites an existing file. On failure
// nothing is left behind.
BackupResult KeepBackup(const std::string& path);

// ---------------------------------------------------------------- locks

// A lock on a book that the system releases when its holder dies, so no
// crash ever leaves a book locked. Two purposes:
//   session: held by the program for as long as it shows the book;
//   write:   held by a command for its whole read, change and write.
// A write lock is refused while a session lock is held, and the other way
// round. Two write locks take turns: the later one waits.
// What an implementation needs: an exclusive lock on the open book that can
// be tried without waiting and that the system drops at the holder's death
// (flock here; LockFileEx on a range past the end of the file on Windows),
// and, where the system can tell, the holder's process id and whether it is
// a session; holderPid() 0 only drops "(process N)" from the messages.
class BookLock {
 public:
  enum class Purpose { session, write };
  enum class Status {
    held,         // this object holds the lock
    busy,         // another process holds it; holderPid() may name it
    unsupported,  // the file system offers no locks; carry on without
    missing,      // there is no file to lock (yet)
    failed,       // the file could not be opened; reason() says why
  };

  BookLock() = default;
  ~BookLock();
  BookLock(BookLock&& other) noexcept;
  BookLock& operator=(BookLock&& other) noexcept;

  // Tries to lock the book at `path`. A session lock never waits. A write
  // lock waits for another write lock (a command finishing its save) but not
  // for a session lock. A lock taken on a file that a save replaced
  // meanwhile is let go and taken again on the new file.
  static BookLock Acquire(const std::string& path, Purpose purpose);
  // Who holds the lock on the book at `path`, asked without taking it and
  // without waiting, for commands that only read: busy, with the holder as
  // Acquire would name it, when a session or a write holds it; missing when
  // none does or there is no book; failed when it cannot be opened.
  static BookLock Inquire(const std::string& path);

  Status status() const { return status_; }
  // The process holding the lock that made this one busy; 0 when unknown.
  long holderPid() const { return holderPid_; }
  // Whether that holder is the program with the book open (a session).
  bool holderIsSession() const { return holderIsSession_; }
  const std::string& reason() const { return reason_; }

  // Lets the lock go (also done by the destructor).
  void Release();

 private:
  Status status_ = Status::missing;
  long holderPid_ = 0;
  bool holderIsSession_ = false;
  std::string reason_;
  std::intptr_t handle_ = -1;  // the system's handle of the open book
};

// ---------------------------------------------------------------- who

// The name of the user this process runs as, and of the computer it runs
// on, in UTF-8, as the system knows them; empty when the system cannot say.
// They name the holder of a book to people at other desks.
std::string UserName();
std::string ComputerName();
// This process's id.
long ProcessId();

// ---------------------------------------------------------------- memory

// Bytes this process may still allocate, as well as the system can tell:
// the memory available now, within the process's own limits.
std::uint64_t AvailableMemory();

inline constexpr std::size_t kLargeBlock = std::size_t{2} << 20;

// Returns `bytes` of memory aligned to kLargeBlock, backed by huge pages
// where the system gives them and faulted in ahead of use; throws
// std::bad_alloc when none is left. Only for blocks of kLargeBlock or more.
void* AllocateLargeBlock(std::size_t bytes);
// Releases a block from AllocateLargeBlock of the same size.
void FreeLargeBlock(void* block, std::size_t bytes);

// Asks the system to back the pages inside [data, data + bytes) with huge
// pages and to fault them in now. For buffers that are about to be written
// whole; changes no contents, and does nothing where it is not supported.
void PrepareLargeBuffer(void* data, std::size_t bytes);

}  // namespace platform
