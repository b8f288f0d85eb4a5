// The placement rule applied to real windows through the backend, which
// reports and moves their rectangles in screen pixels.
#include "app/toolkit/backend.h"
#include "app/toolkit/window_placement.h"

namespace toolkit {
namespace {

bool SameRect(const CRect& a, const CRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Centred on the owner, or on the work area of the screen it opens on.
void Centre(HWND window, HWND owner) {
  const CRect now = backend::GetWindowRect(window);
  const CRect work = backend::GetWorkArea(owner != nullptr ? owner : window);
  const CRect placed =
      CentredOn(now, owner != nullptr ? backend::GetWindowRect(owner) : work, work);
  if (!SameRect(placed, now)) backend::MoveWindow(window, placed.left, placed.top);
}

}  // namespace

void PlaceDialog(HWND dialog, HWND owner, bool visibleAtCreation, const CRect& before) {
  const bool moved = !SameRect(backend::GetWindowRect(dialog), before);
  if (!ToolkitPlacesDialog(owner != nullptr, visibleAtCreation, moved)) return;
  Centre(dialog, owner);
}

void PlaceMessageBox(HWND box, HWND owner) { Centre(box, owner); }

}  // namespace toolkit
