// icon_export: writes the program's icon as the files a desktop icon theme
// wants (a PNG for each XPM image and a scalable SVG traced from the largest),
// from the very XPM data the program shows, so the menu and the window agree.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QTextStream>
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

// One rectangle per run of equal opaque pixels in a row, drawn with crisp
// edges: at any size the SVG shows exactly the pixels of the XPM image.
bool WriteSvg(const QString& outDir, const QString& name, const IconImage& image) {
  const QString folder = outDir + "/scalable/apps";
  if (!QDir().mkpath(folder)) return false;
  const QImage pixels = QImage(image.xpm).convertToFormat(QImage::Format_ARGB32);
  if (pixels.isNull()) return false;
  QFile file(folder + "/" + name + ".svg");
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  QTextStream svg(&file);
  const int size = image.size;
  svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << size * 4 << "\" height=\""
      << size * 4 << "\" viewBox=\"0 0 " << size << ' ' << size
      << "\" shape-rendering=\"crispEdges\">\n";
  for (int y = 0; y < pixels.height(); ++y) {
    int x = 0;
    while (x < pixels.width()) {
      const QRgb colour = pixels.pixel(x, y);
      int end = x + 1;
      while (end < pixels.width() && pixels.pixel(end, y) == colour) ++end;
      if (qAlpha(colour) != 0) {
        svg << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << end - x
            << "\" height=\"1\" fill=\"" << QColor(colour).name() << "\"/>\n";
      }
      x = end;
    }
  }
  svg << "</svg>\n";
  svg.flush();
  return file.error() == QFile::NoError;
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
  const IconImage* largest = &icon->images.front();
  for (const IconImage& image : icon->images) {
    if (!WritePng(outDir, name, image)) {
      std::fprintf(stderr, "icon_export: cannot write the %dx%d PNG under %s\n", image.size,
                   image.size, argv[1]);
      return 1;
    }
    if (image.size > largest->size) largest = &image;
  }
  if (!WriteSvg(outDir, name, *largest)) {
    std::fprintf(stderr, "icon_export: cannot write the SVG under %s\n", argv[1]);
    return 1;
  }
  return 0;
}
