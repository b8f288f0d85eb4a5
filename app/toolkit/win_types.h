// The handle types, numbers and flags that dialog code passes to the toolkit:
// the values of the Windows dialog toolkit, so that tables of messages, styles
// and result codes read the same here as in any description of its dialogs.
#pragma once

#include <cstdint>

using BOOL = int;
using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Opaque handles owned by the toolkit.
using HICON = struct HICON__*;
using HCURSOR = HICON;
using HDC = struct HDC__*;

// Dialog result codes and the command ids of the standard buttons.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
// The command Ctrl+P sends to the dialog that has the keyboard. No control
// of the templates has this number, and it stays below 0x8000 so that it
// comes through a 16-bit control id unchanged.
constexpr int ID_FILE_PRINT = 0x7107;

// Message box styles: buttons in the low four bits, icon in the next four.
constexpr UINT MB_OK = 0x00;
constexpr UINT MB_OKCANCEL = 0x01;
constexpr UINT MB_YESNOCANCEL = 0x03;
constexpr UINT MB_YESNO = 0x04;
constexpr UINT MB_ICONSTOP = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr UINT MB_DEFBUTTON2 = 0x100;  // the second button is the default

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;

// Messages the toolkit understands in SendMessage and in message maps.
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_QUERYDRAGICON = 0x0037;
constexpr UINT WM_ICONERASEBKGND = 0x0027;
constexpr UINT WM_NEXTDLGCTL = 0x0028;
constexpr UINT WM_SETICON = 0x0080;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETREADONLY = 0x00CF;  // wParam TRUE: the text can be read and selected, not changed
constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr int LB_ERR = -1;

// WM_SETICON: which of the two window icons.
constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;

// Notification codes of WM_COMMAND.
constexpr UINT BN_CLICKED = 0;
constexpr UINT LBN_DBLCLK = 2;
constexpr UINT EN_CHANGE = 0x0300;  // an edit's text changed (typed, pasted or set)

// System commands; the low four bits are the system's own.
constexpr UINT SC_CLOSE = 0xF060;

// Menu item flags of CMenu::AppendMenu.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_SEPARATOR = 0x0800;

// GetSystemMetrics indexes.
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;

// A window as the toolkit knows it; only compared with nullptr by callers.
using HWND = struct HWND__*;
