// Loading and saving the whole book.
#include "store/record_store.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "store/amount_words.h"
#include "store/beside.h"
#include "store/book_file.h"
#include "store/codec/codec_buffer.h"
#include "store/record_text.h"

namespace {

constexpr char kBadChecksumMessage[] = "Bad checksum.  Invalid format........";

}  // namespace

RecordStore::RecordStore(const char* name) : path_(name) {
  std::strncpy(fileName, name, sizeof fileName - 1);
  fileName[sizeof fileName - 1] = '\0';
}

void RecordStore::Load() {
  records = RecordList();  // give the old book's memory back before reckoning
  loadReport_ = LoadReport{};
  refuseSave_ = false;
  try {
    LoadFile();
  } catch (const std::bad_alloc&) {
    records = RecordList();
    loadReport_.code = LoadProblem::kTooLarge;
    loadReport_.damaged = true;
    loadReport_.problem = std::string(fileName) + ": not enough memory to load it";
    refuseSave_ = true;
  }
  keepBeforeReplacing_ = loadReport_.damaged;
  loadReport_.recordsRead = records.size();
}

bool RecordStore::Fits(std::uint64_t need, std::uint64_t recordCount) {
  const std::uint64_t available = platform::AvailableMemory();
  if (need <= available) return true;
  loadReport_.code = LoadProblem::kTooLarge;
  loadReport_.damaged = true;
  loadReport_.problem = std::string(fileName) + " holds " + Grouped(recordCount) +
                        " records, which need " + Gigabytes(need) + " of memory; only " +
                        Gigabytes(available) + " is available";
  refuseSave_ = true;
  return false;
}

void RecordStore::LoadFile() {
  knownStamp_ = platform::StampOf(path_);
  loadReport_.fileFound = knownStamp_.exists;
  if (!loadReport_.fileFound) return;
  const platform::FileKind kind = platform::KindOf(path_);
  // A folder is refused below as unreadable, as it always was.
  if (kind != platform::FileKind::regular && kind != platform::FileKind::directory) {
    loadReport_.code = LoadProblem::kNotAFile;
    loadReport_.damaged = true;
    loadReport_.problem = std::string("not a regular file but ") + platform::Describe(kind);
    refuseSave_ = true;
    return;
  }
  // The file itself comes first; its size bounds what reading it takes.
  const auto fileBytes = static_cast<std::uint64_t>(knownStamp_.size);
  if (!Fits(fileBytes, 0)) {
    loadReport_.problem =
        std::string(fileName) + " is " + Gigabytes(fileBytes) + ", more than the memory available";
    return;
  }
  std::string file;
  platform::FileStamp stamp;
  const int error = platform::ReadWholeFile(path_, file, &stamp, {.regularOnly = true});
  if (error != 0) {  // there, but unreadable: never replace it unseen
    loadReport_.code =
        error == platform::kNotRegularFile ? LoadProblem::kNotAFile : LoadProblem::kUnreadable;
    loadReport_.damaged = true;
    loadReport_.systemReason = platform::ErrorText(error);
    loadReport_.problem = "cannot read: " + loadReport_.systemReason;
    refuseSave_ = loadReport_.code == LoadProblem::kNotAFile;
    return;
  }
  knownStamp_ = stamp;
  // Each line becomes one fixed-size record, whatever its length: a small
  // file of empty lines can ask for gigabytes.
  const TextMeasure measure = MeasureBuffer(file);
  const std::uint64_t lines = measure.lineFeeds + (measure.bytes > measure.lineFeeds ? 1 : 0);
  if (!Fits(file.size() + measure.bytes + lines * sizeof(StudentRecord), lines)) return;
  // The records' memory, the most of it, is taken and faulted in, and the
  // records the table promises are made empty, while the text is decoded.
  // Should that fail, parsing does it as it always did.
  const std::size_t room = RecordsToReserve(static_cast<std::size_t>(lines));
  Beside taking(
      [this, room, promised = static_cast<std::size_t>(measure.lineFeeds)] {
        try {
          records.reserve(room);
          records.resize(promised);
        } catch (const std::bad_alloc&) {
        } catch (const std::length_error&) {
        }
      },
      /*worthAThread=*/room >= platform::kLargeBlock / sizeof(StudentRecord));
  std::string text;
  const DecodeReport decoded = DecodeBuffer(file, text);
  if (announceBadChecksum_ && decoded.headerComplete && !decoded.checksumOk) {
    std::fputs(kBadChecksumMessage, stdout);
    std::fflush(stdout);
  }
  file = std::string();
  loadReport_.code = decoded.damaged ? LoadProblem::kDamaged : LoadProblem::kNone;
  loadReport_.damaged = decoded.damaged;
  loadReport_.problem = decoded.problem;
  taking.Wait();
  // A damaged file's table may promise far more lines than it gave.
  if (decoded.damaged) records = RecordList();
  ParseBookTextIntoEmpty(text, records);
}

