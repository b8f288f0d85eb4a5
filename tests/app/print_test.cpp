// Printing from the dialogs, in-process: the Print dialog's choices, the
// paper that a printer's sheet lays out on, and which records reach the
// printer from the main form's system menu and the record dialog's Ctrl+P.
// Qt's print dialog prints to a PDF file here, read back with pdftotext.
#include <stdlib.h>

#include <QAction>
#include <QDialog>
#include <QListView>
#include <QMenu>
#include <QPageSize>
#include <QPrinter>
#include <QtTest/QTest>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/kestrel_app.h"
#include "app/print_dlg.h"
#include "app/print_records.h"
#include "app/toolkit/qt/print_painter.h"
#include "res/resource.h"
#include "search/match_order.h"
#include "tests/app/app_test_support.h"
#include "tests/search/record_maker.h"

namespace {

QListView* ListOf(QWidget* window, int id) { return qobject_cast<QListView*>(Control(window, id)); }

int SelectedRow(QWidget* window, int id) {
  QListView* list = ListOf(window, id);
  if (list == nullptr) return -1;
  const QModelIndexList selected = list->selectionModel()->selectedIndexes();
  return selected.size() == 1 ? selected.first().row() : -1;
}

void ClickRow(QWidget* window, int id, int row) {
  if (QListView* list = ListOf(window, id)) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualRect(list->model()->index(row, 0)).center());
  }
}

TEST(PrintOptionsTest, ThePrinterSheetChoosesTheNearestPaperAndTheListsOrientation) {
  struct Row {
    const char* name;
    report::Layout layout;
    report::PaperSize sheet;
    report::Paper paper;
    bool landscape;
  };
  const Row rows[] = {
      {"A4", report::Layout::list, {595.3, 841.9}, report::Paper::a4, false},
      {"Letter", report::Layout::list, {612, 792}, report::Paper::letter, false},
      {"Letter turned, list", report::Layout::list, {792, 612}, report::Paper::letter, true},
      {"A4 turned, labels", report::Layout::labels, {841.9, 595.3}, report::Paper::a4, false},
      {"Legal (either fits; A4 is nearer)",
       report::Layout::cards,
       {612, 1008},
       report::Paper::a4,
       false},
      {"Letter, a printer's printable size",
       report::Layout::cards,
       {609, 789},
       report::Paper::letter,
       false},
      {"A3", report::Layout::list, {841.9, 1190.6}, report::Paper::a4, false},
  };
  for (const Row& row : rows) {
    report::ReportOptions chosen;
    chosen.layout = row.layout;
    const report::ReportOptions laid = OptionsForSheet(chosen, row.sheet);
    EXPECT_EQ(laid.paper, row.paper) << row.name;
    EXPECT_EQ(laid.landscape, row.landscape) << row.name;
  }
}

class PrintTest : public BookFolderTest {
 protected:
  void SetUp() override {
    BookFolderTest::SetUp();
    pdf_ = folder_ + "/printed.pdf";
    setenv("KESTREL_PRINT_FILE", pdf_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("KESTREL_PRINT_FILE");
    BookFolderTest::TearDown();
  }

  // The printed file's text, or "" when there is none.
  std::string PrintedText() const {
    std::string text;
    const std::string command = "pdftotext -layout '" + pdf_ + "' - 2>/dev/null";
    if (FILE* pipe = popen(command.c_str(), "r")) {
      char chunk[4096];
      for (std::size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) text.append(chunk, n);
      pclose(pipe);
    }
    return text;
  }
  static bool HavePdfToText() { return std::system("pdftotext -v >/dev/null 2>&1") == 0; }

  // Qt's print dialog, offering the test's file: Print.
  static void PrintToTheFile(ScriptedUser& user) {
    user.Then("Qt's print dialog: Print", [](QWidget* dialog) {
      EXPECT_EQ(TemplateOf(dialog), -1);
      static_cast<QDialog*>(dialog)->accept();
    });
  }

  std::string pdf_;
};

// What pdftotext reads from the PDF file `path`, keeping the page's layout.
std::string TextOfPdf(const std::string& path) {
  std::string text;
  const std::string command = "pdftotext -layout '" + path + "' - 2>/dev/null";
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char chunk[4096];
    for (std::size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) text.append(chunk, n);
    pclose(pipe);
  }
  return text;
}

