// The store's one door to the operating system: every call that touches
// files, locks or memory pages goes through these functions, so that the
// rest of the store (and the codec below it) is the same on every platform.
//
// What is the same on every system is written once (platform_common.cpp,
// and durable_writes.cpp for the order of a save's steps, which it takes
// through a System: system.h); each system's files beside it (*_posix.cpp
// and *_linux.cpp, or *_windows.cpp) only call the system, and CMake
// compiles one set of them.
// Paths are UTF-8 byte strings as the rest of the program holds them; an
// implementation converts them where its system wants another form. Every
// function reports failure as an errno value or in words from the system
// ("No space left on device"); none throws except the allocator, which
// throws std::bad_alloc like operator new.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/platform/system.h"

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

// What kind of thing a path names. KindOf follows links and never says
// link; InspectSideFile does not follow them.
enum class FileKind { missing, regular, directory, fifo, device, link, other };
FileKind KindOf(const std::string& path);

// Words for a kind that is not a regular file: "a directory", "a FIFO"...
const char* Describe(FileKind kind);

// errno-style value returned for a book that is no regular file.
inline constexpr int kNotRegularFile = -1;

// errno-style value returned for input longer than ReadOptions::limit.
inline constexpr int kPastLimit = -3;

struct ReadOptions {
  // Refuse anything but a regular file with kNotRegularFile, without ever
  // blocking on a FIFO or reading an endless device.
  bool regularOnly = false;
  // Stop reading past this many bytes with kPastLimit (bytes then hold the
  // first `limit`): a pipe or a device may never end.
  std::size_t limit = SIZE_MAX;
};

// Replaces `bytes` with the contents of `path`. Returns 0, or the errno
// value of the failure (bytes then hold what was read, if anything), or
// kNotRegularFile, or kPastLimit. Fills `stamp`, when given, from the open
// file.
int ReadWholeFile(const std::string& path, std::string& bytes, FileStamp* stamp = nullptr,
                  const ReadOptions& options = {});

// Replaces `bytes` with all of standard input, as ReadWholeFile does for a
// path: in one piece when it is a file whose size is known; from a pipe into
// one buffer that grows where it lies, when `limit` is given, rather than
// being copied at every growth.
int ReadStandardInput(std::string& bytes, const ReadOptions& options = {});

// The system's words for an error value from these functions.
std::string ErrorText(int error);

// ---------------------------------------------------------------- writing

struct ReplaceOptions {
  // Flush the new file to disk before it takes the old one's place, and the
  // folder after. Only benchmarks and throwaway test folders turn this off.
  bool syncToDisk = true;
  // Refuse, with kAppeared, when a file has come to be at `path` since the
  // caller found none: two writers creating the same book must not
  // silently replace each other.
  bool onlyIfAbsent = false;
  // Where the steps are taken; the real system when null.
  System* system = nullptr;
};

// Why writing a file failed. One name for each meaning, from the system's
// step up to the book's Save, which adds the first three.
enum class SaveProblem {
  kNone,
  kNotLoaded,         // the book was refused unread: what is in memory is not the book
  kNotAFile,          // the book's path names a FIFO, device or folder: never replaced
  kTooLarge,          // too large for the file format; nothing written
  kCannotKeepBackup,  // the damaged file could not be kept aside; nothing written
  kCannotCreate,      // no new file could be made beside the old one; nothing changed
  kWriteFailed,       // writing, syncing or renaming failed; the old file is whole
  kAppeared,          // onlyIfAbsent, and another file is there now; nothing changed
};

// What writing a file came to: the same result from ReplaceFile up to the
// book's Save, so nothing is lost in translation on the way.
struct SaveResult {
  SaveProblem problem = SaveProblem::kNone;
  std::string reason;      // why not, in the system's words ("No space left on device")
  FileStamp written;       // the new file's stamp, when ok
  std::string backupPath;  // Save: where a damaged book was kept before it was replaced

  bool ok() const { return problem == SaveProblem::kNone; }
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
SaveResult ReplaceFile(const std::string& path, std::string_view bytes,
                       const ReplaceOptions& options = {});

// Part of every temporary file's name, between the book's own name and a
// random suffix: "phone.dat.kestrel-save-Ab12Cd". A save killed half way
// leaves such a file; nothing else is ever named so.
inline constexpr char kTempMarker[] = ".kestrel-save-";
inline constexpr int kTempSuffixLength = 6;  // the random suffix's letters

// Removes the temporary files that saves of `path` left behind when they
// were killed: regular files of ours with such a name; anything else planted
// under one stays as it is. Call only while holding the book's write lock,
// so that no save of this book is running. Returns how many were removed.
int RemoveLeftoverTemps(const std::string& path);

// ---------------------------------------------------------------- appending

// A side file (see below) kept open for adding bytes at its end, each
// addition on disk before the call returns: the session journal.
class AppendFile {
 public:
  explicit AppendFile(System& system = RealSystem());
  ~AppendFile();
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  // Creates the side file `path` as CreateSideFile does (readable and
  // writable by its owner alone), holding `bytes`, and keeps it open,
  // letting go of any file open before. Returns 0, EEXIST when anything has
  // that name, or the errno value; on failure no file is left.
  int Create(const std::string& path, std::string_view bytes);
  // Opens the existing side file `path` when it is trusted (a regular file
  // of ours, reached without following a link) and cuts it to its first
  // `keepBytes` bytes, synced, letting go of any file open before. Returns
  // 0, or the value ReadSideFile would give for what is there.
  int OpenExisting(const std::string& path, std::uint64_t keepBytes);
  // Writes all of `bytes` at the end and syncs the file's data. Returns 0 or
  // the errno value (EBADF when no file is open).
  int Append(std::string_view bytes);
  // Lets the file go; it stays on disk.
  void Close();

