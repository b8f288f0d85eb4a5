// Icon resources as Qt pixmaps.
#pragma once

#include <QPixmap>

#include "app/toolkit/dialog_template.h"
#include "app/toolkit/win_types.h"

namespace toolkit {

// The icon's images, loaded once and kept until Qt stops; nullptr before
// the application object exists.
HICON LoadIconResource(const IconResource& resource);
// The image of `size` pixels, or the largest one scaled; null for no icon.
QPixmap IconPixmap(HICON icon, int size);

}  // namespace toolkit
