// The placement rule on window rectangles in screen pixels: no window
// needed, so the rule is tested on its own.
#include "app/toolkit/window_placement.h"

#include <algorithm>

namespace toolkit {

CRect CentredOn(const CRect& window, const CRect& over, const CRect& workArea) {
  const int width = window.Width();
  const int height = window.Height();
  int left = over.left + (over.Width() - width) / 2;
  int top = over.top + (over.Height() - height) / 2;
  left = std::max(workArea.left, std::min(left, workArea.right - width));
  top = std::max(workArea.top, std::min(top, workArea.bottom - height));
  return {left, top, left + width, top + height};
}

bool ToolkitPlacesDialog(bool hasOwner, bool visibleAtCreation, bool movedByInit) {
  if (movedByInit) return false;
  return !hasOwner || !visibleAtCreation;
}

}  // namespace toolkit
