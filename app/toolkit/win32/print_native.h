// Printing with GDI behind plain C++ types (no <windows.h> here): the
// system's print dialog, a report's pages drawn on a device context, the
// progress window of a long print, and the Ctrl+P key of the dialogs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/toolkit/win32/native.h"
#include "report/page.h"

namespace win32 {

// Where a page's points land on a device: its dots per point, and the corner
// of the area the device can print, in dots from the sheet's corner (where
// the device's own origin is).
struct PageGeometry {
  double dotsPerPointX = 1;
  double dotsPerPointY = 1;
  int offsetX = 0;
  int offsetY = 0;
};

// Draws one page on `dc`: text with ExtTextOutW in Arial at the run's size,
// lines and frames with black pens. The five bytes Windows-1252 leaves
// undefined print as "?".
void DrawPage(Dc dc, const report::Page& page, const PageGeometry& geometry);

enum class PrintOutcome { printed, cancelled, failed };

// PrintDlgExW owned by `owner`, then the pages laid out for the chosen
// printer's paper, printed page by page while `progressTemplate` (an extended
// dialog template with a label numbered `progressLabel` and a Cancel
// button) shows how far it got once there are more than a few pages.
PrintOutcome PrintWithDialog(
    Window owner, std::string_view cp1252Title,
    const std::function<report::Document(const report::PaperSize&)>& layOut,
    const std::vector<std::uint16_t>& progressTemplate, int progressLabel, std::string* failure);

// From now on, Ctrl+P in a modal dialog of this thread sends the dialog
// WM_COMMAND with `command`. Once is enough; later calls do nothing.
void InstallPrintKey(int command);

}  // namespace win32