 private:
  System* system_;
  std::unique_ptr<WritableFile> file_;
};

// ---------------------------------------------------------------- side files

// The files kept beside the book: the journal and the journals kept aside,
// the backups, a save's temporary files and the lock's holder file. Anyone
// who may write the book's folder can plant something under such a name: a
// link to the book or to another file, a FIFO, a device, a folder, a file of
// another user. So a side file is reached by its name alone, never through a
// link (O_NOFOLLOW here; FILE_FLAG_OPEN_REPARSE_POINT and a look at the
// attributes on Windows); a new one is only ever created where nothing has
// the name (O_CREAT|O_EXCL, CREATE_NEW); and only a regular file owned by the
// user running the program is read, written, cut or removed. Anything else
// at the name is left alone, or moved aside under a new name.

// Permission bits of a new side file where the system has them: its owner
// alone, since side files hold the book's personal data; the lock's holder
// file, which names only its holder, is readable by the folder's users.
// Windows gives a new file the folder's access rights and ignores these.
inline constexpr unsigned kOwnerOnly = 0600;
inline constexpr unsigned kReadableByAll = 0644;

// errno-style value for a side file owned by another user.
inline constexpr int kNotOurs = -2;

// What is at a side file's name, a link there not followed.
struct SideFile {
  FileKind kind = FileKind::missing;  // link: a symbolic link or another reparse point
  bool ours = false;                  // owned by the user running the program
  std::uint64_t size = 0;             // in bytes, for a regular file
  FileStamp stamp;                    // of the name itself (the link, for a link)

  // The only kind of side file that is ever read, written, cut or removed.
  bool trusted() const { return kind == FileKind::regular && ours; }
};

// Looks at `path` without opening it and without following a link there.
SideFile InspectSideFile(const std::string& path);

// Words for what InspectSideFile found, for people: "a symbolic link",
// "a FIFO", "a device", "a directory", "another user's file", "a regular
// file", "missing".
std::string Describe(const SideFile& found);

// Creates the side file `path` with permission bits `mode` (whatever the
// umask), writes all of `bytes`, and syncs the file and its folder. Fails
// with EEXIST when anything at all has the name, a dangling link included;
// never writes through a link. Returns 0 or the errno value; on failure no
// file is left behind. This is how every new side file comes to be; the
// book's ReplaceFile is never used for one.
int CreateSideFile(const std::string& path, std::string_view bytes, unsigned mode = kOwnerOnly,
                   System& system = RealSystem());

// Replaces `bytes` with the contents of the side file `path`, when it is
// trusted and holds at most `maxBytes` bytes; never follows a link, never
// blocks on a FIFO and never reads a device. Returns 0; ENOENT when there is
// none; ELOOP for a link; kNotRegularFile for a FIFO, device or folder;
// kNotOurs; EFBIG when larger than `maxBytes` (bytes then empty, nothing
// read); or the errno value of a failed read. The size is checked on the
// open file, so what is read is what was checked.
int ReadSideFile(const std::string& path, std::string& bytes, std::uint64_t maxBytes);

// Renames whatever is at `path`, the name itself and never the target of a
// link, to the first free "<path>.1", "<path>.2", ..., never replacing
// anything. Returns 0 with `movedTo` set, or the errno value.
int MoveSideFileAside(const std::string& path, std::string& movedTo,
                      System& system = RealSystem());

// Removes the side file `path` when it is trusted. Returns 0, also when there
// was none; for anything else at the name, which stays, the value
// ReadSideFile would give; or the errno value.
int RemoveSideFile(const std::string& path);

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
BackupResult KeepBackup(const std::string& path, System& system = RealSystem());

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
  // One try, in each system's file: opens the book and tries its lock once
  // without waiting, filling status_, handle_, the holder and reason_.
  // Returns false when the lock was taken on a file that a save has since
  // replaced: it is let go, and the caller tries again on the new file.
  bool TryOnce(const std::string& path, Purpose purpose);

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

// ---------------------------------------------------------------- locale

// The paper the user's locale prints on: US Letter where it says so (its
// paper size here, its measurement system on Windows), else A4.
enum class LocalePaper { a4, letter };
LocalePaper PaperOfLocale();

}  // namespace platform
