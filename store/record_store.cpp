// Loading and saving the whole book.
#include "store/record_store.h"

#include <cstdint>
#include <cstring>
#include <limits>

#include "store/book_file.h"
#include "store/record_text.h"

RecordStore::RecordStore(const char* name) {
  std::strncpy(fileName, name, sizeof fileName - 1);
  fileName[sizeof fileName - 1] = '\0';
}

void RecordStore::Load() {
  records.clear();
  loadReport_ = LoadReport{};
  std::string text;
  DecodeReport decoded;
  platform::FileStamp stamp;
  if (DecompressFromFile(fileName, text, &decoded, &stamp, announceBadChecksum_) == kDecompressCannotOpen) {
    knownStamp_ = platform::StampOf(fileName);
    loadReport_.fileFound = knownStamp_.exists;
    if (loadReport_.fileFound) {  // there, but unreadable: never replace it unseen
      loadReport_.code = LoadProblem::kUnreadable;
      loadReport_.damaged = true;
      loadReport_.systemReason = decoded.problem;
      loadReport_.problem = "cannot read: " + decoded.problem;
    }
  } else {
    knownStamp_ = stamp;
    loadReport_.code = decoded.damaged ? LoadProblem::kDamaged : LoadProblem::kNone;
    loadReport_.fileFound = true;
    loadReport_.damaged = decoded.damaged;
    loadReport_.problem = decoded.problem;
    ParseBookText(text, records);
  }
  keepBeforeReplacing_ = loadReport_.damaged;
  loadReport_.recordsRead = records.size();
}

SaveResult RecordStore::Save() {
  SaveResult result;
  const std::string text = BookText(records);
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    result.reason = "book too large for the file format";
    result.problem = SaveProblem::kTooLarge;
    return result;
  }
  if (keepBeforeReplacing_ && platform::StampOf(fileName).exists) {
    const platform::BackupResult backup = platform::KeepBackup(fileName);
    if (!backup.ok) {
      result.reason = "cannot keep the damaged file aside: " + backup.reason;
      result.problem = SaveProblem::kCannotKeepBackup;
      return result;
    }
    result.backupPath = backup.path;
  }
  keepBeforeReplacing_ = false;  // kept aside (or gone): one backup is enough
  CompressDetail detail;
  const int code = CompressToFile(text.data(), static_cast<std::int32_t>(text.size()), fileName,
                                  &detail, replaceOptions_);
  if (code != kCompressWritten) {
    result.reason = detail.reason;
    result.problem = code == kCompressCannotOpen ? SaveProblem::kCannotCreate
                     : code == kCompressTooLarge ? SaveProblem::kTooLarge
                                                 : SaveProblem::kWriteFailed;
    return result;
  }
  knownStamp_ = detail.written;
  result.ok = true;
  return result;
}

SaveResult RecordStore::SaveCopy(const std::string& path) {
  // Replacing the book under another name would skip the backup of a
  // damaged book and leave the change-on-disk check behind.
  const platform::FileStamp target = platform::StampOf(path);
  const platform::FileStamp book = platform::StampOf(fileName);
  if (target.exists && book.exists && target.volume == book.volume && target.file == book.file) {
    return Save();
  }
  SaveResult result;
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

void RecordStore::Append(const StudentRecord& record) { records.push_back(record); }

bool RecordStore::ChangedOnDisk() const { return platform::StampOf(fileName) != knownStamp_; }
