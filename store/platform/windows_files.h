// Small pieces that the Windows implementation of the platform shares between
// its files: UTF-16 paths, error values, stamps and owned handles.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// The platform's own ReplaceFile, not the macro for ReplaceFileA/W.
#undef ReplaceFile

#include <string>
#include <string_view>

#include "store/platform/platform.h"

namespace platform {

// `path` for the system's wide calls: UTF-8 as the program holds paths, or
// the ANSI code page for bytes that are no UTF-8 (a command line's).
std::wstring Wide(const std::string& path);
std::string Narrow(const std::wstring& path);  // UTF-8

// The errno value nearest to a Windows error, so ErrorText words it as on Linux.
int ErrnoOf(DWORD error);

FileStamp StampFrom(const BY_HANDLE_FILE_INFORMATION& info);

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens `path` to read it or ask about it; a folder opens too, so that it
// can be told apart.
HANDLE OpenForReading(const std::wstring& path);

// Writes all of `bytes`; false with GetLastError set on failure
// (ERROR_DISK_FULL when the system takes nothing and reports no error).
bool WriteAll(HANDLE file, std::string_view bytes);

// Opens the side file `path` with `access` when it is trusted: a regular
// file of the user's, the name itself and never a reparse point's target.
// Returns 0 with `handle` open and `info` describing it, or why not as
// ReadSideFile gives it.
int OpenTrusted(const std::string& path, DWORD access, HANDLE& handle,
                BY_HANDLE_FILE_INFORMATION& info);

class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~OwnedHandle() { Close(); }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }
  // Hands the handle on, no longer closed here.
  HANDLE Release() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle;
  }
  bool Close() {
    if (!Valid()) return true;
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

}  // namespace platform
