// The plain window calls of the Win32 backend: texts, visibility, messages,
// message boxes, the system menu, painting, icons.
#include "app/toolkit/win32/windows_header.h"
// (windows_header.h first: it brings <windows.h> with the program's settings.)
#include <commctrl.h>

#include <vector>

#include "app/toolkit/win32/native.h"
#include "app/toolkit/win32/utf16_text.h"

namespace win32 {
namespace {

std::wstring Wide(std::string_view cp1252Text) {
  const std::u16string text = ToUtf16(cp1252Text);
  return std::wstring(text.begin(), text.end());
}

// Paintings in progress, innermost last: EndPaint needs BeginPaint's record.
std::vector<PAINTSTRUCT>& Paintings() {
  static std::vector<PAINTSTRUCT> paintings;
  return paintings;
}

}  // namespace

Window ActiveWindow() { return GetActiveWindow(); }

bool Show(Window window, int command) { return ShowWindow(window, command) != 0; }
bool Enable(Window window, bool enable) { return EnableWindow(window, enable) != 0; }
bool IsVisible(Window window) { return IsWindowVisible(window) != 0; }
bool IsEnabled(Window window) { return IsWindowEnabled(window) != 0; }
bool IsIconic(Window window) { return ::IsIconic(window) != 0; }

void SetText(Window window, std::string_view cp1252Text) {
  SetWindowTextW(window, Wide(cp1252Text).c_str());
}

std::string Text(Window window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return FromUtf16(std::u16string(text.begin(), text.end()));
}

Window DialogItem(Window dialog, int id) { return GetDlgItem(dialog, id); }

void Focus(Window window) {
  HWND parent = GetParent(window);
  const bool control = (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0 && parent != nullptr;
  if (control) {
    SendMessageW(parent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(window), TRUE);
  } else {
    SetFocus(window);
  }
}

std::intptr_t Send(Window window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  return SendMessageW(window, message, wParam, lParam);
}

std::intptr_t SendText(Window window, unsigned message, std::uintptr_t wParam,
                       std::string_view cp1252Text) {
  const std::wstring text = Wide(cp1252Text);
  return SendMessageW(window, message, wParam, reinterpret_cast<LPARAM>(text.c_str()));
}

int ShowMessageBox(Window owner, std::string_view text, std::string_view caption, unsigned type) {
  return MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), type);
}

void ClientSize(Window window, int* width, int* height) {
  RECT rect{};
  GetClientRect(window, &rect);
  *width = rect.right - rect.left;
  *height = rect.bottom - rect.top;
}

void AppendSystemMenuItem(Window dialog, unsigned flags, unsigned id, std::string_view text) {
  if (HMENU menu = GetSystemMenu(dialog, FALSE)) {
    AppendMenuW(menu, flags, id, (flags & MF_SEPARATOR) ? nullptr : Wide(text).c_str());
  }
}

Dc BeginPaint(Window window) {
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(window, &paint);
  if (dc != nullptr) Paintings().push_back(paint);
  return dc;
}

void EndPaint(Window window, Dc dc) {
  auto& paintings = Paintings();
  for (auto it = paintings.rbegin(); it != paintings.rend(); ++it) {
    if (it->hdc != dc) continue;
    ::EndPaint(window, &*it);
    paintings.erase(std::next(it).base());
    return;
  }
}

bool DrawIcon(Dc dc, int x, int y, Icon icon) { return ::DrawIcon(dc, x, y, icon) != 0; }
int SystemMetric(int index) { return GetSystemMetrics(index); }

Icon LoadIconResource(int id) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                       0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

std::string ExecutablePath() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return FromUtf16(std::u16string(path.begin(), path.end()));
}

void StartControls() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
}

}  // namespace win32
