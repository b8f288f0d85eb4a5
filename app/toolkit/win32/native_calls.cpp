// The plain window calls of the Win32 backend: texts, visibility, messages,
// message boxes, the system menu, painting, icons.
#include "app/toolkit/win32/windows_header.h"
// (windows_header.h first: it brings <windows.h> with the program's settings.)
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
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

namespace {

// The box being shown by this thread and what places it: MessageBoxW makes
// its window itself, so a hook catches it just before it is activated.
thread_local const std::function<void(Window)>* placeBox = nullptr;
thread_local HHOOK boxHook = nullptr;

LRESULT CALLBACK BoxHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && placeBox != nullptr) {
    const auto* place = placeBox;
    placeBox = nullptr;  // the box only, not a window it opens later
    (*place)(reinterpret_cast<HWND>(wParam));
  }
  return CallNextHookEx(boxHook, code, wParam, lParam);
}

std::array<int, 4> Corners(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

int ShowMessageBox(Window owner, std::string_view text, std::string_view caption, unsigned type,
                   const std::function<void(Window box)>& place) {
  const auto* outer = placeBox;
  HHOOK outerHook = boxHook;
  placeBox = &place;
  boxHook = SetWindowsHookExW(WH_CBT, BoxHook, nullptr, GetCurrentThreadId());
  const int chosen = MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), type);
  if (boxHook != nullptr) UnhookWindowsHookEx(boxHook);
  boxHook = outerHook;
  placeBox = outer;
  return chosen;
}

std::array<int, 4> WindowRect(Window window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return Corners(rect);
}

std::array<int, 4> WorkArea(Window window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return Corners(monitor.rcWork);
  }
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return Corners(work);
}

void MoveTo(Window window, int x, int y) {
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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

void PrintLine(std::string_view cp1252Line, std::string_view caption) {
  const std::wstring text = Wide(cp1252Line);
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out != nullptr && out != INVALID_HANDLE_VALUE) {
    DWORD mode = 0;
    if (GetConsoleMode(out, &mode)) {  // a console handed down to the program
      const std::wstring line = text + L"\r\n";
      DWORD written = 0;
      WriteConsoleW(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      return;
    }
    if (GetFileType(out) != FILE_TYPE_UNKNOWN) {  // a file, a pipe, NUL
      std::fwrite(cp1252Line.data(), 1, cp1252Line.size(), stdout);
      std::fputc('\n', stdout);
      std::fflush(stdout);
      return;
    }
  }
  // Started from cmd or PowerShell, a windowed program has no standard
  // output; it writes to the console of the shell that started it.
  if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (console != INVALID_HANDLE_VALUE) {
      // The shell has shown its prompt already: the text starts on a line of its own.
      const std::wstring lines = L"\r\n" + text + L"\r\n";
      DWORD written = 0;
      const bool shown = WriteConsoleW(console, lines.data(), static_cast<DWORD>(lines.size()),
                                       &written, nullptr) != 0;
      CloseHandle(console);
      FreeConsole();
      if (shown) return;
    } else {
      FreeConsole();
    }
  }
  MessageBoxW(nullptr, text.c_str(), Wide(caption).c_str(), MB_OK | MB_ICONINFORMATION);
}

void StartControls() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}

}  // namespace win32
