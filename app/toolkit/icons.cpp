// Icon resources as Qt pixmaps, loaded once and kept until the toolkit stops.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <map>
#include <memory>

#include "app/toolkit/dialog_window.h"
#include "res/resources.h"

struct HICON__ {
  std::map<int, QPixmap> images;  // by size in pixels
};

namespace toolkit {
namespace {

std::map<int, std::unique_ptr<HICON__>>& Cache() {
  static std::map<int, std::unique_ptr<HICON__>> cache;
  return cache;
}

// Pixmaps must go before the application object does.
void ClearCache() { Cache().clear(); }

}  // namespace

HICON LoadIconResource(int id) {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return nullptr;
  auto& cache = Cache();
  if (auto found = cache.find(id); found != cache.end()) return found->second.get();
  const IconResource* resource = FindIconResource(id);
  if (resource == nullptr) return nullptr;
  if (cache.empty()) qAddPostRoutine(ClearCache);
  auto icon = std::make_unique<HICON__>();
  for (const IconImage& image : resource->images) icon->images[image.size] = QPixmap(image.xpm);
  return (cache[id] = std::move(icon)).get();
}

QPixmap IconPixmap(HICON icon, int size) {
  if (icon == nullptr || icon->images.empty()) return {};
  if (auto exact = icon->images.find(size); exact != icon->images.end()) return exact->second;
  return icon->images.rbegin()->second.scaled(size, size, Qt::KeepAspectRatio,
                                              Qt::SmoothTransformation);
}

}  // namespace toolkit
