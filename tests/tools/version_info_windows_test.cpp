// kestrel-book.exe carries the project's version where Windows shows it
// (Properties > Details), the same as --version prints.
#include <gtest/gtest.h>
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

TEST(VersionInfo, TheExecutableNamesTheProjectVersion) {
  const std::wstring program = Wide(KESTREL_BOOK);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(program.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no VERSIONINFO in " << KESTREL_BOOK;
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, size, info.data()));
  for (const wchar_t* field : {L"FileVersion", L"ProductVersion"}) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + field;
    ASSERT_TRUE(VerQueryValueW(info.data(), path.c_str(), &value, &length));
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(value)), Wide(KESTREL_VERSION));
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  const std::wstring numbers = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                               std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                               std::to_wstring(HIWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(numbers, Wide(KESTREL_VERSION));
}

}  // namespace
