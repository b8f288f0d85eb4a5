// The backend's calls on windows and controls, each one a USER32 call
// (native_calls.cpp) with Windows-1252 text converted at the edge.
#include <filesystem>
#include <utility>
#include <vector>

#include "app/toolkit/backend.h"
#include "app/toolkit/win32/native.h"
#include "app/toolkit/window_placement.h"

namespace toolkit::backend {

HWND GetDlgItem(HWND dialog, int id) { return win32::DialogItem(dialog, id); }
bool ShowWindow(HWND window, int command) { return win32::Show(window, command); }
bool EnableWindow(HWND window, bool enable) { return win32::Enable(window, enable); }
bool IsIconic(HWND window) { return win32::IsIconic(window); }
std::string GetWindowText(HWND window) { return win32::Text(window); }
void SetWindowText(HWND window, std::string_view text) { win32::SetText(window, text); }
void SetFocus(HWND window) { win32::Focus(window); }

CRect GetClientRect(HWND window) {
  CRect rect;
  win32::ClientSize(window, &rect.right, &rect.bottom);
  return rect;
}

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == LB_ADDSTRING) {
    const char* text = reinterpret_cast<const char*>(lParam);
    return win32::SendText(window, message, wParam, text ? text : "");
  }
  return win32::Send(window, message, wParam, lParam);
}

int MessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type) {
  return win32::ShowMessageBox(owner, text, caption, type,
                               [owner](HWND box) { PlaceMessageBox(box, owner); });
}

namespace {
CRect RectOf(const std::array<int, 4>& r) { return {r[0], r[1], r[2], r[3]}; }
}  // namespace

CRect GetWindowRect(HWND window) { return RectOf(win32::WindowRect(window)); }
CRect GetWorkArea(HWND window) { return RectOf(win32::WorkArea(window)); }
void MoveWindow(HWND window, int x, int y) { win32::MoveTo(window, x, y); }

bool RunFileDialog(HWND owner, const FileDialogSettings& settings, std::string& path) {
  // "description|patterns|description|patterns||" into pairs.
  std::vector<std::pair<std::string, std::string>> filters;
  std::string_view rest = settings.filter;
  while (!rest.empty() && rest.front() != '|') {
    const std::size_t bar = rest.find('|');
    if (bar == std::string_view::npos) break;
    const std::string description(rest.substr(0, bar));
    rest.remove_prefix(bar + 1);
    const std::size_t end = rest.find('|');
    filters.emplace_back(description, std::string(rest.substr(0, end)));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  std::filesystem::path chosen;
  if (!win32::ChooseFile(owner, settings.open, settings.defaultExtension, settings.fileName,
                         settings.flags, filters, &chosen)) {
    return false;
  }
  const std::u8string utf8 = chosen.u8string();
  path.assign(utf8.begin(), utf8.end());
  return true;
}

// The icons are compiled into the executable (program.rc) under their numbers.
HICON LoadIcon(const IconResource& icon) { return win32::LoadIconResource(icon.id); }
HDC BeginPaint(HWND window) { return win32::BeginPaint(window); }
void EndPaint(HWND window, HDC context) {
  if (context != nullptr) win32::EndPaint(window, context);
}
bool DrawIcon(HDC context, int x, int y, HICON icon) {
  return icon != nullptr && win32::DrawIcon(context, x, y, icon);
}
int GetSystemMetrics(int index) { return win32::SystemMetric(index); }

}  // namespace toolkit::backend
