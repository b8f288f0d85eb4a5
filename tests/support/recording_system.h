// A System for tests: takes every step on the real system, writes down each
// one as "<step> <file name>", and fails the one a test chooses, so that a
// test can see a save sync its file before the rename, or make the third
// write of a journal fail with a full disk.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/platform/platform.h"
#include "store/platform/system.h"

class RecordingSystem final : public platform::System {
 public:
  // Fails the `nth` (1 for the next) `step` from now with `error`, without
  // taking it. `step` is a name as written down: "create", "write", "sync",
  // "sync-data", "truncate", "take-access", "close", "rename", "rename-new",
  // "sync-folder", "keep-copy", "remove", "open-to-append", "open-device".
  void Fail(const std::string& step, int nth, int error) {
    failures_[step] = {seen_[step] + nth, error};
  }

  // The steps taken, in order; a failed one ends in " failed". A save's
  // temporary file is named "<book>.kestrel-save-XXXXXX", a folder by its
  // last part.
  const std::vector<std::string>& steps() const { return steps_; }
  void Forget() { steps_.clear(); }

  int CreateNew(const std::string& path, unsigned mode,
                std::unique_ptr<platform::WritableFile>& file) override {
    return Opened("create", path, file, [&] { return real_.CreateNew(path, mode, file); });
  }
  int OpenToAppend(const std::string& path, std::unique_ptr<platform::WritableFile>& file,
                   std::uint64_t& size) override {
    return Opened("open-to-append", path, file,
                  [&] { return real_.OpenToAppend(path, file, size); });
  }
  int OpenDevice(const std::string& path, std::unique_ptr<platform::WritableFile>& file) override {
    return Opened("open-device", path, file, [&] { return real_.OpenDevice(path, file); });
  }
  int Rename(const std::string& from, const std::string& to) override {
    return Step("rename", Name(from) + " " + Name(to), [&] { return real_.Rename(from, to); });
  }
  int RenameWithoutReplacing(const std::string& from, const std::string& to) override {
    return Step("rename-new", Name(from) + " " + Name(to),
                [&] { return real_.RenameWithoutReplacing(from, to); });
  }
  int SyncFolder(const std::string& folder) override {
    return Step("sync-folder", Name(folder), [&] { return real_.SyncFolder(folder); });
  }
  int KeepCopy(const std::string& path, const std::string& copy) override {
    return Step("keep-copy", Name(path) + " " + Name(copy),
                [&] { return real_.KeepCopy(path, copy); });
  }
  int Remove(const std::string& path) override {
    return Step("remove", Name(path), [&] { return real_.Remove(path); });
  }

  // The last part of `path`, a save's random suffix masked.
  static std::string Name(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t marker = name.find(platform::kTempMarker);
    if (marker != std::string::npos) {
      name.replace(marker + sizeof platform::kTempMarker - 1, std::string::npos,
                   std::string(platform::kTempSuffixLength, 'X'));
    }
    return name;
  }

 private:
  class File final : public platform::WritableFile {
   public:
    File(RecordingSystem& system, std::unique_ptr<platform::WritableFile> real, std::string name)
        : system_(system), real_(std::move(real)), name_(std::move(name)) {}
    int Write(std::string_view bytes) override {
      return Do("write", [&] { return real_->Write(bytes); });
    }
    int Sync() override {
      return Do("sync", [&] { return real_->Sync(); });
    }
    int SyncData() override {
      return Do("sync-data", [&] { return real_->SyncData(); });
    }
    int Truncate(std::uint64_t size) override {
      return Do("truncate", [&] { return real_->Truncate(size); });
    }
    int TakeAccessOf(const std::string& original) override {
      return Do("take-access", [&] { return real_->TakeAccessOf(original); });
    }
    int Close() override {
      if (closed_) return 0;
      const int error = Do("close", [&] { return real_->Close(); });
      closed_ = true;
      real_->Close();  // a failed close still lets the file go
      return error;
    }

   private:
    template <typename Take>
    int Do(const char* step, Take take) {
      return system_.Step(step, name_, take);
    }

    RecordingSystem& system_;
    std::unique_ptr<platform::WritableFile> real_;
    std::string name_;
    bool closed_ = false;
  };

  // The error to fail `step` with now, counting it; 0 to take it.
  int Failing(const std::string& step, const std::string& what) {
    const int count = ++seen_[step];
    const auto failure = failures_.find(step);
    if (failure == failures_.end() || failure->second.first != count) return 0;
    steps_.push_back(step + " " + what + " failed");
    return failure->second.second;
  }

  template <typename Take>
  int Step(const std::string& step, const std::string& what, Take take) {
    if (const int error = Failing(step, what); error != 0) return error;
    steps_.push_back(step + " " + what);
    return take();
  }

  // Opens through the real system and wraps what it opened, so that the
  // file's own steps are written down too.
  template <typename Open>
  int Opened(const char* step, const std::string& path,
             std::unique_ptr<platform::WritableFile>& file, Open open) {
    if (const int error = Step(step, Name(path), open); error != 0) return error;
    file = std::make_unique<File>(*this, std::move(file), Name(path));
    return 0;
  }

  platform::System& real_ = platform::RealSystem();
  std::vector<std::string> steps_;
  std::map<std::string, int> seen_;
  std::map<std::string, std::pair<int, int>> failures_;  // step: (which one, error)
};
