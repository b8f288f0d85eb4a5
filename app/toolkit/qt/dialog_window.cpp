// The window of a running dialog: its controls, its modal run, painting,
// closing and icons.
#include "app/toolkit/qt/dialog_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <memory>

#include "app/toolkit/accessible_names.h"
#include "app/toolkit/qt/controls.h"
#include "app/toolkit/qt/dialog_font.h"
#include "app/toolkit/qt/icons.h"
#include "app/toolkit/qt/qt_text.h"

namespace toolkit {

DialogWindow::DialogWindow(QWidget* owner, DialogEvents* events, int templateId, unsigned style,
                           bool appWindow, const QFont& font)
    : QWidget(owner), events_(events), templateId_(templateId), style_(style) {
  Qt::WindowFlags flags = (appWindow ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint;
  if (style & WS_CAPTION) flags |= Qt::WindowTitleHint;
  if (style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  setWindowFlags(flags);
  setWindowModality(Qt::ApplicationModal);
  setFont(font);
  base_ = BaseUnitsOf(font);
  setProperty("kestrelTemplateId", templateId);
  installEventFilter(this);
}

DialogWindow::~DialogWindow() = default;

QWidget* DialogWindow::AddControl(const ControlTemplate& c, const QRect& r) {
  QWidget* widget = MakeControl(*this, c, r);
  widget->installEventFilter(this);
  controls_.push_back({c.id, c.kind, c.style, widget, MnemonicFor(c.kind, c.style, c.text ? c.text : "")});
  if (c.kind == ControlKind::kGroupBox) widget->lower();
  return widget;
}

QWidget* DialogWindow::ControlWidget(int id) const {
  for (const Control& control : controls_) {
    if (control.id == id) return control.widget;
  }
  return nullptr;
}

int DialogWindow::Run(bool focusFirstTabStop) {
  if (!ended_) {
    show();
    activateWindow();
    if (focusFirstTabStop) FocusFirstTabStop();
    UpdateDefaultLook();
    QEventLoop loop;
    loop_ = &loop;
    if (!ended_) loop.exec(QEventLoop::DialogExec);
    loop_ = nullptr;
    hide();
    // The window underneath gets the keyboard back, with or without a window manager.
    if (QWidget* owner = parentWidget()) owner->window()->activateWindow();
  }
  return result_;
}

void DialogWindow::End(int code) {
  if (ended_) return;
  ended_ = true;
  result_ = code;
  if (loop_ != nullptr) loop_->exit(code);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
  // Only End closes the window. The close box is the system menu's Close.
  event->ignore();
  if (HasSystemMenu()) events_->SysCommand(SC_CLOSE);
}

void DialogWindow::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter_ = &painter;
  events_->Paint();
  painter_ = nullptr;
}

HICON DialogWindow::SetIcon(HICON icon, bool big) {
  HICON& slot = big ? bigIcon_ : smallIcon_;
  HICON previous = slot;
  slot = icon;
  QIcon windowIcon;
  if (bigIcon_) windowIcon.addPixmap(IconPixmap(bigIcon_, 32));
  if (smallIcon_) windowIcon.addPixmap(IconPixmap(smallIcon_, 16));
  setWindowIcon(windowIcon);
  return previous;
}

void DialogWindow::TextChanged(QWidget* control, std::string_view text) {
  for (Control& c : controls_) {
    if (c.widget == control) c.mnemonic = MnemonicFor(c.kind, c.style, text);
  }
}

DialogWindow* BuildDialogWindow(const DialogTemplate& t, QWidget* owner, DialogEvents* events) {
  const bool appWindow = (t.exStyle & WS_EX_APPWINDOW) != 0;
  auto* window = new DialogWindow(appWindow ? nullptr : owner, events, t.id, t.style, appWindow,
                                  DialogFont(t.fontName, t.pointSize));
  const BaseUnits base = window->Base();
  window->setWindowTitle(ToQt(t.caption ? t.caption : ""));
  window->setFixedSize(DialogXToPixels(t.cx, base), DialogYToPixels(t.cy, base));
  for (const ControlTemplate& c : t.controls) {
    window->AddControl(c, QRect(DialogXToPixels(c.x, base), DialogYToPixels(c.y, base),
                                DialogXToPixels(c.cx, base), DialogYToPixels(c.cy, base)));
  }
  // Edits and the list box are named after the label on their row (which
  // becomes their buddy), so a screen reader says "Last Name", not the value.
  const auto& controls = window->Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].kind != ControlKind::kEdit && controls[i].kind != ControlKind::kListBox) continue;
    controls[i].widget->setAccessibleName(ToQt(AccessibleName(t, i)));
    const int label = LabelOf(t, i);
    if (label >= 0) {
      static_cast<QLabel*>(controls[static_cast<std::size_t>(label)].widget)->setBuddy(controls[i].widget);
    }
  }
  return window;
}

namespace backend {

int RunModalDialog(const DialogTemplate& dialog, HWND owner, DialogEvents& events) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return -1;
  std::unique_ptr<DialogWindow> window(BuildDialogWindow(dialog, WidgetOf(owner), &events));
  const bool focusFirst = events.InitDialog(HandleOf(window.get()));
  return window->Run(focusFirst);
}

void EndDialog(HWND dialog, int code) {
  if (auto* window = dynamic_cast<DialogWindow*>(WidgetOf(dialog))) window->End(code);
}

}  // namespace backend
}  // namespace toolkit
