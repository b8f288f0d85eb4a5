// The whole program in-process: InitInstance on a book in a throwaway folder,
// with a scripted user answering the main form, the record dialog, the match
// list and every message box. Grouped by flow: creating records, leaving,
// saving and its failures, then searching and browsing.
#include "app/kestrel_app.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QStandardPaths>
#include <QtTest/QTest>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "res/resource.h"
#include "tests/app/app_test_support.h"
#include "tests/search/record_maker.h"
#include "tools/book_generator.h"

namespace {

// The list box of the match list and its items.
QListView* ListOf(QWidget* window) { return qobject_cast<QListView*>(Control(window, IDC_MATCH_LIST)); }

QStringList Items(QWidget* window) {
  QStringList items;
  if (QListView* list = ListOf(window)) {
    for (int row = 0; row < list->model()->rowCount(); ++row) {
      items << list->model()->index(row, 0).data().toString();
    }
  }
  return items;
}

int SelectedItem(QWidget* window) {
  QListView* list = ListOf(window);
  if (list == nullptr) return -1;
  const QModelIndexList selected = list->selectionModel()->selectedIndexes();
  return selected.size() == 1 ? selected.first().row() : -1;
}

void DoubleClickItem(QWidget* window, int row) {
  QListView* list = ListOf(window);
  if (list == nullptr) return;
  const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);  // as a hand does first
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

class KestrelAppTest : public BookFolderTest {
 protected:
  // The program on this test's book, started by Run.
  CKestrelApp& App() {
    if (!app_) app_ = std::make_unique<CKestrelApp>(path_.c_str());
    return *app_;
  }
  void Run() { EXPECT_EQ(App().InitInstance(), FALSE); }

  // Steps on the main form.
  static void SearchFor(ScriptedUser& user, int id, const QString& text) {
    user.Then("form: search " + text.toStdString(), [id, text](QWidget* form) {
      EXPECT_EQ(TemplateOf(form), IDD_KESTREL_DIALOG);
      Type(form, id, text);
      Click(form, IDC_SEARCH);
    });
  }
  static void SearchAll(ScriptedUser& user) {
    user.Then("form: search with no criteria", [](QWidget* form) {
      EXPECT_EQ(TemplateOf(form), IDD_KESTREL_DIALOG);
      Click(form, IDC_SEARCH);
    });
  }
  static void SaveAndExit(ScriptedUser& user) {
    user.Then("form: Save and Exit", [](QWidget* form) {
          EXPECT_EQ(TemplateOf(form), IDD_KESTREL_DIALOG);
          Click(form, IDC_SAVE_AND_EXIT);
        })
        .Then("Yes, save", [](QWidget* box) { Click(box, IDYES); });
  }
  static void Discard(ScriptedUser& user) {
    user.Then("form: Discard and Exit", [](QWidget* form) {
      EXPECT_EQ(TemplateOf(form), IDD_KESTREL_DIALOG);
      Click(form, IDCANCEL);
    });
  }
  // Expects the record dialog with `caption` showing `last`, then presses Escape.
  static void Leave(ScriptedUser& user, const char* caption, const char* last) {
    user.Then(std::string("record: ") + caption, [caption, last](QWidget* dlg) {
      EXPECT_EQ(dlg->windowTitle(), QString::fromLatin1(caption));
      EXPECT_EQ(Text(dlg, IDC_LAST_NAME), QString::fromLatin1(last)) << caption;
      Key(dlg, Qt::Key_Escape);
    });
  }

  std::unique_ptr<CKestrelApp> app_;
};

// --- creating records ---------------------------------------------------

TEST_F(KestrelAppTest, NewRecordIsAppendedFoundAndWrittenOnSaveAndExit) {
  WriteBook({Person("Adams", "Ann"), Person("Brown", "Ben")});
  ScriptedUser user;
  user.Then("form: Create New Record", [](QWidget* form) {
        Type(form, IDC_LAST_NAME, QStringLiteral("typed, then abandoned"));
        Click(form, IDC_CREATE_NEW_RECORD);
      })
      .Then("record: type, save, Start Over", [](QWidget* dlg) {
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("New Record"));
        Type(dlg, IDC_LAST_NAME, QStringLiteral("Zed"));
        Type(dlg, IDC_FIRST_NAME, QStringLiteral("Zoe"));
        Type(dlg, IDC_PHONE, QStringLiteral("555-0199"));
        Click(dlg, IDC_SAVE_CHANGES);
        Click(dlg, IDCANCEL);
      })
      .Then("Save and exit? No: saved already", [](QWidget* box) { Click(box, IDNO); });
  SearchFor(user, IDC_LAST_NAME, QStringLiteral("zed"));
  Leave(user, "Matching Record 1 of 1", "Zed");
  SaveAndExit(user);
  Run();
  user.Finish();
  EXPECT_EQ(LastNames(App().store.records), (std::vector<std::string>{"Adams", "Brown", "Zed"}));
  const RecordList onDisk = ReadBook();
  ASSERT_EQ(onDisk.size(), 3u);
  EXPECT_EQ(Fields(onDisk[2]), Fields(Person("Zed", "Zoe", "555-0199")));
}

