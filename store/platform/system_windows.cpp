// The steps of writes on Windows, each one system call or two. Paths reach
// Windows as UTF-16.
#include <cerrno>
#include <memory>

#include "store/platform/system.h"
#include "store/platform/windows_files.h"

namespace platform {
namespace {

int LastError() { return ErrnoOf(GetLastError()); }

class WindowsFile final : public WritableFile {
 public:
  WindowsFile(HANDLE handle, bool append) : handle_(handle), append_(append) {}

  int Write(std::string_view bytes) override {
    if (append_) {
      // This session is the journal's one writer: its end is where the last write stopped.
      const LARGE_INTEGER zero{};
      if (!SetFilePointerEx(handle_.Get(), zero, nullptr, FILE_END)) return LastError();
    }
    return WriteAll(handle_.Get(), bytes) ? 0 : LastError();
  }
  int Sync() override { return FlushFileBuffers(handle_.Get()) ? 0 : LastError(); }
  // Windows flushes a file's data and its size together.
  int SyncData() override { return Sync(); }
  int Truncate(std::uint64_t size) override {
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFilePointerEx(handle_.Get(), end, nullptr, FILE_BEGIN) ||
        !SetEndOfFile(handle_.Get())) {
      return LastError();
    }
    return 0;
  }
  // ReplaceFileW gives the new file the old one's attributes and access rights.
  int TakeAccessOf(const std::string& /*original*/) override { return 0; }
  int Close() override { return handle_.Close() ? 0 : LastError(); }

 private:
  OwnedHandle handle_;
  bool append_;
};

class WindowsSystem final : public System {
 public:
  int CreateNew(const std::string& path, unsigned /*mode*/,
                std::unique_ptr<WritableFile>& file) override {
    // CREATE_NEW fails on any name that exists; with the reparse flag a link
    // there is the name that exists, not a way to its target. A new file
    // takes the folder's access rights, as every new file there does.
    const HANDLE handle = CreateFileW(
        Wide(path).c_str(), GENERIC_WRITE | READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_DELETE,
        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastError();
    file = std::make_unique<WindowsFile>(handle, /*append=*/false);
    return 0;
  }

  int OpenToAppend(const std::string& path, std::unique_ptr<WritableFile>& file,
                   std::uint64_t& size) override {
    HANDLE handle = INVALID_HANDLE_VALUE;
    BY_HANDLE_FILE_INFORMATION info;
    if (const int why = OpenTrusted(path, GENERIC_WRITE, handle, info); why != 0) return why;
    size = static_cast<std::uint64_t>(StampFrom(info).size);
    file = std::make_unique<WindowsFile>(handle, /*append=*/true);
    return 0;
  }

  int OpenDevice(const std::string& path, std::unique_ptr<WritableFile>& file) override {
    const HANDLE handle = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastError();
    file = std::make_unique<WindowsFile>(handle, /*append=*/false);
    return 0;
  }

  int Rename(const std::string& from, const std::string& to) override {
    const std::wstring source = Wide(from);
    const std::wstring target = Wide(to);
    // ReplaceFileW keeps the old file's attributes and access rights; a
    // first file is moved into place, through to the disk.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool replacing =
        attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    const BOOL moved = replacing ? ReplaceFileW(target.c_str(), source.c_str(), nullptr,
                                                REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                                 : MoveFileExW(source.c_str(), target.c_str(),
                                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    return moved ? 0 : LastError();
  }

  int RenameWithoutReplacing(const std::string& from, const std::string& to) override {
    // Without MOVEFILE_REPLACE_EXISTING a move never replaces a file.
    if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH)) return 0;
    return LastError();
  }

  int SyncFolder(const std::string& folder) override {
    OwnedHandle handle(CreateFileW(Wide(folder).c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle.Valid()) return LastError();
    return FlushFileBuffers(handle.Get()) ? 0 : LastError();
  }

  // A copy, not a second name: a second name (a hard link) would change with
  // the file when ReplaceFileW swaps its contents.
  int KeepCopy(const std::string& path, const std::string& copy) override {
    if (CopyFileW(Wide(path).c_str(), Wide(copy).c_str(), /*bFailIfExists=*/TRUE)) return 0;
    return LastError();
  }

  int Remove(const std::string& path) override {
    if (DeleteFileW(Wide(path).c_str())) return 0;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? 0 : ErrnoOf(error);
  }
};

}  // namespace

System& RealSystem() {
  static WindowsSystem system;
  return system;
}

}  // namespace platform
