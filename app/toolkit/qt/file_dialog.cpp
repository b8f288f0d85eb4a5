// The file dialog on Qt: Qt's own QFileDialog widget rather than the
// desktop's, so it looks and behaves the same on every desktop and a test
// can drive it like any other window.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include "app/toolkit/cfiledialog.h"
#include "app/toolkit/qt/dialog_window.h"
#include "app/toolkit/qt/qt_text.h"

namespace toolkit {
namespace {

// "Kestrel book (*.dat)|*.dat|All files (*.*)|*.*||" as Qt's name filters.
// Each pair becomes "description (patterns)", whose last brackets Qt reads
// and, with HideNameFilterDetails, leaves out of sight, so the list shows the
// descriptions as given. "*.*" means every file, as on Windows; to Qt it
// would mean only names with a dot.
QStringList NameFilters(std::string_view filter) {
  QStringList parts = ToQt(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;  // the "||" that ends the list
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
      pattern = pattern.trimmed();
      if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
    }
    filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return filters;
}

// The folder the dialog opens in: the current one, unless it has gone (the
// very case in which a book is saved elsewhere), then the home folder.
QString StartFolder() {
  const QString current = QDir::currentPath();
  return !current.isEmpty() && QFileInfo(current).isDir() ? current : QDir::homePath();
}

// Qt's file dialog keeps its folder history and layout in the user's
// QtProject.conf. This program keeps no settings, and where books are saved
// is nobody's business: Qt's settings go to a folder of the run's own,
// removed when the program ends. Nothing else in the program uses them.
void KeepQtSettingsToThisRun() {
  static QTemporaryDir folder;
  static bool moved = false;
  if (moved || !folder.isValid()) return;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
  moved = true;
}

}  // namespace

namespace backend {

bool RunFileDialog(HWND owner, const FileDialogSettings& settings, std::string& path) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return false;
  KeepQtSettingsToThisRun();
  QFileDialog dialog(WidgetOf(owner));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !(settings.flags & OFN_OVERWRITEPROMPT));
  dialog.setAcceptMode(settings.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(settings.open && (settings.flags & OFN_FILEMUSTEXIST)
                         ? QFileDialog::ExistingFile
                         : QFileDialog::AnyFile);
  dialog.setWindowTitle(settings.open ? QStringLiteral("Open") : QStringLiteral("Save As"));
  dialog.setDirectory(StartFolder());
  const QStringList filters = NameFilters(settings.filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(ToQt(settings.defaultExtension));
  if (!settings.fileName.empty()) dialog.selectFile(ToQt(settings.fileName));
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  const QByteArray name = QFile::encodeName(chosen.first());
  path.assign(name.constData(), static_cast<std::size_t>(name.size()));
  return true;
}

}  // namespace backend
}  // namespace toolkit