TEST_F(KestrelAppTest, NewRecordLeftWithoutSavingAddsNothing) {
  WriteBook({Person("Adams", "Ann")});
  const std::string before = FileBytes();
  ScriptedUser user;
  user.Then("form: create", [](QWidget* form) { Click(form, IDC_CREATE_NEW_RECORD); })
      .Then("record: type, Start Over", [](QWidget* dlg) {
        Type(dlg, IDC_LAST_NAME, QStringLiteral("Zed"));
        Key(dlg, Qt::Key_O, Qt::AltModifier);
      })
      .Then("Save and exit? No", [](QWidget* box) { Click(box, IDNO); });
  SaveAndExit(user);
  Run();
  user.Finish();
  EXPECT_EQ(LastNames(App().store.records), (std::vector<std::string>{"Adams"}));
  EXPECT_EQ(LastNames(ReadBook()), (std::vector<std::string>{"Adams"}));
}

// --- leaving and saving -------------------------------------------------

TEST_F(KestrelAppTest, DiscardLeavesTheFileByteForByteAndCreatesNone) {
  for (const bool fileThere : {true, false}) {
    for (const bool escape : {false, true}) {
      const std::string row = std::string(fileThere ? "file there" : "no file") + (escape ? ", Escape" : ", Discard");
      std::filesystem::remove(path_);
      if (fileThere) WriteBook({Person("Adams"), Person("Brown")});
      const std::string before = FileBytes();
      app_.reset();
      ScriptedUser user;
      user.Then("form: delete a record", [](QWidget* form) { Click(form, IDC_SEARCH); });
      if (fileThere) {
        user.Then("list: first", [](QWidget* list) { Key(list, Qt::Key_Return); })
            .Then("record: delete", [](QWidget* dlg) { Click(dlg, IDC_DELETE_RECORD); })
            .Then("Yes", [](QWidget* box) { Click(box, IDYES); })
            .Then("record: next", [](QWidget* dlg) { Key(dlg, Qt::Key_Escape); });
      } else {
        user.Then("No Result", [](QWidget* box) { Key(box, Qt::Key_Return); });
      }
      user.Then("form: leave", [escape](QWidget* form) { escape ? Key(form, Qt::Key_Escape) : Click(form, IDCANCEL); });
      Run();
      user.Finish();
      EXPECT_EQ(FileExists(), fileThere) << row;
      EXPECT_EQ(FileBytes(), before) << row;
    }
  }
}

TEST_F(KestrelAppTest, SaveRewritesTheBookWithoutDeletedRecordsInOrder) {
  // An empty line is a deleted record: it stays in the book until a save.
  WriteBookText("\tDelta\n\tAlpha\n\n\tCharlie\n\tBravo\n");
  ASSERT_EQ(ReadBook().size(), 5u);
  ScriptedUser user;
  SearchFor(user, IDC_LAST_NAME, QStringLiteral("charlie"));
  user.Then("record: delete", [](QWidget* dlg) { Click(dlg, IDC_DELETE_RECORD); })
      .Then("Yes", [](QWidget* box) { Click(box, IDYES); })
      .Then("record: shown again, empty", [](QWidget* dlg) {
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Matching Record 1 of 1"));
        EXPECT_EQ(Text(dlg, IDC_LAST_NAME), QString());
        Key(dlg, Qt::Key_Escape);
      });
  SearchFor(user, IDC_LAST_NAME, QStringLiteral("charlie"));
  user.Then("No Result: deleted records are not found", [](QWidget* box) {
    EXPECT_EQ(box->windowTitle(), QStringLiteral("No Result"));
    Key(box, Qt::Key_Return);
  });
  SaveAndExit(user);
  Run();
  user.Finish();
  EXPECT_EQ(LastNames(ReadBook()), (std::vector<std::string>{"Delta", "Alpha", "Bravo"}));
}

// Makes writing a file past `bytes` fail with "File too large", as a full
// disk fails a write; permission bits would not stop a test run as root.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, saved_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, previous_);
  }

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

