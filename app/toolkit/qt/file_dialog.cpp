// The file dialog on Qt: a QFileDialog, run modally over the dialog that asked.
#include <QFile>
#include <QFileDialog>

#include "app/toolkit/backend.h"
#include "app/toolkit/qt/dialog_window.h"
#include "app/toolkit/qt/qt_text.h"

namespace toolkit::backend {

bool RunFileDialog(HWND owner, const CFileDialog::Request& request, std::filesystem::path* chosen) {
  QFileDialog dialog(WidgetOf(owner));
  dialog.setObjectName(QStringLiteral("fileDialog"));
  dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(request.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (!(request.flags & OFN_OVERWRITEPROMPT)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  QStringList filters;
  for (const auto& [description, patterns] : request.filters) {
    // "*.dat;*.bak" is written "(*.dat *.bak)" here; "*.*" means every file.
    QString qtPatterns = ToQt(patterns).replace(QLatin1Char(';'), QLatin1Char(' '));
    qtPatterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
    filters << ToQt(description) + QStringLiteral(" (") + qtPatterns + QLatin1Char(')');
  }
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(ToQt(request.defaultExtension));
  if (!request.fileName.empty()) dialog.selectFile(ToQt(request.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  const QByteArray local = QFile::encodeName(dialog.selectedFiles().first());
  *chosen = std::filesystem::path(std::string(local.constData(), static_cast<std::size_t>(local.size())));
  return true;
}

}  // namespace toolkit::backend
