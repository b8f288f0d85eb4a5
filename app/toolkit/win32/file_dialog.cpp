// The system's own dialog for choosing a file, from the common dialogs.
#include "app/toolkit/win32/windows_header.h"
// (windows_header.h first: it brings <windows.h> with the program's settings.)
#include <commdlg.h>

#include <algorithm>

#include "app/toolkit/win32/native.h"
#include "app/toolkit/win32/utf16_text.h"

namespace win32 {
namespace {

std::wstring Wide(std::string_view cp1252Text) {
  const std::u16string text = ToUtf16(cp1252Text);
  return std::wstring(text.begin(), text.end());
}

}  // namespace

bool ChooseFile(Window owner, bool open, std::string_view defaultExtension,
                std::string_view fileName, unsigned flags,
                const std::vector<std::pair<std::string, std::string>>& filters,
                std::filesystem::path* chosen) {
  // "description\0patterns\0" for each filter, then one more "\0".
  std::wstring filter;
  for (const auto& [description, patterns] : filters) {
    filter += Wide(description) + L'\0' + Wide(patterns) + L'\0';
  }
  filter += L'\0';
  std::wstring name = Wide(fileName);
  name.resize(std::max<std::size_t>(name.size() + 1, 32768), L'\0');
  const std::wstring extension = Wide(defaultExtension);

  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = owner;
  request.lpstrFilter = filters.empty() ? nullptr : filter.c_str();
  request.lpstrFile = name.data();
  request.nMaxFile = static_cast<DWORD>(name.size());
  request.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  request.Flags = flags | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_EXPLORER |
                  (open ? OFN_FILEMUSTEXIST : 0);
  const BOOL picked = open ? GetOpenFileNameW(&request) : GetSaveFileNameW(&request);
  if (!picked) return false;
  *chosen = std::filesystem::path(name.c_str());
  return true;
}

}  // namespace win32