// Regression: a save that failed ended the program and lost the run's changes.
TEST_F(KestrelAppTest, FailedSaveSaysWhyKeepsTheOldFileAndReturnsToTheForm) {
  WriteBook({Person("Adams")});
  const std::string before = FileBytes();
  std::unique_ptr<FileSizeLimit> diskFull;
  ScriptedUser user;
  user.Then("form: create", [](QWidget* form) { Click(form, IDC_CREATE_NEW_RECORD); })
      .Then("record: a name, Escape", [](QWidget* dlg) {
        Type(dlg, IDC_LAST_NAME, QStringLiteral("Brown"));
        Key(dlg, Qt::Key_Escape);
      })
      .Then("Save and exit? Yes", [](QWidget* box) { Click(box, IDYES); })
      .Then("form: the disk fills up; save", [&diskFull](QWidget* form) {
        diskFull = std::make_unique<FileSizeLimit>(8);
        Click(form, IDC_SAVE_AND_EXIT);
      })
      .Then("Yes", [](QWidget* box) { Click(box, IDYES); })
      .Then("the failure; no other file", [&](QWidget* box) {
        diskFull.reset();
        const QString text = MessageText(box);
        EXPECT_TRUE(text.contains(QString::fromStdString(path_))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("File too large"))) << text.toStdString();
        EXPECT_TRUE(text.endsWith(QStringLiteral("Save the book to another file?")))
            << text.toStdString();
        EXPECT_EQ(MessageIcon(box), QStringLiteral("stop"));
        Key(box, Qt::Key_N);  // no other file: back to the form
      })
      .Then("form again: the old file untouched; save again", [&](QWidget* form) {
        EXPECT_EQ(TemplateOf(form), IDD_KESTREL_DIALOG);
        EXPECT_EQ(FileBytes(), before);
        EXPECT_EQ(std::count_if(std::filesystem::directory_iterator(folder_),
                                std::filesystem::directory_iterator(),
                                [](const auto& entry) {
                                  return entry.path().extension() != ".journal" &&
                                         entry.path().extension() != ".lock";
                                }),
                  1)
            << "no temporary file left beside the book, its journal and its lock file";
        Click(form, IDC_SAVE_AND_EXIT);
      })
      .Then("Yes again", [](QWidget* box) { Click(box, IDYES); });
  Run();
  user.Finish();
  diskFull.reset();
  EXPECT_EQ(LastNames(ReadBook()), (std::vector<std::string>{"Adams", "Brown"}));
}

// Makes `folder` the current folder, as the program is started in the book's
// folder, and returns to the folder before even when `folder` has gone.
class InFolder {
 public:
  explicit InFolder(const std::string& folder) : back_(open(".", O_RDONLY | O_DIRECTORY)) {
    EXPECT_EQ(chdir(folder.c_str()), 0);
  }
  ~InFolder() {
    EXPECT_EQ(fchdir(back_), 0);
    close(back_);
  }

 private:
  int back_;
};

