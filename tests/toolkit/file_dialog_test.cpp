// CFileDialog on Qt's file dialog: what the user sees of the settings, and
// the chosen path in the dialogs' code page and as the system names it.
#include <QComboBox>
#include <QMessageBox>
#include <QtTest/QTest>
#include <filesystem>
#include <fstream>

#include "app/toolkit/cfiledialog.h"
#include "tests/support/gui_test.h"
#include "tests/support/scripted_user.h"
#include "tests/support/temp_folder.h"

namespace {

class FileDialogTest : public GuiTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.Make("kestrel-file-dialog"));
    folder_ = temp_.path();
  }
  void TearDown() override {
    GuiTest::TearDown();
    temp_.Remove();
  }
  TempFolder temp_;
  std::string folder_;
};

TEST_F(FileDialogTest, SaveAsShowsTheFiltersAsGivenAsksBeforeReplacingAndAddsTheExtension) {
  std::ofstream(folder_ + "/taken.dat") << "a book";
  CFileDialog dialog(FALSE, "dat", "phone.dat", OFN_OVERWRITEPROMPT,
                     "Kestrel book (*.dat)|*.dat|All files (*.*)|*.*||");
  ScriptedUser user;
  user.Then("Save As: the filters; a file that exists",
            [this](QWidget* window) {
              EXPECT_EQ(window->windowTitle(), QStringLiteral("Save As"));
              auto* types = window->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
              ASSERT_NE(types, nullptr);
              QStringList shown;
              for (int i = 0; i < types->count(); ++i) shown << types->itemText(i);
              EXPECT_EQ(shown, (QStringList{"Kestrel book (*.dat)", "All files (*.*)"}));
              ChooseFile(window, QString::fromStdString(folder_ + "/taken.dat"));
            })
      .Then("replace it? No",
            [](QWidget* box) {
              EXPECT_NE(qobject_cast<QMessageBox*>(box), nullptr);
              Key(box, Qt::Key_Escape);
            })
      .Then("a new name, without extension, beyond ASCII", [this](QWidget* window) {
        ChooseFile(window, QString::fromStdString(folder_) + QStringLiteral("/Zo\u00EB"));
      });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  user.Finish();
  EXPECT_EQ(dialog.GetSystemPath(), folder_ + "/Zo\xC3\xAB.dat");
  EXPECT_EQ(std::string(dialog.GetPathName().GetString()), folder_ + "/Zo\xEB.dat");
}

TEST_F(FileDialogTest, CancelIsIdCancel) {
  CFileDialog dialog(FALSE, "dat", "phone.dat");
  ScriptedUser user;
  user.Then("Escape", [](QWidget* window) { Key(window, Qt::Key_Escape); });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  user.Finish();
}

}  // namespace
