// The scripted user's polling and its actions on real widgets.
#include "tests/support/scripted_user.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QtTest/QTest>

#include "app/toolkit/qt/qt_windows.h"
#include "gtest/gtest.h"

namespace {

QWidget* TopWindow() {
  if (QWidget* popup = QApplication::activePopupWidget()) return popup;
  return QApplication::activeModalWidget();
}

std::string Describe(const QWidget* window) {
  if (window == nullptr) return "no window";
  const int id = toolkit::TemplateIdOf(window);
  std::string what = id > 0    ? "dialog " + std::to_string(id)
                     : id == 0 ? "message box"
                               : window->metaObject()->className();
  return what + " \"" + window->windowTitle().toStdString() + "\"";
}

void Dismiss(QWidget* window) {
  if (toolkit::TemplateIdOf(window) >= 0) {
    toolkit::EndModal(window, -1);
  } else {
    window->close();
  }
}

}  // namespace

ScriptedUser::ScriptedUser(std::chrono::milliseconds limit)
    : deadline_(std::chrono::steady_clock::now() + limit), context_(std::make_unique<QObject>()) {
  Arm(0);
}

ScriptedUser::~ScriptedUser() { Finish(); }

ScriptedUser& ScriptedUser::Then(std::string name, Step step) {
  steps_.push_back({std::move(name), std::move(step), false});
  return *this;
}

ScriptedUser& ScriptedUser::ThenAgain(std::string name, Step step) {
  steps_.push_back({std::move(name), std::move(step), true});
  return *this;
}

void ScriptedUser::Arm(int delayMs) {
  QTimer::singleShot(delayMs, context_.get(), [this] { Poll(); });
}

void ScriptedUser::Poll() {
  if (finished_) return;
  // Re-arm first: a step that opens a nested modal loop keeps this user polling in it.
  Arm(2);
  QWidget* top = TopWindow();
  if (gaveUp_) {
    if (top) Dismiss(top);
    return;
  }
  if (std::chrono::steady_clock::now() > deadline_) {
    GiveUp("time limit reached on " + Describe(top));
    return;
  }
  if (top == nullptr) return;
  if (next_ >= steps_.size()) {
    if (top != lastWindow_) {
      ADD_FAILURE() << "scripted user: " << Describe(top) << " opened, but no step is left for it";
      Dismiss(top);
    }
    return;
  }
  const Entry& entry = steps_[next_];
  const bool ready = entry.sameWindow ? depth_ == 0 : top != lastWindow_.data();
  if (!ready) return;
  ++next_;
  lastWindow_ = top;
  ++depth_;
  SCOPED_TRACE("scripted user step \"" + entry.name + "\" on " + Describe(top));
  entry.step(top);
  --depth_;
}

void ScriptedUser::GiveUp(const std::string& why) {
  gaveUp_ = true;
  std::string pending;
  for (std::size_t i = next_; i < steps_.size(); ++i) pending += " \"" + steps_[i].name + "\"";
  ADD_FAILURE() << "scripted user: " << why
                << "; steps not run:" << (pending.empty() ? " none" : pending);
  while (QWidget* top = TopWindow()) {
    Dismiss(top);
    QCoreApplication::processEvents();
    if (top == TopWindow()) break;  // nested loops unwind from their own callers
  }
}

void ScriptedUser::Finish() {
  if (finished_) return;
  finished_ = true;
  context_.reset();
  if (gaveUp_) return;
  for (std::size_t i = next_; i < steps_.size(); ++i) {
    ADD_FAILURE() << "scripted user: step \"" << steps_[i].name << "\" never ran";
  }
}

QWidget* Control(QWidget* window, int id) {
  QWidget* control = toolkit::FindControl(window, id);
  if (control == nullptr) ADD_FAILURE() << "no control " << id << " in " << Describe(window);
  return control;
}

void Focus(QWidget* window, int id) {
  if (QWidget* control = Control(window, id)) control->setFocus();
}

int TemplateOf(const QWidget* window) { return toolkit::TemplateIdOf(window); }

void Click(QWidget* window, int id) {
  if (QWidget* control = Control(window, id)) {
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, control->rect().center());
  }
}

void Type(QWidget* window, int id, const QString& text) {
  QWidget* control = Control(window, id);
  if (control == nullptr) return;
  QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, control->rect().center());
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c.unicode() < 0x80) {
      QTest::keyClick(control, c.toLatin1());
      continue;
    }
    // Beyond ASCII QTest has no key codes; a key event carrying the text is what
    // an input method delivers.
    QString chunk(c);
    if (c.isHighSurrogate() && i + 1 < text.size()) chunk += text.at(++i);
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, chunk);
    QApplication::sendEvent(control, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, chunk);
    QApplication::sendEvent(control, &release);
  }
}

void Key(QWidget* window, int key, Qt::KeyboardModifiers modifiers) {
  QWidget* target = window->focusWidget() ? window->focusWidget() : window;
  QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

QString Text(QWidget* window, int id) {
  QWidget* control = Control(window, id);
  return control ? toolkit::ToQt(toolkit::WindowTextOf(control)) : QString();
}

int FocusedId(QWidget* window) {
  QWidget* focus = window->focusWidget();
  return focus ? focus->property("kestrelControlId").toInt() : 0;
}

QString MessageText(QWidget* messageBox) {
  auto* label = messageBox->findChild<QLabel*>(QStringLiteral("messageText"));
  return label ? label->text() : QString();
}

QString MessageIcon(QWidget* messageBox) {
  auto* icon = messageBox->findChild<QLabel*>(QStringLiteral("messageIcon"));
  return icon ? icon->property("kestrelIcon").toString() : QString();
}

void RightClickBackground(QWidget* window, QPoint at) {
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, window->mapToGlobal(at));
  QApplication::sendEvent(window, &event);
}

namespace {

// Qt's own file dialog names its file name box so.
QLineEdit* FileNameBox(QWidget* fileDialog) {
  auto* box = fileDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (box == nullptr) ADD_FAILURE() << "no file name box in " << Describe(fileDialog);
  return box;
}

}  // namespace

QString OfferedFileName(QWidget* fileDialog) {
  QLineEdit* box = FileNameBox(fileDialog);
  return box ? box->text() : QString();
}

void ChooseFile(QWidget* fileDialog, const QString& path) {
  QLineEdit* box = FileNameBox(fileDialog);
  if (box == nullptr) return;
  // A file still selected in the list from an earlier choice wins over the
  // name in the box unless the box has the focus, which an offscreen window
  // may not give: drop the selection first.
  for (QAbstractItemView* view : fileDialog->findChildren<QAbstractItemView*>()) {
    if (view->selectionModel() != nullptr) view->clearSelection();
  }
  box->setFocus();
  // Set, not typed: typing would open the completer's popup over the dialog.
  box->setText(path);
  QTest::keyClick(box, Qt::Key_Return);
}
