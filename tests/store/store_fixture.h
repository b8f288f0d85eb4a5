// A throwaway folder with a book file in it, and short verbs for the store
// tests: Save, Load, CorruptByte, Truncate.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "store/record_store.h"
#include "tests/support/temp_folder.h"

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.Make("kestrel-store"));
    folder_ = temp_.path();
    path_ = folder_ + "/phone.dat";
  }
  void TearDown() override { temp_.Remove(); }

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
    ASSERT_TRUE(result.ok()) << result.reason;
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
    std::error_code error;
    std::filesystem::resize_file(path_, size, error);
    ASSERT_FALSE(error) << error.message();
  }

  // POSIX permission bits (Windows has none to compare).
  unsigned Mode(const std::string& path) const {
    struct stat info {};
    stat(path.c_str(), &info);
    return static_cast<unsigned>(info.st_mode) & 07777u;
  }

  // The names in the test folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  TempFolder temp_;
  std::string folder_;
  std::string path_;
};