// The same records and layout, printed by Qt's painter here and written by
// kestrel-book's own PDF writer, read back as the same text in the same
// places: the pages break, cut and place their text alike.
TEST_F(PrintTest, QtPrintsTheSameTextAsKestrelBook) {
  if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
  StudentRecord accented = Person("M\xFCller", "Zo\xEB", "555-\x80");
  field_text::Store(accented.fields[address1], "12 Rue de l'\xC9glise");
  field_text::Store(accented.fields[parentName],
                    "Ren\xE9"
                    "e M\xFCller");
  RecordList book = {Person("Lovelace", "Byron", "555-0200"), accented,
                     Person("Babbage", "Charles", "555-0300")};
  for (int i = 0; i < 70; ++i) book.push_back(Person("Pupil", ("P" + std::to_string(i)).c_str()));
  WriteBook(book);
  RecordList listed = book;
  SortMatches(listed);  // kestrel-book prints in the match list's order
  std::vector<const StudentRecord*> records;
  for (const StudentRecord& r : listed) records.push_back(&r);

  const char* kEpoch = "1780000000";  // 2026-05-28 UTC: the date on both
  struct Row {
    const char* layout;
    report::Layout value;
    const char* paper;
    report::PaperSize sheet;
  };
  const Row rows[] = {
      {"list", report::Layout::list, "a4", {595.276, 841.890}},
      {"labels", report::Layout::labels, "letter", {612, 792}},
      {"cards", report::Layout::cards, "a4", {595.276, 841.890}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.layout);
    const std::string theirs = folder_ + "/kestrel-book-" + row.layout + ".pdf";
    const std::string command = std::string("SOURCE_DATE_EPOCH=") + kEpoch +
                                " '" KESTREL_BOOK_TOOL "' print --layout " + row.layout +
                                " --paper " + row.paper + " -f '" + path_ + "' -o '" + theirs + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    report::ReportOptions options;
    options.layout = row.value;
    options.paper = NearestPaper(row.sheet);
    options.bookName = "phone.dat";
    options.date = "2026-05-28";
    const report::Document document = report::LayOut(records, options);
    const std::string ours = folder_ + "/qt-" + row.layout + ".pdf";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(ours));
    printer.setPageSize(QPageSize(QSizeF(row.sheet.width, row.sheet.height), QPageSize::Point));
    ASSERT_TRUE(toolkit::PaintDocument(printer, document));

    const std::string expected = TextOfPdf(theirs);
    EXPECT_NE(expected.find("Zo\u00EB"), std::string::npos) << expected;
    EXPECT_EQ(TextOfPdf(ours), expected);
  }
}

TEST_F(PrintTest, ThePrintDialogHandsBackTheChoicesAndRefusesABadSkip) {
  CPrintDlg dlg;
  dlg.layout = report::Layout::cards;
  ScriptedUser user;
  user.Then("Print: as given; a skip of letters",
            [](QWidget* window) {
              EXPECT_EQ(TemplateOf(window), IDD_PRINT);
              EXPECT_EQ(window->windowTitle(), QStringLiteral("Print"));
              EXPECT_EQ(SelectedRow(window, IDC_PRINT_LAYOUT), 2);
              EXPECT_EQ(SelectedRow(window, IDC_PRINT_TO), 0);
              EXPECT_EQ(Text(window, IDC_PRINT_SKIP), QStringLiteral("0"));
              window->grab().save(QStringLiteral(KESTREL_RENDER_DIR "/print-dialog.png"));
              Erase(window, IDC_PRINT_SKIP);
              Type(window, IDC_PRINT_SKIP, QStringLiteral("2x"));
              Click(window, IDOK);
            })
      .Then("the skip is refused",
            [](QWidget* box) {
              EXPECT_EQ(MessageText(box),
                        QStringLiteral("Type the number of labels to skip, from 0 to 99."));
              Key(box, Qt::Key_Return);
            })
      .Then("Print: labels for parents, skip 5", [](QWidget* window) {
        EXPECT_EQ(FocusedId(window), IDC_PRINT_SKIP);
        ClickRow(window, IDC_PRINT_LAYOUT, 1);
        ClickRow(window, IDC_PRINT_TO, 1);
        Erase(window, IDC_PRINT_SKIP);
        Type(window, IDC_PRINT_SKIP, QStringLiteral(" 5 "));
        Click(window, IDOK);
      });
  EXPECT_EQ(dlg.DoModal(), CPrintDlg::kPrint);
  user.Finish();
  EXPECT_EQ(dlg.layout, report::Layout::labels);
  EXPECT_EQ(dlg.to, report::Addressee::parent);
  EXPECT_EQ(dlg.skipLabels, 5);
}

