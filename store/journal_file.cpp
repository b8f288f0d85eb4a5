// The journal's file, through the store's platform seam.
#include "store/journal_file.h"

#include <cerrno>

#include "store/amount_words.h"
#include "store/platform/platform.h"

namespace journal {

FileSink::~FileSink() { Close(); }

void FileSink::Close() { file_.Close(); }

std::string FileSink::Start(std::string_view bytes) {
  Close();
  const int error = file_.Create(path_, bytes);
  return error == 0 ? std::string() : platform::ErrorText(error);
}

std::string FileSink::Append(std::string_view bytes) {
  const int error = file_.Append(bytes);
  return error == 0 ? std::string() : platform::ErrorText(error);
}

std::string FileSink::Continue(std::uint64_t keepBytes) {
  Close();
  const int error = file_.OpenExisting(path_, keepBytes);
  return error == 0 ? std::string() : platform::ErrorText(error);
}

Left ReadLeft(const std::string& path) {
  Left left;
  const platform::SideFile found = platform::InspectSideFile(path);
  if (found.kind == platform::FileKind::missing) return left;
  if (!found.trusted()) {
    left.status = Left::Status::planted;
    left.found = platform::Describe(found);
    return left;
  }
  // The bytes are read whole; replaying them needs more (see ReplayRefusal).
  const std::uint64_t available = platform::AvailableMemory();
  const int error = platform::ReadSideFile(path, left.bytes, available);
  if (error == 0) {
    left.status = Left::Status::read;
  } else if (error == EFBIG) {
    left.status = Left::Status::tooLarge;
    left.reason = "it is " + MemoryAmount(found.size) + ", more than the memory available";
  } else if (error == ENOENT) {
    left.status = Left::Status::none;  // gone since the look
  } else if (error == ELOOP || error == platform::kNotRegularFile || error == platform::kNotOurs) {
    // Planted between the look and the opening.
    left.status = Left::Status::planted;
    left.found = platform::Describe(platform::InspectSideFile(path));
  } else {
    left.status = Left::Status::unreadable;
    left.reason = platform::ErrorText(error);
  }
  return left;
}

std::string ReplayRefusal(const Summary& summary, const RecordList& records) {
  if (summary.recordsAfter <= records.capacity()) return {};
  // Growing copies the book into room for all of it, the old records still held.
  const std::uint64_t need =
      static_cast<std::uint64_t>(summary.recordsAfter + records.size()) * sizeof(StudentRecord);
  const std::uint64_t available = platform::AvailableMemory();
  if (need <= available) return {};
  return "its " + Grouped(summary.entries) + " changes need " + MemoryAmount(need) +
         " of memory; only " + MemoryAmount(available) + " is available";
}

std::string KeepAside(const std::string& path, std::string& reason, platform::System& system) {
  std::string aside;
  if (const int error = platform::MoveSideFileAside(path, aside, system); error != 0) {
    reason = platform::ErrorText(error);
    return {};
  }
  return aside;
}

std::string Remove(const std::string& path) {
  const int error = platform::RemoveSideFile(path);
  return error == 0 ? std::string() : platform::ErrorText(error);
}

}  // namespace journal