SaveResult RecordStore::Save() {
  SaveResult result;
  if (refuseSave_) {
    result.reason = "the book was not loaded: " + loadReport_.problem;
    return result;
  }
  const platform::FileKind kind = platform::KindOf(path_);
  if (kind != platform::FileKind::regular && kind != platform::FileKind::missing) {
    result.reason = std::string("not a regular file but ") + platform::Describe(kind);
    return result;
  }
  const std::string text = BookText(records);
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    result.reason = "book too large for the file format";
    result.problem = SaveProblem::kTooLarge;
    return result;
  }
  // Under the lock no other save of this book runs: what such saves left is
  // debris of killed ones.
  if (lock_.status() == platform::BookLock::Status::held) platform::RemoveLeftoverTemps(path_);
  if (keepBeforeReplacing_ && platform::StampOf(path_).exists) {
    const platform::BackupResult backup = platform::KeepBackup(path_);
    if (!backup.ok) {
      result.reason = "cannot keep the damaged file aside: " + backup.reason;
      result.problem = SaveProblem::kCannotKeepBackup;
      return result;
    }
    result.backupPath = backup.path;
  }
  keepBeforeReplacing_ = false;  // kept aside (or gone): one backup is enough
  CompressDetail detail;
  platform::ReplaceOptions options = replaceOptions_;
  options.onlyIfAbsent = lock_.status() == platform::BookLock::Status::missing && lockedNothing_;
  const int code =
      CompressToFile(text.data(), static_cast<std::int32_t>(text.size()), path_, &detail, options);
  if (code == kCompressAppeared) {
    result.appeared = true;
    result.reason = "another program created the book meanwhile";
    return result;
  }
  if (code != kCompressWritten) {
    result.reason = detail.reason;
    result.problem = code == kCompressCannotOpen ? SaveProblem::kCannotCreate
                     : code == kCompressTooLarge ? SaveProblem::kTooLarge
                                                 : SaveProblem::kWriteFailed;
    return result;
  }
  knownStamp_ = detail.written;
  lockedNothing_ = false;  // the book is ours now
  result.ok = true;
  return result;
}

SaveResult RecordStore::SaveCopy(const std::string& path) {
  // Replacing the book under another name would skip the backup of a
  // damaged book and leave the change-on-disk check behind.
  const platform::FileStamp target = platform::StampOf(path);
  const platform::FileStamp book = platform::StampOf(path_);
  if (target.exists && book.exists && target.volume == book.volume && target.file == book.file) {
    return Save();
  }
  SaveResult result;
  if (refuseSave_) {  // what is in memory is not the book
    result.reason = "the book was not loaded: " + loadReport_.problem;
    return result;
  }
  const std::string text = BookText(records);
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    result.reason = "book too large for the file format";
    return result;
  }
  CompressDetail detail;
  result.ok = CompressToFile(text.data(), static_cast<std::int32_t>(text.size()), path, &detail,
                             replaceOptions_) == kCompressWritten;
  result.reason = detail.reason;
  return result;
}

const platform::BookLock& RecordStore::Lock(platform::BookLock::Purpose purpose) {
  claim_.Withdraw();
  lock_.Release();  // a second lock of this store's own would wait for the first
  lock_ = platform::BookLock::Acquire(path_, purpose);
  if (lock_.status() == platform::BookLock::Status::held) claim_.Put(path_);
  // A command creating the book must not replace one another command created
  // meanwhile. The program asks its user instead (ChangedOnDisk).
  lockedNothing_ = purpose == platform::BookLock::Purpose::write &&
                   lock_.status() == platform::BookLock::Status::missing;
  return lock_;
}

void RecordStore::Unlock() {
  claim_.Withdraw();
  lock_.Release();
  lockedNothing_ = false;
}

void RecordStore::Append(const StudentRecord& record) { records.push_back(record); }

bool RecordStore::ChangedOnDisk() const { return platform::StampOf(path_) != knownStamp_; }
