// A scripted user for tests that run modal dialogs in-process on the offscreen
// platform: it answers each dialog, message box and menu as it opens, in the
// order the test gave, and fails the test instead of hanging when something
// is never answered.
//
//   ScriptedUser user;
//   user.Then("form: type a last name, search", [](QWidget* form) {
//     EXPECT_EQ(TemplateOf(form), IDD_KESTREL_DIALOG);
//     Type(form, IDC_LAST_NAME, "smi");
//     Click(form, IDC_SEARCH);
//   });
//   EXPECT_EQ(searchDlg.DoModal(), IDOK);
//   user.Finish();  // a failure for each step that never ran
//
// How it runs. A zero-delay timer polls for the window on top: the open popup
// menu if there is one (QApplication::activePopupWidget), else the active
// modal window (QApplication::activeModalWidget). The next step runs on that
// window as soon as it is a different window from the one the previous step
// acted on. A step that opens another modal window (a click that shows a
// message box) does not block the script: the poll keeps running inside the
// nested modal loop, so the next step answers the box while the previous step
// is still inside its click, and the step after that acts on the window that
// is on top once the box has gone. Steps added with ThenAgain run on the top
// window even when it is the previous step's window, once that step returned.
//
// Failures. A window that opens when no step is left is ended at once (code
// -1, see toolkit::EndModal) and reported. After the time limit every open
// menu is closed and every modal window ended with -1, the steps not run are
// reported, and DoModal returns -1 to the test, which then fails on its own
// expectations too. Steps use EXPECT_/ADD_FAILURE freely; an ASSERT_ in a step
// only leaves that step.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class ScriptedUser {
 public:
  using Step = std::function<void(QWidget* window)>;

  explicit ScriptedUser(std::chrono::milliseconds limit = std::chrono::seconds(10));
  ~ScriptedUser();
  ScriptedUser(const ScriptedUser&) = delete;
  ScriptedUser& operator=(const ScriptedUser&) = delete;

  // Adds a step for the next window that comes on top.
  ScriptedUser& Then(std::string name, Step step);
  // Adds a step for the window on top, which may be the previous step's.
  ScriptedUser& ThenAgain(std::string name, Step step);

  // Stops polling and reports every step that never ran. Called by the
  // destructor if the test did not.
  void Finish();
  int StepsRun() const { return static_cast<int>(next_); }

 private:
  struct Entry {
    std::string name;
    Step step;
    bool sameWindow;
  };
  void Poll();
  void Arm(int delayMs);
  void GiveUp(const std::string& why);

  std::vector<Entry> steps_;
  std::size_t next_ = 0;
  int depth_ = 0;  // steps running now (nested inside one another)
  QPointer<QWidget> lastWindow_;
  bool finished_ = false;
  bool gaveUp_ = false;
  std::chrono::steady_clock::time_point deadline_;
  std::unique_ptr<QObject> context_;  // cancels pending polls when the user goes
};

// What steps do to a toolkit window, through real key and mouse events.
// Control ids are those of the window's template.
QWidget* Control(QWidget* window, int id);                // ADD_FAILURE and nullptr if missing
void Focus(QWidget* window, int id);                      // the focus to the control
int TemplateOf(const QWidget* window);                    // template id, 0 message box, -1 other
void Click(QWidget* window, int id);                      // mouse click on the control
void Type(QWidget* window, int id, const QString& text);  // click into an edit, then type
void Key(QWidget* window, int key,
         Qt::KeyboardModifiers modifiers = Qt::NoModifier);  // to the focus
QString Text(QWidget* window, int id);                       // an edit's text, a button's label
int FocusedId(QWidget* window);            // control id with the focus, 0 for none
QString MessageText(QWidget* messageBox);  // the text of a message box
QString MessageIcon(QWidget* messageBox);  // its icon: "stop", "information", ...; "" for none
void RightClickBackground(QWidget* window, QPoint at = QPoint(2, 2));  // the system menu
// A file dialog (CFileDialog): the name in its file name box, and choosing a
// file by putting `path` there and pressing Enter.
QString OfferedFileName(QWidget* fileDialog);
void ChooseFile(QWidget* fileDialog, const QString& path);
