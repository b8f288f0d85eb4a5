// How a file comes to hold new bytes without a crash ever leaving a mixture,
// written once for every system: the steps a save, a new side file and the
// journal take, in their order, through a System. Each system's file only
// says how one step is made.
#include <cerrno>
#include <memory>
#include <string>
#include <string_view>

#include "store/platform/platform.h"
#include "store/platform/system.h"
#include "store/platform/system_steps.h"

namespace platform {
namespace {

SaveResult Failed(SaveProblem problem, int error) {
  SaveResult result;
  result.problem = problem;
  result.reason = ErrorText(error);
  return result;
}

// Lets a file go after a failed step; the step's error is the one told.
void Abandon(std::unique_ptr<WritableFile>& file) {
  if (file != nullptr) file->Close();
  file.reset();
}

// A FIFO or a device is the user's own choice of destination: it gets the
// bytes as they are, and nothing is renamed over it.
SaveResult WriteStraight(System& system, const std::string& path, std::string_view bytes) {
  std::unique_ptr<WritableFile> file;
  if (const int error = system.OpenDevice(path, file); error != 0) {
    return Failed(SaveProblem::kCannotCreate, error);
  }
  int error = file->Write(bytes);
  const int closed = file->Close();
  if (error == 0) error = closed;
  if (error != 0) return Failed(SaveProblem::kWriteFailed, error);
  return SaveResult{};
}

// Creates the side file `path` holding `bytes` on disk, name and all, and
// leaves it open in `file`; on failure nothing is left at `path`.
int CreateSynced(System& system, const std::string& path, std::string_view bytes, unsigned mode,
                 std::unique_ptr<WritableFile>& file) {
  if (const int error = system.CreateNew(path, mode, file); error != 0) return error;
  int error = file->Write(bytes);
  if (error == 0) error = file->Sync();
  if (error != 0) {
    Abandon(file);
    system.Remove(path);
    return error;
  }
  // The new name durable too; a folder that cannot be synced (some file
  // systems refuse) leaves the file merely less durable, so this is no failure.
  system.SyncFolder(FolderOf(path));
  return 0;
}

}  // namespace

SaveResult ReplaceFile(const std::string& path, std::string_view bytes,
                       const ReplaceOptions& options) {
  System& system = options.system != nullptr ? *options.system : RealSystem();
  // A book reached through a symbolic link is replaced where it really lives;
  // renaming over the link itself would leave the real book behind, unchanged.
  const std::string target = SaveTarget(path);
  const FileKind kind = KindOf(target);
  if (kind != FileKind::missing && options.onlyIfAbsent) {
    return Failed(SaveProblem::kAppeared, EEXIST);
  }
  if (kind == FileKind::directory) return Failed(SaveProblem::kCannotCreate, EISDIR);
  if (kind == FileKind::fifo || kind == FileKind::device)
    return WriteStraight(system, target, bytes);

  // A new name only: never opens what another has put there. A new book
  // holds personal data, so it is its owner's alone.
  std::string temp;
  std::unique_ptr<WritableFile> file;
  int error = EEXIST;
  for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
    temp = TemporaryNameFor(target);
    error = system.CreateNew(temp, kOwnerOnly, file);
  }
  if (error != 0) return Failed(SaveProblem::kCannotCreate, error);

  // The old file is whole until the rename; any step failing before it
  // leaves it so, and takes the temporary file away.
  auto fail = [&](int why) {
    Abandon(file);
    system.Remove(temp);
    return Failed(SaveProblem::kWriteFailed, why);
  };
  if (kind == FileKind::regular && (error = file->TakeAccessOf(target)) != 0) return fail(error);
  if ((error = file->Write(bytes)) != 0) return fail(error);
  if (options.syncToDisk && (error = file->Sync()) != 0) return fail(error);
  error = file->Close();
  file.reset();
  if (error != 0) return fail(error);

  if (options.onlyIfAbsent) {
    // Takes the name only while it is free, in one step.
    if ((error = system.RenameWithoutReplacing(temp, target)) != 0) {
      system.Remove(temp);
      return Failed(error == EEXIST ? SaveProblem::kAppeared : SaveProblem::kWriteFailed, error);
    }
  } else if ((error = system.Rename(temp, target)) != 0) {
    return fail(error);
  }
  // The new file is in place; its name becomes durable with its folder.
  if (options.syncToDisk) system.SyncFolder(FolderOf(target));
  SaveResult result;
  result.written = StampOf(target);
  return result;
}

int CreateSideFile(const std::string& path, std::string_view bytes, unsigned mode, System& system) {
  std::unique_ptr<WritableFile> file;
  if (const int error = CreateSynced(system, path, bytes, mode, file); error != 0) return error;
  if (const int error = file->Close(); error != 0) {
    system.Remove(path);
    return error;
  }
  return 0;
}

AppendFile::AppendFile(System& system) : system_(&system) {}

AppendFile::~AppendFile() { Close(); }

int AppendFile::Create(const std::string& path, std::string_view bytes) {
  Close();
  return CreateSynced(*system_, path, bytes, kOwnerOnly, file_);
}

int AppendFile::OpenExisting(const std::string& path, std::uint64_t keepBytes) {
  Close();
  std::uint64_t size = 0;
  if (const int error = system_->OpenToAppend(path, file_, size); error != 0) return error;
  if (size != keepBytes) {
    int error = file_->Truncate(keepBytes);
    if (error == 0) error = file_->SyncData();
    if (error != 0) {
      Close();
      return error;
    }
  }
  return 0;
}

int AppendFile::Append(std::string_view bytes) {
  if (file_ == nullptr) return EBADF;
  if (const int error = file_->Write(bytes); error != 0) return error;
  // The data, and the size that makes it readable; not the times.
  return file_->SyncData();
}

void AppendFile::Close() { Abandon(file_); }

int MoveSideFileAside(const std::string& path, std::string& movedTo, System& system) {
  int error = EEXIST;
  for (int n = 1; n < 1000 && error == EEXIST; ++n) {
    const std::string aside = path + "." + std::to_string(n);
    error = system.RenameWithoutReplacing(path, aside);
    if (error == 0) movedTo = aside;
  }
  return error;
}

BackupResult KeepBackup(const std::string& path, System& system) {
  constexpr int kMaxBackups = 1000;
  BackupResult result;
  for (int n = 0; n < kMaxBackups; ++n) {
    std::string candidate = path + ".bak";
    if (n > 0) candidate.append(".").append(std::to_string(n));
    const int error = system.KeepCopy(path, candidate);
    if (error == EEXIST) continue;  // taken, by a backup or by anything else: the next name
    if (error != 0) {
      result.reason = ErrorText(error);
      return result;
    }
    result.ok = true;
    result.path = candidate;
    return result;
  }
  result.reason = "too many backups already";
  return result;
}

}  // namespace platform
