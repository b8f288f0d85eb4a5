// Icon resources as Qt pixmaps, loaded once and kept until the toolkit stops.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <map>
#include <memory>

#include "app/toolkit/qt/icons.h"

struct HICON__ {
  std::map<int, QPixmap> images;  // by size in pixels
};

namespace toolkit {
namespace {

std::map<const IconResource*, std::unique_ptr<HICON__>>& Cache() {
  static std::map<const IconResource*, std::unique_ptr<HICON__>> cache;
  return cache;
}

// Pixmaps must go before the application object does.
void ClearCache() { Cache().clear(); }

}  // namespace

HICON LoadIconResource(const IconResource& resource) {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return nullptr;
  auto& cache = Cache();
  if (auto found = cache.find(&resource); found != cache.end()) return found->second.get();
  if (cache.empty()) qAddPostRoutine(ClearCache);
  auto icon = std::make_unique<HICON__>();
  for (const IconImage& image : resource.images) icon->images[image.size] = QPixmap(image.xpm);
  return (cache[&resource] = std::move(icon)).get();
}

QPixmap IconPixmap(HICON icon, int size) {
  if (icon == nullptr || icon->images.empty()) return {};
  if (auto exact = icon->images.find(size); exact != icon->images.end()) return exact->second;
  return icon->images.rbegin()->second.scaled(size, size, Qt::KeepAspectRatio,
                                              Qt::SmoothTransformation);
}

}  // namespace toolkit
