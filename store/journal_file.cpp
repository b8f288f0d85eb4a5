// The journal's file, through the store's platform seam.
#include "store/journal_file.h"

#include <cerrno>

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

std::string KeepAside(const std::string& path, std::string& reason) {
  int error = EEXIST;
  for (int n = 1; n < 1000 && error == EEXIST; ++n) {
    const std::string aside = path + "." + std::to_string(n);
    error = platform::RenameWithoutReplacing(path, aside);
    if (error == 0) return aside;
  }
  reason = platform::ErrorText(error);
  return {};
}

std::string Remove(const std::string& path) {
  const int error = platform::RemoveFile(path);
  return error == 0 ? std::string() : platform::ErrorText(error);
}

}  // namespace journal
