// icon_export: writes the small sizes of the desktop theme's icon (a PNG for
// each XPM image) from the very pixels the program shows, so the menu and the
// window agree. The larger sizes come from the scalable drawing.
#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>

#include "res/resource.h"
#include "res/resources.h"

namespace {

// "<out>/<size>x<size>/apps/<name>.png"; false when the folder or file cannot be written.
bool WritePng(const QString& outDir, const QString& name, const IconImage& image) {
  const QString folder = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(image.size);
  if (!QDir().mkpath(folder)) return false;
  const QImage pixels = QImage(image.xpm).convertToFormat(QImage::Format_ARGB32);
  return !pixels.isNull() && pixels.save(folder + "/" + name + ".png", "PNG");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: icon_export OUT_DIR ICON_NAME\n");
    return 2;
  }
  const QString outDir = QString::fromLocal8Bit(argv[1]);
  const QString name = QString::fromLocal8Bit(argv[2]);
  const IconResource* icon = FindIconResource(IDR_MAINFRAME);
  if (icon == nullptr || icon->images.empty()) {
    std::fprintf(stderr, "icon_export: the program has no icon %d\n", IDR_MAINFRAME);
    return 1;
  }
  for (const IconImage& image : icon->images) {
    if (!WritePng(outDir, name, image)) {
      std::fprintf(stderr, "icon_export: cannot write the %dx%d PNG under %s\n", image.size,
                   image.size, argv[1]);
      return 1;
    }
  }
  return 0;
}
