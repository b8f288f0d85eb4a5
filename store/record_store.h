// The book in memory: every record of the data file, in file order, followed
// by the records appended since. It loads the whole book once and saves it
// whole; nothing is written in between.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "store/lock_file.h"
#include "store/platform/platform.h"
#include "store/student_record.h"

// What a Save came to: the platform's result of replacing the file, with
// the refusals of the book itself (platform.h).
using platform::SaveProblem;
using platform::SaveResult;

// What kind of problem the last Load met, for code to switch on.
enum class LoadProblem {
  kNone,        // the book was read whole
  kNoFile,      // there is no data file: the book is empty
  kUnreadable,  // the file exists but could not be read (see systemReason)
  kDamaged,     // the file was read but is not a sound book (see problem)
  kNotAFile,    // the path names a FIFO, device or folder: never read, never replaced
  kTooLarge,    // the book needs more memory than there is (see problem); left unread
};

// What the last Load found.
struct LoadReport {
  LoadProblem problem = LoadProblem::kNoFile;
  bool fileFound = false;  // the data file exists (readable or not)
  bool damaged = false;    // it exists but could not be read whole as a book
  // The problem in words for people, e.g. "bad checksum", "payload cut short:
  // 812 of 1024 bytes", "cannot read: Permission denied". Empty when none.
  std::string reason;
  std::string systemReason;  // kUnreadable: the system's words, "Permission denied"
  std::size_t recordsRead = 0;
};

class RecordStore {
 public:
  // Keeps the whole path `fileName` for every file operation, and at most
  // 255 characters of it as the display name `fileName`; records start empty.
  // Saves, and the backups of damaged books, take their steps through
  // `system`.
  explicit RecordStore(const char* fileName, platform::System& system = platform::RealSystem());

  // Replaces `records` with the book in the data file. A missing file gives
  // an empty book. A file that exists but cannot be read whole (unreadable,
  // shorter than its header, failing the checksum, table or payload cut
  // short, and the like) gives what could be read of it, is marked damaged
  // in loadReport(), and is kept aside by the next Save. A failed checksum
  // also prints "Bad checksum.  Invalid format........" on standard output.
  // Only a regular file is read: anything else is refused at once, unopened
  // for reading (kNotAFile). Before allocating, the book's need of memory is
  // reckoned from the file's table; a book that cannot fit is refused whole
  // (kTooLarge, records empty), as is one whose allocation fails. Save
  // refuses to write after either refusal.
  void Load();

  // Writes the live (non-deleted) records to the data file, replacing it
  // safely: on any failure the file on disk is the one from before. When the
  // file loaded was damaged, it is first kept as "<file>.bak" (or ".bak.1"
  // and so on); if that fails nothing is written. Refuses a book too large
  // for the file format, and a data file that is no regular file. Every
  // failure sets the result's problem, with the system's words where it
  // gave any. While this store holds the book's lock, it first removes the
  // temporary files that killed saves of this book left behind.
  SaveResult Save();

  // Writes the live records to `path` (a whole path as the system names it)
  // with the same safe replacement as Save, for a book whose own file cannot
  // be written. The data file, and what ChangedOnDisk compares it with, are
  // left as they were. When `path` is the data file itself, this is Save.
  // Like Save, refuses a book that Load refused to read. Sets no backupPath.
  SaveResult SaveCopy(const std::string& path);

  // Locks the book's file for this store (see platform::BookLock); the lock
  // lasts until Unlock or the store's end. Locking a book that does not exist
  // yet gives status missing, and the next Save then creates the book only
  // if no other writer has created it meanwhile (SaveProblem::kAppeared).
  // While the lock is held, the lock file beside the book names this
  // process to other desks (see lock_file.h); it goes before the lock does.
  const platform::BookLock& Lock(platform::BookLock::Purpose purpose);
  void Unlock();
  const platform::BookLock& lock() const { return lock_; }

  // Copies `record`, fields and link, to the end of `records`.
  void Append(const StudentRecord& record);

  const LoadReport& loadReport() const { return loadReport_; }

  // True when the data file's identity, size or modification time differs
  // from what the last Load read or the last Save wrote, including being
  // created or deleted since (and before any Load or Save, when it exists).
  bool ChangedOnDisk() const;
  // The data file's stamp as the last Load read it or the last Save wrote it.
  const platform::FileStamp& knownStamp() const { return knownStamp_; }

  // Whether Load prints the checksum notice on standard output (on by
  // default). The command-line tool turns it off: its standard output is data.
  void SetAnnounceBadChecksum(bool announce) { announceBadChecksum_ = announce; }

  // Whether Save syncs the file and its folder to disk (on by default).
  // Only benchmarks and tests on throwaway folders turn this off.
  void SetSyncOnSave(bool sync) { replaceOptions_.syncToDisk = sync; }

  // The whole path given at construction.
  const std::string& path() const { return path_; }

  char fileName[256];  // for display: at most 255 characters of the path
  RecordList records;

 private:
  void LoadFile();
  // Refuses the load with kTooLarge when `need` bytes exceed what is available.
  bool Fits(std::uint64_t need, std::uint64_t recordCount);

  std::string path_;
  platform::System* system_;
  platform::BookLock lock_;
  lock_file::Claim claim_;  // after lock_: destroyed, and so removed, before the lock goes
  bool lockedNothing_ = false;  // Lock found no book: create it only where none is
  bool refuseSave_ = false;     // the file was refused unread: never replace it
  LoadReport loadReport_;
  platform::FileStamp knownStamp_;    // of the file as last read or written
  bool keepBeforeReplacing_ = false;  // the file on disk is a damaged one
  platform::ReplaceOptions replaceOptions_;
  bool announceBadChecksum_ = true;
};