// The system menu prints what the form's texts match as typed, without a
// search; an empty form prints the whole book.
TEST_F(PrintTest, TheMainFormPrintsTheRecordsItsTextsMatch) {
  if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
  struct Row {
    const char* typed;
    std::vector<const char*> printed, left;
  };
  const Row rows[] = {
      {"lovelace", {"Lovelace, Ada", "Lovelace, Byron"}, {"Babbage"}},
      {"", {"Babbage, Charles", "Lovelace, Ada", "Lovelace, Byron"}, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.typed);
    std::remove(pdf_.c_str());
    WriteBook(
        {Person("Lovelace", "Byron"), Person("Babbage", "Charles"), Person("Lovelace", "Ada")});
    CKestrelApp app(path_.c_str());
    const QString typed = QString::fromLatin1(row.typed);
    ScriptedUser user;
    user.Then("form: type, open the system menu",
              [typed](QWidget* form) {
                if (!typed.isEmpty()) Type(form, IDC_LAST_NAME, typed);
                RightClickBackground(form);
              })
        .Then("system menu: Print",
              [](QWidget* menu) {
                QStringList texts;
                for (const QAction* a : menu->actions())
                  texts << (a->isSeparator() ? "-" : a->text());
                EXPECT_EQ(texts, (QStringList{"&Close", "-", "&Print...", "&About Kestrel"}));
                QTest::keyClick(menu, Qt::Key_P);
              })
        .Then("Print: the list", [](QWidget* window) {
          EXPECT_EQ(SelectedRow(window, IDC_PRINT_LAYOUT), 0);
          Key(window, Qt::Key_Return);
        });
    PrintToTheFile(user);
    user.Then("form: as typed; leave", [typed](QWidget* form) {
      EXPECT_EQ(Text(form, IDC_LAST_NAME), typed);
      Click(form, IDCANCEL);
    });
    EXPECT_EQ(app.InitInstance(), FALSE);
    user.Finish();
    EXPECT_EQ(app.searchDlg.criteria[lastName], "");  // typed, never searched
    const std::string text = PrintedText();
    std::size_t at = 0;
    for (const char* name : row.printed) {
      const std::size_t found = text.find(name, at);
      EXPECT_NE(found, std::string::npos) << name << " in the list's order:\n" << text;
      if (found != std::string::npos) at = found;
    }
    for (const char* name : row.left) EXPECT_EQ(text.find(name), std::string::npos) << name;
  }
}

// Ctrl+P in the record dialog offers the card and prints the record as its
// edits show it, changes not yet saved included.
TEST_F(PrintTest, CtrlPInTheRecordDialogPrintsTheShownRecordsCard) {
  if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
  WriteBook({Person("Lovelace", "Ada"), Person("Babbage", "Charles")});
  CKestrelApp app(path_.c_str());
  ScriptedUser user;
  user.Then("form: search babbage",
            [](QWidget* form) {
              Type(form, IDC_LAST_NAME, QStringLiteral("babbage"));
              Click(form, IDC_SEARCH);
            })
      .Then("record: change the first name, Ctrl+P",
            [](QWidget* dlg) {
              Erase(dlg, IDC_FIRST_NAME);
              Type(dlg, IDC_FIRST_NAME, QStringLiteral("Augusta"));
              Key(dlg, Qt::Key_P, Qt::ControlModifier);
            })
      .Then("Print: the card", [](QWidget* window) {
        EXPECT_EQ(TemplateOf(window), IDD_PRINT);
        EXPECT_EQ(SelectedRow(window, IDC_PRINT_LAYOUT), 2);
        Key(window, Qt::Key_Return);
      });
  PrintToTheFile(user);
  user.Then("record: leave",
            [](QWidget* dlg) {
              EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Matching Record 1 of 1"));
              Key(dlg, Qt::Key_Escape);
            })
      .Then("form: leave", [](QWidget* form) { Click(form, IDCANCEL); });
  EXPECT_EQ(app.InitInstance(), FALSE);
  user.Finish();
  const std::string text = PrintedText();
  EXPECT_NE(text.find("Augusta"), std::string::npos) << text;
  EXPECT_EQ(text.find("Lovelace"), std::string::npos) << text;
}

}  // namespace
