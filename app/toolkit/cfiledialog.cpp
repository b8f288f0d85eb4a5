// CFileDialog: the request for the backend, and its answer.
#include "app/toolkit/cfiledialog.h"

#include "app/toolkit/backend.h"
#include "app/toolkit/cdialog.h"
#include "text/cp1252.h"

namespace {

// "Books (*.dat)|*.dat|All files (*.*)|*.*||" as (description, patterns) pairs.
std::vector<std::pair<std::string, std::string>> ParseFilter(const char* filter) {
  std::vector<std::pair<std::string, std::string>> pairs;
  if (filter == nullptr) return pairs;
  std::vector<std::string> parts;
  std::string part;
  for (const char* c = filter; *c != '\0'; ++c) {
    if (*c == '|') {
      parts.push_back(part);
      part.clear();
    } else {
      part += *c;
    }
  }
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty()) break;  // the closing "||"
    pairs.emplace_back(parts[i], parts[i + 1]);
  }
  return pairs;
}

}  // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName,
                         UINT flags, const char* filter, CWnd* parent)
    : request_{openFileDialog != FALSE, defaultExtension ? defaultExtension : "",
               fileName ? fileName : "", flags, ParseFilter(filter)},
      parent_(parent) {}

INT_PTR CFileDialog::DoModal() {
  HWND owner = parent_ ? parent_->GetSafeHwnd() : toolkit::ActiveDialogWindow();
  std::filesystem::path chosen;
  if (!toolkit::backend::RunFileDialog(owner, request_, &chosen)) return IDCANCEL;
  path_ = std::move(chosen);
  return IDOK;
}

CString CFileDialog::GetPathName() const {
  return cp1252::FromUtf8(reinterpret_cast<const char*>(path_.u8string().c_str())).text;
}
