// What the tests of the record dialog, the match list and the program share:
// a throwaway folder for the book, records by their fields, and the steps a
// user takes again and again.
#pragma once

#include <QString>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "store/book_file.h"
#include "store/record_store.h"
#include "tests/support/gui_test.h"
#include "tests/support/scripted_user.h"
#include "tests/support/temp_folder.h"

// The 17 fields of a record as strings.
inline std::vector<std::string> Fields(const StudentRecord& r) {
  std::vector<std::string> fields;
  for (int i = 0; i < StudentRecord::kFieldCount; ++i) fields.emplace_back(r.field(i));
  return fields;
}

// The last names of a list of records, in order.
inline std::vector<std::string> LastNames(const RecordList& records) {
  std::vector<std::string> names;
  for (const StudentRecord& r : records) names.emplace_back(r.field(lastName));
  return names;
}

// Empties an edit the way a user does: select everything, then Backspace.
void Erase(QWidget* window, int id);

// A test with its own folder, in which "phone.dat" is the book.
class BookFolderTest : public GuiTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.Make("kestrel-app"));
    folder_ = temp_.path();
    path_ = folder_ + "/phone.dat";
  }
  void TearDown() override {
    GuiTest::TearDown();
    temp_.Remove();
  }

  // Writes `records` as the book; fails the test when that fails.
  void WriteBook(const RecordList& records) {
    RecordStore store(path_.c_str());
    store.SetSyncOnSave(false);
    store.records = records;
    const SaveResult saved = store.Save();
    ASSERT_TRUE(saved.ok()) << saved.reason;
  }
  // Writes `text` as the book's decoded text, as another program could.
  void WriteBookText(const std::string& text) {
    ASSERT_TRUE(
        CompressToFile(text.data(), static_cast<std::int32_t>(text.size()), path_.c_str()).ok());
  }
  // The book as a fresh start of the program would read it.
  RecordList ReadBook() const {
    RecordStore store(path_.c_str());
    store.Load();
    return store.records;
  }
  std::string FileBytes() const {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  bool FileExists() const { return std::filesystem::exists(path_); }

  TempFolder temp_;
  std::string folder_;
  std::string path_;
};
