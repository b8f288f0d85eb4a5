// A dialog template of res/ in the form the Windows dialog manager reads: an
// extended in-memory template (DLGTEMPLATEEX and one DLGITEMTEMPLATEEX per
// control) for DialogBoxIndirectParamW. Plain data, no Windows headers, so
// its layout can be checked on any platform.
#pragma once

#include <cstdint>
#include <vector>

#include "app/toolkit/dialog_template.h"

namespace win32 {

// The predefined window classes, by their atoms.
inline constexpr std::uint16_t kButtonClass = 0x0080;
inline constexpr std::uint16_t kEditClass = 0x0081;
inline constexpr std::uint16_t kStaticClass = 0x0082;
inline constexpr std::uint16_t kListBoxClass = 0x0083;
inline constexpr unsigned kGroupBoxStyle = 0x7;  // BS_GROUPBOX

// The template as 16-bit words, every item starting on a 32-bit boundary.
// The dialog always has DS_SETFONT with the template's font; texts are
// converted from Windows-1252; an icon control names its icon by number.
// Each label comes just before the control it names (CreationOrder).
std::vector<std::uint16_t> BuildDialogTemplateEx(const DialogTemplate& t);

}  // namespace win32
