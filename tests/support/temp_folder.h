// A throwaway folder for one test, under googletest's temporary folder, made
// and removed the same way by every test program on every system.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

class TempFolder {
 public:
  TempFolder() = default;
  ~TempFolder() { Remove(); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Removes the folder made before, if any, and makes a new, empty one named
  // after `prefix`, readable and writable by its owner only. False when no
  // folder could be made; path() is then empty.
  bool Make(const std::string& prefix) {
    Remove();
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const std::string candidate = ::testing::TempDir() + prefix + "-" + std::to_string(random());
      std::error_code error;
      if (std::filesystem::create_directory(candidate, error)) path_ = candidate;
    }
    if (path_.empty()) return false;
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    return true;
  }

  // Removes the folder and everything in it, also when a test took the
  // owner's rights to the folder away, or removed it itself.
  void Remove() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
    path_.clear();
  }

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};