// Regression: with the book's folder gone, every save failed, and the run's
// changes could be kept nowhere.
TEST_F(KestrelAppTest, FailedSaveOffersAnotherFileAndEndsOnceTheCopyIsWritten) {
  WriteBook({Person("Adams")});
  const InFolder bookFolder(folder_);
  app_ = std::make_unique<CKestrelApp>("phone.dat");
  TempFolder other;
  ASSERT_TRUE(other.Make("kestrel-elsewhere"));
  const std::string elsewhere = other.path();
  const std::string nowhere = elsewhere + "/no/such/copy.dat";
  ScriptedUser user;
  auto saveIntoTheGoneFolder = [&user] {
    user.Then("form: save", [](QWidget* form) { Click(form, IDC_SAVE_AND_EXIT); })
        .Then("Save and exit? Yes", [](QWidget* box) { Click(box, IDYES); })
        .Then("the book was removed; write it? Yes", [](QWidget* box) { Click(box, IDYES); })
        .Then("cannot save; another file? Yes", [](QWidget* box) {
          const QString text = MessageText(box);
          EXPECT_TRUE(text.contains(QStringLiteral(": No such file or directory.")) &&
                      text.endsWith(QStringLiteral("Save the book to another file?")))
              << text.toStdString();
          Click(box, IDYES);
        });
  };
  user.Then("form: create", [](QWidget* form) { Click(form, IDC_CREATE_NEW_RECORD); })
      .Then("record: a name, Escape", [](QWidget* dlg) {
        Type(dlg, IDC_LAST_NAME, QStringLiteral("Brown"));
        Key(dlg, Qt::Key_Escape);
      })
      .Then("Save and exit? Yes; the book's folder goes", [this](QWidget* box) {
        std::filesystem::remove_all(folder_);
        Click(box, IDYES);
      });
  saveIntoTheGoneFolder();
  user.Then("file dialog: phone.dat in the home folder; cancel", [](QWidget* dialog) {
    EXPECT_EQ(OfferedFileName(dialog), QStringLiteral("phone.dat"));
    if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
      EXPECT_EQ(files->directory().absolutePath(), QDir::homePath())
          << "the current folder is gone";
    }
    Key(dialog, Qt::Key_Escape);
  });
  saveIntoTheGoneFolder();
  user.Then("file dialog: a folder that is not there",
            [&](QWidget* dialog) { ChooseFile(dialog, QString::fromStdString(nowhere)); })
      .Then("the copy failed: where and why; try again", [&](QWidget* box) {
        EXPECT_EQ(MessageText(box).toStdString(),
                  "The book could not be saved to \"" + nowhere +
                      "\": No such file or directory.\n\nYour changes are still here.  "
                      "Save the book to another file?");
        Click(box, IDYES);
      })
      .Then("file dialog: a name without extension in the other folder", [&](QWidget* dialog) {
        ChooseFile(dialog, QString::fromStdString(elsewhere + "/copy"));
      });
  const std::string qtSettings =
      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
      "/QtProject.conf";
  const bool hadQtSettings = std::filesystem::exists(qtSettings);
  Run();
  user.Finish();
  EXPECT_EQ(std::filesystem::exists(qtSettings), hadQtSettings) << "the program keeps no settings";
  EXPECT_FALSE(std::filesystem::exists(folder_)) << "the book's own folder is left as it was";
  RecordStore copy((elsewhere + "/copy.dat").c_str());
  copy.Load();
  EXPECT_EQ(copy.loadReport().problem, LoadProblem::kNone);
  EXPECT_EQ(LastNames(copy.records), (std::vector<std::string>{"Adams", "Brown"}));
}

// Regression: with the book's folder gone, every save failed and the run's
// changes could only be thrown away. Now the book can go to another file,
// and the program then ends as after a save.
TEST_F(KestrelAppTest, SaveThatFailsCanWriteTheBookToAnotherFile) {
  WriteBook({Person("Adams"), Person("Brown")});
  TempFolder other;
  ASSERT_TRUE(other.Make("kestrel-elsewhere"));
  const std::string elsewhere = other.path();
  const std::string copyPath = elsewhere + "/copy.dat";
  ScriptedUser user;
  user.Then("form: the folder goes; save", [this](QWidget* form) {
        std::filesystem::remove_all(folder_);
        Click(form, IDC_SAVE_AND_EXIT);
      })
      .Then("Yes, save", [](QWidget* box) { Click(box, IDYES); })
      .Then("removed: write it anyway", [](QWidget* box) { Click(box, IDYES); })
      .Then("the failure: another file?", [](QWidget* box) {
        EXPECT_TRUE(MessageText(box).contains(QStringLiteral("another file")))
            << MessageText(box).toStdString();
        QDir().mkpath(QStringLiteral(KESTREL_RENDER_DIR));
        box->grab().save(QStringLiteral(KESTREL_RENDER_DIR "/save-failed.png"));
        Click(box, IDYES);
      })
      .Then("choose the file", [&copyPath](QWidget* window) {
        auto* files = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
        files->selectFile(QString::fromStdString(copyPath));
        QMetaObject::invokeMethod(files, "accept");  // as the Save button does
      });
  Run();
  user.Finish();
  RecordStore copy(copyPath.c_str());
  copy.Load();
  EXPECT_EQ(LastNames(copy.records), (std::vector<std::string>{"Adams", "Brown"}));
  EXPECT_FALSE(std::filesystem::exists(folder_)) << "the book's own place is left as it was";
}

TEST_F(KestrelAppTest, BookRemovedOnDiskIsWrittenOnlyWhenTheUserSaysSo) {
  WriteBook({Person("Adams")});
  ScriptedUser user;
  for (const bool write : {false, true}) {
    user.Then("form: the book goes; save", [this](QWidget* form) {
          std::filesystem::remove(path_);
          Click(form, IDC_SAVE_AND_EXIT);
        })
        .Then("Yes, save", [](QWidget* box) { Click(box, IDYES); })
        .Then("write it anyway?", [this, write](QWidget* box) {
          const std::string text = MessageText(box).toStdString();
          EXPECT_NE(text.find(path_ + "\" was removed"), std::string::npos) << text;
          Click(box, write ? IDYES : IDNO);
          if (!write) {
            EXPECT_FALSE(FileExists());
          }
        });
  }
  Run();
  user.Finish();
  EXPECT_EQ(LastNames(ReadBook()), (std::vector<std::string>{"Adams"}));
}

