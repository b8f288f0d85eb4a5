// Loading and saving the whole book.
#include "store/record_store.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <utility>

#include "store/amount_words.h"
#include "store/beside.h"
#include "store/book_file.h"
#include "store/codec/codec_buffer.h"
#include "store/record_text.h"

namespace {

constexpr char kBadChecksumMessage[] = "Bad checksum.  Invalid format........";

}  // namespace

RecordStore::RecordStore(const char* name, platform::System& system)
    : path_(name), system_(&system) {
  replaceOptions_.system = system_;
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
    loadReport_.problem = LoadProblem::kTooLarge;
    loadReport_.damaged = true;
    loadReport_.reason = std::string(fileName) + ": not enough memory to load it";
    refuseSave_ = true;
  }
  keepBeforeReplacing_ = loadReport_.damaged;
  loadReport_.recordsRead = records.size();
}

bool RecordStore::Fits(std::uint64_t need, std::uint64_t recordCount) {
  const std::uint64_t available = platform::AvailableMemory();
  if (need <= available) return true;
  loadReport_.problem = LoadProblem::kTooLarge;
  loadReport_.damaged = true;
  loadReport_.reason = std::string(fileName) + " holds " + Grouped(recordCount) +
                       " records, which need " + MemoryAmount(need) + " of memory; only " +
                       MemoryAmount(available) + " is available";
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
    loadReport_.problem = LoadProblem::kNotAFile;
    loadReport_.damaged = true;
    loadReport_.reason = std::string("not a regular file but ") + platform::Describe(kind);
    refuseSave_ = true;
    return;
  }
  // The file itself comes first; its size bounds what reading it takes.
  const auto fileBytes = static_cast<std::uint64_t>(knownStamp_.size);
  if (!Fits(fileBytes, 0)) {
    loadReport_.reason =
        std::string(fileName) + " is " + MemoryAmount(fileBytes) + ", more than the memory available";
    return;
  }
  std::string file;
  platform::FileStamp stamp;
  const int error = platform::ReadWholeFile(path_, file, &stamp, {.regularOnly = true});
  if (error != 0) {  // there, but unreadable: never replace it unseen
    loadReport_.problem =
        error == platform::kNotRegularFile ? LoadProblem::kNotAFile : LoadProblem::kUnreadable;
    loadReport_.damaged = true;
    loadReport_.systemReason = platform::ErrorText(error);
    loadReport_.reason = "cannot read: " + loadReport_.systemReason;
    refuseSave_ = loadReport_.problem == LoadProblem::kNotAFile;
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
  loadReport_.problem = decoded.damaged ? LoadProblem::kDamaged : LoadProblem::kNone;
  loadReport_.damaged = decoded.damaged;
  loadReport_.reason = decoded.problem;
  taking.Wait();
  // A damaged file's table may promise far more lines than it gave.
  if (decoded.damaged) records = RecordList();
  ParseBookTextIntoEmpty(text, records);
}

namespace {

SaveResult Refused(SaveProblem problem, std::string reason) {
  SaveResult result;
  result.problem = problem;
  result.reason = std::move(reason);
  return result;
}

}  // namespace

SaveResult RecordStore::Save() {
  if (refuseSave_) {
    return Refused(SaveProblem::kNotLoaded, "the book was not loaded: " + loadReport_.reason);
  }
  const platform::FileKind kind = platform::KindOf(path_);
  if (kind != platform::FileKind::regular && kind != platform::FileKind::missing) {
    return Refused(SaveProblem::kNotAFile,
                   std::string("not a regular file but ") + platform::Describe(kind));
  }
  const std::string text = BookText(records);
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return Refused(SaveProblem::kTooLarge, "book too large for the file format");
  }
  // Under the lock no other save of this book runs: what such saves left is
  // debris of killed ones.
  if (lock_.status() == platform::BookLock::Status::held) platform::RemoveLeftoverTemps(path_);
  std::string backupPath;
  if (keepBeforeReplacing_ && platform::StampOf(path_).exists) {
    const platform::BackupResult backup = platform::KeepBackup(path_, *system_);
    if (!backup.ok) {
      return Refused(SaveProblem::kCannotKeepBackup,
                     "cannot keep the damaged file aside: " + backup.reason);
    }
    backupPath = backup.path;
  }
  keepBeforeReplacing_ = false;  // kept aside (or gone): one backup is enough
  platform::ReplaceOptions options = replaceOptions_;
  options.onlyIfAbsent = lock_.status() == platform::BookLock::Status::missing && lockedNothing_;
  SaveResult result =
      CompressToFile(text.data(), static_cast<std::int32_t>(text.size()), path_, options);
  result.backupPath = std::move(backupPath);
  if (result.problem == SaveProblem::kAppeared) {
    result.reason = "another program created the book meanwhile";
  }
  if (!result.ok()) return result;
  knownStamp_ = result.written;
  lockedNothing_ = false;  // the book is ours now
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
  if (refuseSave_) {  // what is in memory is not the book
    return Refused(SaveProblem::kNotLoaded, "the book was not loaded: " + loadReport_.reason);
  }
  const std::string text = BookText(records);
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return Refused(SaveProblem::kTooLarge, "book too large for the file format");
  }
  return CompressToFile(text.data(), static_cast<std::int32_t>(text.size()), path, replaceOptions_);
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
