// Windows-1252 to and from QString.
#include "app/toolkit/qt/qt_text.h"

#include "text/cp1252.h"

namespace toolkit {

QString ToQt(std::string_view cp1252Text) {
  const std::string utf8 = cp1252::ToUtf8(cp1252Text);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQt(const QString& text) { return cp1252::FromUtf8(text.toStdString()).text; }

}  // namespace toolkit
