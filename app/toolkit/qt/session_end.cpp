// The end of the desktop session on Qt: the session manager's commit-data
// request. Kestrel has nothing to save at that moment (every change of the
// session is in its journal already) and never asks the user, so the logout
// goes on at once; the windows the desktop then closes leave the journal to
// be offered at the next start.
//
// SIGTERM and SIGHUP keep their default action and end the process at once,
// which leaves the journal as it is. Turned into a quit, they would close the
// main form as the user's "Discard and Exit" does.
#include <QGuiApplication>
#include <QSessionManager>

#include "app/toolkit/session_end.h"

void toolkit::WatchSessionEnd() {
#ifndef QT_NO_SESSIONMANAGER
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (app == nullptr) return;
  QObject::connect(app, &QGuiApplication::commitDataRequest, [](QSessionManager& manager) {
    SetSessionEnding(true);
    manager.setRestartHint(QSessionManager::RestartNever);  // the program takes no arguments to restore
  });
#endif
}
