// The Qt side of CWnd and CDialog, for the toolkit's own sources and for
// tests that drive real widgets: find a running dialog's window and its
// controls by number, tell which template a window was built from, end a
// modal run that a test has given up on.
#pragma once

#include <QWidget>

#include "app/toolkit/cdialog.h"
#include "app/toolkit/dialog_window.h"

class QApplication;

namespace toolkit {

// Reaches the private parts of CWnd and CDialog; the toolkit's sources only.
struct Access {
  static QWidget* Widget(const CWnd& window);
  static void Attach(CWnd& window, QWidget* widget);
  static void DropItems(CWnd& window);  // forgets the GetDlgItem objects
  static const MessageMap* MapOf(const CWnd& window) { return window.GetMessageMap(); }
  static CMenu& SystemMenuOf(CDialog& dialog) { return dialog.systemMenu_; }
};

// The window of a running dialog, or nullptr when it is not running.
DialogWindow* WindowOf(const CWnd& dialog);

// Window is a toolkit window (dialog or message box): its control numbered id,
// or nullptr.
QWidget* FindControl(QWidget* window, int id);

// The template number a toolkit window was built from, 0 for a message box,
// -1 for any other widget (or nullptr).
int TemplateIdOf(const QWidget* window);

// Ends the modal run of a toolkit window with code, as EndDialog would;
// does nothing for other widgets.
void EndModal(QWidget* window, int code);

// The look the dialogs are laid out for: the Fusion style and the dialog
// font. AfxWinMain applies it; tests that start their own QApplication call it.
void ApplyLook(QApplication& app);

}  // namespace toolkit