// Regression: a damaged book was reported only on the standard output, and
// the first save replaced it with what little could be read.
TEST_F(KestrelAppTest, DamagedBookIsToldOnceAndKeptAsABackup) {
  WriteBook({Person("Adams"), Person("Brown"), Person("Clark")});
  std::string damaged = FileBytes();
  damaged.resize(damaged.size() - 6);
  {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << damaged;
  }
  ScriptedUser user;
  user.Then("the warning", [&](QWidget* box) {
        const std::string text = MessageText(box).toStdString();
        EXPECT_NE(text.find(path_), std::string::npos) << text;
        EXPECT_NE(text.find("could not be read whole"), std::string::npos) << text;
        EXPECT_NE(text.find("backup"), std::string::npos) << text;
        Key(box, Qt::Key_Return);
      })
      .Then("form: search", [](QWidget* form) { Click(form, IDC_SEARCH); });
  // Whatever was read, browsing it shows no second warning.
  user.Then("list or record or No Result: leave", [](QWidget* top) { Key(top, Qt::Key_Escape); });
  SaveAndExit(user);
  Run();
  user.Finish();
  EXPECT_TRUE(App().store.loadReport().damaged);
  std::ifstream backup(path_ + ".bak", std::ios::binary);
  std::string kept((std::istreambuf_iterator<char>(backup)), std::istreambuf_iterator<char>());
  EXPECT_EQ(kept, damaged) << "the damaged file is kept as it was";
  EXPECT_EQ(ReadBook().size(), App().store.loadReport().recordsRead);
}

// The whole warning, word for word: one record or several, the file's full
// path, the reason and the backup's name.
TEST_F(KestrelAppTest, DamagedBookMessageAgreesInNumber) {
  for (const int count : {1, 2}) {
    RecordList book;
    for (int i = 0; i < count; ++i) book.push_back(Person("Adams"));
    WriteBook(book);
    std::ofstream(path_, std::ios::binary | std::ios::app) << '!';  // every record still reads
    const std::string expected =
        "The book \"" + path_ + "\" could not be read whole (unexpected bytes after the payload: 1).  " +
        std::to_string(count) + (count == 1 ? " record" : " records") +
        " could be read from it.\n\nWhen you save, the damaged file will be kept beside the new "
        "one as a backup, named \"" + path_ + ".bak\" (or .bak.1 and so on if that name is taken).";
    app_.reset();
    ScriptedUser user;
    user.Then("the warning", [&](QWidget* box) {
          EXPECT_EQ(MessageText(box).toStdString(), expected);
          Key(box, Qt::Key_Return);
        });
    Discard(user);
    Run();
    user.Finish();
  }
}

// The book loads while the toolkit starts (PrepareInstance): the form finds
// it whole, and a damaged one is told in the very words, and its checksum
// notice printed once, as when InitInstance loads it alone.
TEST_F(KestrelAppTest, BookLoadedWhileTheToolkitStartsIsWholeAndToldAsBefore) {
  const RecordList book = GenerateBook(500);
  const auto live =
      std::count_if(book.begin(), book.end(), [](const StudentRecord& r) { return !IsEmpty(r); });
  WriteBook(book);
  App().PrepareInstance();
  ScriptedUser whole;
  SearchAll(whole);
  whole.Then("the list of every record", [&](QWidget* list) {
    EXPECT_EQ(Items(list).size(), live);
    Key(list, Qt::Key_Escape);
  });
  Discard(whole);
  Run();
  whole.Finish();
  EXPECT_EQ(App().store.records.size(), 500u);

  std::string damaged = FileBytes();
  damaged[0] = static_cast<char>(damaged[0] ^ 0x5A);  // the checksum
  std::ofstream(path_, std::ios::binary | std::ios::trunc) << damaged;
  std::string told[2];
  std::string printed[2];
  std::size_t read[2] = {};
  for (const bool early : {false, true}) {
    app_.reset();
    testing::internal::CaptureStdout();
    if (early) App().PrepareInstance();
    ScriptedUser user;
    user.Then("the warning", [&](QWidget* box) {
      told[early] = MessageText(box).toStdString();
      Key(box, Qt::Key_Return);
    });
    Discard(user);
    Run();
    user.Finish();
    printed[early] = testing::internal::GetCapturedStdout();
    read[early] = App().store.loadReport().recordsRead;
  }
  EXPECT_NE(told[0].find("could not be read whole (bad checksum)"), std::string::npos) << told[0];
  EXPECT_EQ(told[1], told[0]);
  EXPECT_EQ(printed[0], "Bad checksum.  Invalid format........");
  EXPECT_EQ(printed[1], printed[0]);
  EXPECT_EQ(read[1], read[0]);
}

