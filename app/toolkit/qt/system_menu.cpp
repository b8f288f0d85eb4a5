// The system menu of a dialog with WS_SYSMENU, drawn by the toolkit: opened
// with a right-click on the dialog's background or Alt+Space, its items are
// those of the dialog's CMenu, and a choice comes back as WM_SYSCOMMAND.
#include <QAction>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPointer>

#include "app/toolkit/qt/dialog_window.h"
#include "app/toolkit/qt/qt_text.h"

namespace toolkit {

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
  // The background: the window itself, its labels, pictures and frames.
  const QWidget* under = childAt(event->pos());
  const bool background = under == nullptr || qobject_cast<const QLabel*>(under) != nullptr ||
                          qobject_cast<const QGroupBox*>(under) != nullptr;
  if (HasSystemMenu() && background) {
    OpenSystemMenu(event->globalPos());
    event->accept();
  }
}

void DialogWindow::OpenSystemMenu(const QPoint& globalPos) {
  const CMenu* items = events_->SystemMenu();
  if (items == nullptr) return;
  QMenu menu(this);
  menu.setObjectName(QStringLiteral("systemMenu"));
  for (const CMenu::Item& item : items->Items()) {
    if (item.flags & MF_SEPARATOR) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(ToQt(item.text));
    action->setData(item.id);
    action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
  }
  QPointer<DialogWindow> self(this);
  const QAction* chosen = menu.exec(globalPos);
  if (chosen != nullptr && self) events_->SysCommand(chosen->data().toUInt());
}

}  // namespace toolkit
