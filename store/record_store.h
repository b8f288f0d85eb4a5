// The book in memory: every record of the data file, in file order, followed
// by the records appended since. It loads the whole book once and saves it
// whole; nothing is written in between.
#pragma once

#include <cstddef>
#include <string>

#include "store/platform/platform.h"
#include "store/student_record.h"

// Why a Save failed, for code to switch on.
enum class SaveProblem {
  kNone,
  kTooLarge,          // the book is too large for the file format; nothing written
  kCannotKeepBackup,  // the damaged file could not be kept aside; nothing written
  kCannotCreate,      // no new file could be made beside the old one; nothing changed
  kWriteFailed,       // writing, syncing or renaming failed; the old file is whole
};

// What the last Save did.
struct SaveResult {
  bool ok = false;
  SaveProblem problem = SaveProblem::kNone;
  std::string reason;      // why not, e.g. "No space left on device" (from strerror)
  std::string backupPath;  // set when a damaged file was kept aside first
};

// What kind of problem the last Load met, for code to switch on.
enum class LoadProblem {
  kNone,        // the book was read whole
  kNoFile,      // there is no data file: the book is empty
  kUnreadable,  // the file exists but could not be read (see systemReason)
  kDamaged,     // the file was read but is not a sound book (see problem)
};

// What the last Load found.
struct LoadReport {
  LoadProblem code = LoadProblem::kNoFile;
  bool fileFound = false;  // the data file exists (readable or not)
  bool damaged = false;    // it exists but could not be read whole as a book
  // The problem in words for people, e.g. "bad checksum", "payload cut short:
  // 812 of 1024 bytes", "cannot read: Permission denied". Empty when none.
  std::string problem;
  std::string systemReason;  // kUnreadable: the system's words, "Permission denied"
  std::size_t recordsRead = 0;
};

class RecordStore {
 public:
  // Copies at most 255 characters of `fileName`; records start empty.
  explicit RecordStore(const char* fileName);

  // Replaces `records` with the book in the data file. A missing file gives
  // an empty book. A file that exists but cannot be read whole (unreadable,
  // shorter than its header, failing the checksum, table or payload cut
  // short, and the like) gives what could be read of it, is marked damaged
  // in loadReport(), and is kept aside by the next Save. A failed checksum
  // also prints "Bad checksum.  Invalid format........" on standard output.
  void Load();

  // Writes the live (non-deleted) records to the data file, replacing it
  // safely: on any failure the file on disk is the one from before. When the
  // file loaded was damaged, it is first kept as "<file>.bak" (or ".bak.1"
  // and so on); if that fails nothing is written. Refuses a book too large
  // for the file format.
  SaveResult Save();

  // Writes the live records to `path` (a whole path as the system names it)
  // with the same safe replacement as Save, for a book whose own file cannot
  // be written. The data file, and what ChangedOnDisk compares it with, are
  // left as they were. When `path` is the data file itself, this is Save.
  SaveResult SaveCopy(const std::string& path);

  // Copies `record`, fields and link, to the end of `records`.
  void Append(const StudentRecord& record);

  const LoadReport& loadReport() const { return loadReport_; }

  // True when the data file's identity, size or modification time differs
  // from what the last Load read or the last Save wrote, including being
  // created or deleted since (and before any Load or Save, when it exists).
  bool ChangedOnDisk() const;

  // Whether Load prints the checksum notice on standard output (on by
  // default). The command-line tool turns it off: its standard output is data.
  void SetAnnounceBadChecksum(bool announce) { announceBadChecksum_ = announce; }

  // Whether Save syncs the file and its folder to disk (on by default).
  // Only benchmarks and tests on throwaway folders turn this off.
  void SetSyncOnSave(bool sync) { replaceOptions_.syncToDisk = sync; }

  char fileName[256];
  RecordList records;

 private:
  LoadReport loadReport_;
  platform::FileStamp knownStamp_;              // of the file as last read or written
  bool keepBeforeReplacing_ = false;  // the file on disk is a damaged one
  platform::ReplaceOptions replaceOptions_;
  bool announceBadChecksum_ = true;
};