// Regression: a book changed on disk by another program was replaced unasked.
TEST_F(KestrelAppTest, BookChangedOnDiskIsReplacedOnlyWhenTheUserSaysSo) {
  WriteBook({Person("Adams")});
  ScriptedUser user;
  user.Then("form: another program writes the book, then Save", [this](QWidget* form) {
        WriteBook({Person("Other"), Person("Program")});
        Click(form, IDC_SAVE_AND_EXIT);
      })
      .Then("Yes, save", [](QWidget* box) { Click(box, IDYES); })
      .Then("replace it? No", [this](QWidget* box) {
        const std::string text = MessageText(box).toStdString();
        EXPECT_NE(text.find(path_), std::string::npos) << text;
        EXPECT_NE(text.find("changed"), std::string::npos) << text;
        Click(box, IDNO);
      })
      .Then("form again: nothing written; save once more", [this](QWidget* form) {
        EXPECT_EQ(LastNames(ReadBook()), (std::vector<std::string>{"Other", "Program"}));
        Click(form, IDC_SAVE_AND_EXIT);
      })
      .Then("Yes, save", [](QWidget* box) { Click(box, IDYES); })
      .Then("replace it? Yes", [](QWidget* box) { Click(box, IDYES); });
  Run();
  user.Finish();
  EXPECT_EQ(LastNames(ReadBook()), (std::vector<std::string>{"Adams"}));
}

// --- searching and browsing ---------------------------------------------

TEST_F(KestrelAppTest, NoResultThenTheFormWithTheSameCriteria) {
  WriteBook({Person("Smith", "Anna")});
  ScriptedUser user;
  SearchFor(user, IDC_LAST_NAME, QStringLiteral("smith "));
  user.Then("No Result", [this](QWidget* box) {
        EXPECT_EQ(MessageText(box), QStringLiteral("Your search did not return any result.  Please try again"));
        EXPECT_EQ(box->windowTitle(), QStringLiteral("No Result"));
        EXPECT_EQ(MessageIcon(box), QStringLiteral("information"));
        const QWidget* ok = Control(box, IDOK);
        EXPECT_TRUE(ok && ok->isVisible());
        EXPECT_TRUE(App().matches.empty());
        Key(box, Qt::Key_Return);
      })
      .Then("form: the same criteria", [](QWidget* form) {
        EXPECT_EQ(Text(form, IDC_LAST_NAME), QStringLiteral("smith "));
        Key(form, Qt::Key_Escape);
      });
  Run();
}

TEST_F(KestrelAppTest, OneMatchOpensTheRecordDialogUntilStartOver) {
  WriteBook({Person("Jones"), Person("Goldsmith", "Gil"), Person("Brown")});
  ScriptedUser user;
  SearchFor(user, IDC_LAST_NAME, QStringLiteral("SMI"));
  user.Then("record 1 of 1: Enter does nothing, View Matching List is not there", [](QWidget* dlg) {
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Matching Record 1 of 1"));
        EXPECT_EQ(Text(dlg, IDC_LAST_NAME), QStringLiteral("Goldsmith"));
        Key(dlg, Qt::Key_Return);
        Key(dlg, Qt::Key_V, Qt::AltModifier);
        EXPECT_TRUE(dlg->isVisible());
        Click(dlg, IDC_DELETE_RECORD);
      })
      .Then("Yes", [](QWidget* box) { Click(box, IDYES); })
      .Then("shown again, empty", [](QWidget* dlg) {
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Matching Record 1 of 1"));
        EXPECT_EQ(Text(dlg, IDC_LAST_NAME), QString());
        EXPECT_EQ(Text(dlg, IDC_FIRST_NAME), QString());
        Click(dlg, IDCANCEL);
      });
  Discard(user);
  Run();
  user.Finish();
  EXPECT_TRUE(IsEmpty(App().store.records[1]));
}

