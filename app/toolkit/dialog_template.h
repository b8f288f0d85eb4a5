// The dialog template format: what a dialog window and each of its controls
// are made of, in dialog units. res/ holds the program's templates in it; the
// toolkit builds a window from one on every modal run.
#pragma once

#include <span>

// Window styles (dialog and controls).
constexpr unsigned WS_POPUP = 0x80000000u;
constexpr unsigned WS_CHILD = 0x40000000u;
constexpr unsigned WS_VISIBLE = 0x10000000u;
constexpr unsigned WS_DISABLED = 0x08000000u;
constexpr unsigned WS_CAPTION = 0x00C00000u;
constexpr unsigned WS_BORDER = 0x00800000u;
constexpr unsigned WS_VSCROLL = 0x00200000u;
constexpr unsigned WS_HSCROLL = 0x00100000u;
constexpr unsigned WS_SYSMENU = 0x00080000u;
constexpr unsigned WS_GROUP = 0x00020000u;
constexpr unsigned WS_TABSTOP = 0x00010000u;
constexpr unsigned WS_MINIMIZEBOX = 0x00020000u;  // on the dialog only
constexpr unsigned WS_MAXIMIZEBOX = 0x00010000u;  // on the dialog only
constexpr unsigned DS_MODALFRAME = 0x80u;
constexpr unsigned DS_SETFONT = 0x40u;
constexpr unsigned DS_FIXEDSYS = 0x08u;
// The shell dialog font: "MS Shell Dlg" becomes the system's TrueType dialog
// font, with the metrics of the old bitmap one and sharp at any scale.
constexpr unsigned DS_SHELLFONT = DS_SETFONT | DS_FIXEDSYS;
constexpr unsigned WS_EX_APPWINDOW = 0x00040000u;

// Push buttons.
constexpr unsigned BS_PUSHBUTTON = 0x0u;
constexpr unsigned BS_DEFPUSHBUTTON = 0x1u;
// Edits.
constexpr unsigned ES_LEFT = 0x0u;
constexpr unsigned ES_AUTOHSCROLL = 0x80u;
// Static text and pictures.
constexpr unsigned SS_LEFT = 0x0u;
constexpr unsigned SS_ICON = 0x3u;
constexpr unsigned SS_NOPREFIX = 0x80u;
// List boxes.
constexpr unsigned LBS_NOTIFY = 0x1u;
constexpr unsigned LBS_SORT = 0x2u;
constexpr unsigned LBS_NOINTEGRALHEIGHT = 0x100u;

// The kind of window a control is; its style bits are read in that light.
enum class ControlKind { kEdit, kLabel, kPushButton, kGroupBox, kIcon, kListBox };

struct ControlTemplate {
  int id;  // -1 for controls that nobody addresses
  ControlKind kind;
  const char* text;  // Windows-1252; "&" marks a mnemonic; "" for none
  int x, y, cx, cy;  // dialog units
  unsigned style;
  int iconId = 0;  // kIcon only: the icon resource shown
};

struct DialogTemplate {
  int id;
  const char* caption;  // Windows-1252; "" when the dialog sets it itself
  int x, y, cx, cy;     // dialog units; cx, cy are the client area
  const char* fontName;
  int pointSize;
  unsigned style;
  unsigned exStyle;
  std::span<const ControlTemplate> controls;  // template order, also the tab order
};

// An icon resource: the same picture in several sizes, each an XPM image.
struct IconImage {
  int size;                // width and height in pixels
  const char* const* xpm;  // XPM lines, as Qt and most image tools read them
};

struct IconResource {
  int id;
  std::span<const IconImage> images;
};
