// The dialog manager's keyboard on Qt: Tab and Shift+Tab, Enter, Escape,
// mnemonics, Alt+Space, and Ctrl+P (the print command). The rules themselves are the core's
// (dialog_rules.h); this file feeds them the controls' state and acts.
#include <QKeyEvent>
#include <QPushButton>

#include "app/toolkit/qt/dialog_window.h"

namespace toolkit {

std::vector<ControlState> DialogWindow::States() const {
  std::vector<ControlState> states;
  states.reserve(controls_.size());
  for (const Control& c : controls_) {
    // A control that takes no focus at all (a button made so) is no tab stop.
    const unsigned style =
        c.widget->focusPolicy() == Qt::NoFocus ? c.style & ~WS_TABSTOP : c.style;
    states.push_back({c.kind, style, !c.widget->isHidden(), c.widget->isEnabled(), c.mnemonic});
  }
  return states;
}

int DialogWindow::FocusedIndex() const {
  const QWidget* focus = focusWidget();
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i].widget == focus) return static_cast<int>(i);
  }
  return -1;
}

void DialogWindow::Focus(int index, Qt::FocusReason reason) {
  if (index < 0) return;
  controls_[static_cast<std::size_t>(index)].widget->setFocus(reason);
  UpdateDefaultLook();
}

void DialogWindow::Click(int index) {
  static_cast<QPushButton*>(controls_[static_cast<std::size_t>(index)].widget)->click();
}

void DialogWindow::MoveFocus(bool forward) {
  Focus(NextTabStop(States(), FocusedIndex(), forward),
        forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void DialogWindow::FocusFirstTabStop() {
  const int first = NextTabStop(States(), -1, /*forward=*/true);
  if (first >= 0) controls_[static_cast<std::size_t>(first)].widget->setFocus(Qt::TabFocusReason);
}

void DialogWindow::PressEnter() {
  const EnterAction action = OnEnter(States(), FocusedIndex());
  if (action.kind == EnterAction::kClick) {
    Click(action.control);
  } else if (action.kind == EnterAction::kCommandOk) {
    events_->Command(BN_CLICKED, IDOK);
  }
}

// The focused push button looks like the default one; with the focus
// elsewhere, the template's default button does.
void DialogWindow::UpdateDefaultLook() {
  const int look = DefaultLookButton(States(), FocusedIndex());
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i].kind != ControlKind::kPushButton) continue;
    static_cast<QPushButton*>(controls_[i].widget)->setDefault(static_cast<int>(i) == look);
  }
}

namespace {

Qt::KeyboardModifiers ModifiersOf(const QKeyEvent* event) {
  return event->modifiers() &
         (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

}  // namespace

bool DialogWindow::WantsKey(QKeyEvent* event) const {
  const auto mods = ModifiersOf(event);
  switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      return !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    case Qt::Key_P:
      if (mods == Qt::ControlModifier) return true;
      return mods == Qt::AltModifier;
    default:
      return mods == Qt::AltModifier;
  }
}

bool DialogWindow::HandleKey(QKeyEvent* event) {
  const auto mods = ModifiersOf(event);
  const bool plain = !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  const int key = event->key();
  if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && plain) {
    MoveFocus(key == Qt::Key_Tab && !(mods & Qt::ShiftModifier));
    return true;
  }
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && plain) {
    PressEnter();
    return true;
  }
  if (key == Qt::Key_Escape && plain) {
    events_->Command(BN_CLICKED, IDCANCEL);
    return true;
  }
  if (key == Qt::Key_P && mods == Qt::ControlModifier) {
    events_->Command(BN_CLICKED, ID_FILE_PRINT);
    return true;
  }
  if (key == Qt::Key_Space && mods == Qt::AltModifier) {
    if (HasSystemMenu()) OpenSystemMenu(mapToGlobal(QPoint(0, 0)));
    return true;
  }
  const bool letter =
      (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9);
  if (!letter) return false;
  // Alt+letter anywhere; the letter alone while the focus is on a push button,
  // which takes no typing.
  const int focused = FocusedIndex();
  const bool onButton =
      focused >= 0 && controls_[static_cast<std::size_t>(focused)].kind == ControlKind::kPushButton;
  if (mods != Qt::AltModifier && !(mods == Qt::NoModifier && onButton)) return false;
  // Qt's key codes for A-Z and 0-9 are their ASCII values.
  const MnemonicAction action = OnMnemonic(States(), static_cast<char>(key));
  if (action.kind == MnemonicAction::kClick) {
    Click(action.control);
    return true;
  }
  if (action.kind == MnemonicAction::kFocus) {
    Focus(action.control, Qt::ShortcutFocusReason);
    return true;
  }
  return mods == Qt::AltModifier;
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    // Keys the dialog manager handles arrive as key presses, not as shortcuts.
    if (WantsKey(static_cast<QKeyEvent*>(event))) {
      event->accept();
      return true;
    }
  } else if (event->type() == QEvent::KeyPress) {
    if (HandleKey(static_cast<QKeyEvent*>(event))) return true;
  } else if (event->type() == QEvent::FocusIn && watched != this) {
    UpdateDefaultLook();
  }
  return QWidget::eventFilter(watched, event);
}

bool DialogWindow::focusNextPrevChild(bool next) {
  MoveFocus(next);
  return true;
}

}  // namespace toolkit