TEST_F(KestrelAppTest, TwoMatchesListThenWalkFromTheChoiceAndBackToTheList) {
  WriteBook({Person("Smith", "Ben"), Person("Jones"), Person("Smith", "Anna")});
  ScriptedUser user;
  SearchFor(user, IDC_LAST_NAME, QStringLiteral("smith"));
  user.Then("list: sorted, first selected; choose the second", [](QWidget* list) {
        EXPECT_EQ(TemplateOf(list), IDD_MATCH_LIST);
        EXPECT_EQ(list->windowTitle(), QStringLiteral("Matching Records"));
        EXPECT_EQ(Items(list), (QStringList{"Smith, Anna: ", "Smith, Ben: "}));
        EXPECT_EQ(SelectedItem(list), 0);
        EXPECT_EQ(FocusedId(list), IDC_MATCH_LIST);
        Key(list, Qt::Key_Down);
        Key(list, Qt::Key_Return);
      })
      .Then("record 1 of 2: Ben", [](QWidget* dlg) {
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Matching Record 1 of 2"));
        EXPECT_EQ(Text(dlg, IDC_FIRST_NAME), QStringLiteral("Ben"));
        Click(dlg, IDC_NEXT_RECORD);
      })
      .Then("record 2 of 2: Anna", [](QWidget* dlg) {
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Matching Record 2 of 2"));
        EXPECT_EQ(Text(dlg, IDC_FIRST_NAME), QStringLiteral("Anna"));
        Key(dlg, Qt::Key_N, Qt::AltModifier);
      })
      .Then("list again: double-click the second", [](QWidget* list) {
        EXPECT_EQ(TemplateOf(list), IDD_MATCH_LIST);
        EXPECT_EQ(SelectedItem(list), 0);
        DoubleClickItem(list, 1);
      })
      .Then("record 1 of 2: Ben; View Matching List", [](QWidget* dlg) {
        EXPECT_EQ(Text(dlg, IDC_FIRST_NAME), QStringLiteral("Ben"));
        Click(dlg, IDOK);
      })
      .Then("list: View Selected on the first", [](QWidget* list) { Click(list, IDC_VIEW_SELECTED); })
      .Then("record 1 of 2: Anna", [](QWidget* dlg) {
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Matching Record 1 of 2"));
        EXPECT_EQ(Text(dlg, IDC_FIRST_NAME), QStringLiteral("Anna"));
        Click(dlg, IDOK);
      })
      .Then("list: Exit", [](QWidget* list) { Key(list, Qt::Key_X, Qt::AltModifier); });
  Discard(user);
  Run();
  user.Finish();
  EXPECT_EQ(App().selIndex, 0) << "Exit leaves the last choice";
}

TEST_F(KestrelAppTest, WalkWrapsFromTheChoiceWithPositionsOneToN) {
  WriteBook({Person("Ann"), Person("Bea"), Person("Cid"), Person("Dan")});
  ScriptedUser user;
  SearchAll(user);
  user.Then("list: choose the third", [](QWidget* list) {
    Key(list, Qt::Key_Down);
    Key(list, Qt::Key_Down);
    Click(list, IDC_VIEW_SELECTED);
  });
  const char* const order[] = {"Cid", "Dan", "Ann", "Bea"};
  for (int i = 0; i < 4; ++i) {
    user.Then("record " + std::to_string(i + 1), [i, &order](QWidget* dlg) {
      EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Matching Record %1 of 4").arg(i + 1));
      EXPECT_EQ(Text(dlg, IDC_LAST_NAME), QString::fromLatin1(order[i]));
      Focus(dlg, IDC_PHONE);
      Key(dlg, Qt::Key_Return);  // the default button, "&Next Record"
    });
  }
  user.Then("list after the fourth: Escape", [](QWidget* list) {
    EXPECT_EQ(TemplateOf(list), IDD_MATCH_LIST);
    Key(list, Qt::Key_Escape);
  });
  Discard(user);
  App().selIndex = 0;
  Run();
  user.Finish();
  EXPECT_EQ(App().selIndex, 2);
}

