// A throwaway folder with a book file in it, and short verbs for the store
// tests: Save, Load, CorruptByte, Truncate.
#pragma once

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "store/record_store.h"

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "kestrel-store-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    path_ = folder_ + "/phone.dat";
  }
  void TearDown() override {
    chmod(folder_.c_str(), 0700);
    for (const std::string& name : Names()) unlink((folder_ + "/" + name).c_str());
    rmdir(folder_.c_str());
  }

  // A store on this test's file.
  RecordStore Store() {
    RecordStore store(path_.c_str());
    store.SetSyncOnSave(false);
    return store;
  }

  // Saves `records` as a book; fails the test if the save fails.
  void Save(const RecordList& records) {
    RecordStore store = Store();
    store.records = records;
    const SaveResult result = store.Save();
    ASSERT_TRUE(result.ok) << result.reason;
  }

  // Loads the book into a fresh store.
  RecordStore Load() {
    RecordStore store = Store();
    store.Load();
    return store;
  }

  std::string FileBytes() const { return ReadFile(path_); }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  void WriteFileBytes(const std::string& bytes) const {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes;
  }
  void CorruptByte(std::size_t offset) {
    std::string bytes = FileBytes();
    ASSERT_LT(offset, bytes.size());
    bytes[offset] = static_cast<char>(bytes[offset] ^ 0x01);
    WriteFileBytes(bytes);
  }
  void Truncate(std::size_t size) {
    ASSERT_EQ(truncate(path_.c_str(), static_cast<off_t>(size)), 0);
  }

  mode_t Mode(const std::string& path) const {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
  }

  // The names in the test folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder_.c_str())) {
      while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
      }
      closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string folder_;
  std::string path_;
};