TEST_F(KestrelAppTest, DeletedMatchStaysListedAndIsShownEmpty) {
  WriteBook({Person("Ann", "A", "1"), Person("Bea", "B", "2"), Person("Cid", "C", "3")});
  ScriptedUser user;
  SearchAll(user);
  user.Then("list: first", [](QWidget* list) { Key(list, Qt::Key_Return); })
      .Then("record 1 of 3: delete Ann", [](QWidget* dlg) { Click(dlg, IDC_DELETE_RECORD); })
      .Then("Yes", [](QWidget* box) { Click(box, IDYES); })
      .Then("record 2 of 3: Bea", [](QWidget* dlg) {
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Matching Record 2 of 3"));
        EXPECT_EQ(Text(dlg, IDC_LAST_NAME), QStringLiteral("Bea"));
        Click(dlg, IDOK);
      })
      .Then("list: the deleted record", [](QWidget* list) {
        EXPECT_EQ(Items(list), (QStringList{"<Deleted Record>", "Bea, B: 2", "Cid, C: 3"}));
        Key(list, Qt::Key_Return);
      })
      .Then("record 1 of 3: empty", [](QWidget* dlg) {
        EXPECT_EQ(Text(dlg, IDC_LAST_NAME), QString());
        EXPECT_EQ(Text(dlg, IDC_PHONE), QString());
        Key(dlg, Qt::Key_Escape);
      });
  SaveAndExit(user);
  Run();
  user.Finish();
  EXPECT_EQ(LastNames(ReadBook()), (std::vector<std::string>{"Bea", "Cid"}));
}

TEST_F(KestrelAppTest, EditReachesTheBookTheNextSearchAndTheFile) {
  WriteBook({Person("Jones", "Jo"), Person("Smith", "Anna", "555-0101")});
  ScriptedUser user;
  SearchFor(user, IDC_FIRST_NAME, QStringLiteral("ann"));
  user.Then("record: rename, save, leave", [](QWidget* dlg) {
    Type(dlg, IDC_LAST_NAME, QStringLiteral("Smythe"));
    Click(dlg, IDC_SAVE_CHANGES);
    Key(dlg, Qt::Key_Escape);
  });
  SearchFor(user, IDC_LAST_NAME, QStringLiteral("SMYTHE"));
  Leave(user, "Matching Record 1 of 1", "Smythe");
  SaveAndExit(user);
  Run();
  user.Finish();
  const RecordList book = ReadBook();
  ASSERT_EQ(book.size(), 2u);
  EXPECT_EQ(Fields(book[1]), Fields(Person("Smythe", "Anna", "555-0101")));
}

TEST_F(KestrelAppTest, ListOrdersLabelsByteByByte) {
  WriteBook({Person("Smith", "Al", "2"), Person("adams"), Person("Smith-Jones"), Person("Adams"),
             Person("Smith", "Al", "10"), Person("Smith Jr"), Person("", "Nameless"), Person("9th")});
  ScriptedUser user;
  SearchAll(user);
  user.Then("list", [](QWidget* list) {
    EXPECT_EQ(Items(list), (QStringList{", Nameless: ", "9th, : ", "Adams, : ", "Smith Jr, : ",
                                        "Smith, Al: 10", "Smith, Al: 2", "Smith-Jones, : ", "adams, : "}));
    Key(list, Qt::Key_Escape);
  });
  Discard(user);
  Run();
  user.Finish();
}

TEST_F(KestrelAppTest, ListPlacesAnEditedMatchByItsNewLabel) {
  WriteBook({Person("Brown"), Person("Clark"), Person("Adams")});
  ScriptedUser user;
  SearchAll(user);
  user.Then("list: choose Adams", [](QWidget* list) {
        EXPECT_EQ(Items(list), (QStringList{"Adams, : ", "Brown, : ", "Clark, : "}));
        Key(list, Qt::Key_Return);
      })
      .Then("record: Adams becomes Zorn", [](QWidget* dlg) {
        Type(dlg, IDC_LAST_NAME, QStringLiteral("Zorn"));
        Click(dlg, IDC_SAVE_CHANGES);
        Click(dlg, IDOK);
      })
      .Then("list: Zorn last, selection on the first", [](QWidget* list) {
        EXPECT_EQ(Items(list), (QStringList{"Brown, : ", "Clark, : ", "Zorn, : "}));
        EXPECT_EQ(SelectedItem(list), 0);
        Key(list, Qt::Key_Escape);
      });
  Discard(user);
  Run();
  user.Finish();
}

// A picture for the README: the match list of a whole generated book.
TEST_F(KestrelAppTest, RendersTheMatchList) {
  QDir().mkpath(QStringLiteral(KESTREL_RENDER_DIR));
  WriteBook(GenerateBook(40));
  ScriptedUser user;
  SearchAll(user);
  user.Then("list: move down a little, render", [](QWidget* list) {
    EXPECT_EQ(Items(list).size(), 40);
    for (int i = 0; i < 3; ++i) Key(list, Qt::Key_Down);
    EXPECT_TRUE(list->grab().save(QStringLiteral(KESTREL_RENDER_DIR "/match-list.png")));
    Key(list, Qt::Key_Escape);
  });
  Discard(user);
  Run();
  user.Finish();
}

}  // namespace
