// Printing on the Windows GDI: PrintDlgExW, StartDocW and a page at a time,
// points scaled by the device's own resolution (GetDeviceCaps).
#include "app/toolkit/win32/windows_header.h"
// (windows_header.h first: it brings <windows.h> with the program's settings.)
// objbase.h before commdlg.h, which declares PrintDlgExW only after COM.
// clang-format off
#include <objbase.h>
#include <commdlg.h>
// clang-format on

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <variant>

#include "app/toolkit/win32/print_native.h"
#include "app/toolkit/win32/utf16_text.h"

namespace win32 {
namespace {

// Pages beyond which a print shows its progress.
constexpr int kPagesWithoutProgress = 3;

std::wstring PrintedText(std::string_view cp1252Text) {
  std::wstring text;
  for (const char16_t c : ToUtf16(cp1252Text)) {
    text += (c >= 0x80 && c < 0xA0) ? L'?' : static_cast<wchar_t>(c);
  }
  return text;
}

// Arial at each size and weight a page asks for, made once per page.
class Fonts {
 public:
  explicit Fonts(double dotsPerPointY) : dotsPerPointY_(dotsPerPointY) {}
  ~Fonts() {
    for (const auto& [key, font] : fonts_) DeleteObject(font);
  }
  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;

  HFONT Get(double size, bool bold) {
    // A negative height asks for the em (the point size), not the cell.
    const int height = -static_cast<int>(std::lround(size * dotsPerPointY_));
    const std::pair<int, bool> key{height, bold};
    auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second;
    const HFONT font = CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                   ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
    fonts_.emplace(key, font);
    return font;
  }

 private:
  double dotsPerPointY_;
  std::map<std::pair<int, bool>, HFONT> fonts_;
};

class GdiPage {
 public:
  GdiPage(HDC dc, const PageGeometry& g) : dc_(dc), g_(g), fonts_(g.dotsPerPointY) {}

  void operator()(const report::TextRun& run) {
    SelectObject(dc_, fonts_.Get(run.size, run.weight == report::Weight::bold));
    const std::wstring text = PrintedText(run.text);
    ExtTextOutW(dc_, X(run.x), Y(run.y), 0, nullptr, text.c_str(), static_cast<UINT>(text.size()),
                nullptr);
  }
  void operator()(const report::Line& line) {
    Stroke stroke(dc_, PenWidth(line.width));
    MoveToEx(dc_, X(line.x1), Y(line.y1), nullptr);
    LineTo(dc_, X(line.x2), Y(line.y2));
  }
  void operator()(const report::Frame& frame) {
    Stroke stroke(dc_, PenWidth(frame.width));
    const POINT corners[] = {{X(frame.x), Y(frame.y)},
                             {X(frame.x + frame.w), Y(frame.y)},
                             {X(frame.x + frame.w), Y(frame.y + frame.h)},
                             {X(frame.x), Y(frame.y + frame.h)},
                             {X(frame.x), Y(frame.y)}};
    Polyline(dc_, corners, 5);
  }

 private:
  // A black pen selected for one stroke, then put back and deleted.
  class Stroke {
   public:
    Stroke(HDC dc, int width) : dc_(dc), pen_(CreatePen(PS_SOLID, width, RGB(0, 0, 0))) {
      old_ = SelectObject(dc_, pen_);
    }
    ~Stroke() {
      SelectObject(dc_, old_);
      DeleteObject(pen_);
    }
    Stroke(const Stroke&) = delete;
    Stroke& operator=(const Stroke&) = delete;

   private:
    HDC dc_;
    HPEN pen_;
    HGDIOBJ old_;
  };

  int X(double points) const {
    return static_cast<int>(std::lround(points * g_.dotsPerPointX)) - g_.offsetX;
  }
  int Y(double points) const {
    return static_cast<int>(std::lround(points * g_.dotsPerPointY)) - g_.offsetY;
  }
  int PenWidth(double points) const {
    return std::max(1, static_cast<int>(std::lround(points * g_.dotsPerPointX)));
  }

  HDC dc_;
  PageGeometry g_;
  Fonts fonts_;
};

// The progress window of a long print: its Cancel button (and Escape) set
// the flag that the print loop looks at between pages.
INT_PTR CALLBACK ProgressProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    if (auto* cancelled = reinterpret_cast<bool*>(GetWindowLongPtrW(window, DWLP_USER))) {
      *cancelled = true;
    }
    return TRUE;
  }
  return FALSE;
}

// Lets the progress window and the rest of the program's windows work
// between two pages.
void PumpMessages(HWND progress) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (progress != nullptr && IsDialogMessageW(progress, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

PageGeometry GeometryOf(HDC dc) {
  return {GetDeviceCaps(dc, LOGPIXELSX) / 72.0, GetDeviceCaps(dc, LOGPIXELSY) / 72.0,
          GetDeviceCaps(dc, PHYSICALOFFSETX), GetDeviceCaps(dc, PHYSICALOFFSETY)};
}

report::PaperSize PaperOf(HDC dc) {
  return {GetDeviceCaps(dc, PHYSICALWIDTH) * 72.0 / GetDeviceCaps(dc, LOGPIXELSX),
          GetDeviceCaps(dc, PHYSICALHEIGHT) * 72.0 / GetDeviceCaps(dc, LOGPIXELSY)};
}

PrintOutcome PrintPages(HWND owner, HDC dc, std::string_view title,
                        const report::Document& document,
                        const std::vector<std::uint16_t>& progressTemplate, int progressLabel,
                        std::string* failure) {
  const std::wstring name = PrintedText(title);
  DOCINFOW info{};
  info.cbSize = sizeof info;
  info.lpszDocName = name.c_str();
  if (StartDocW(dc, &info) <= 0) {
    *failure = "the printer could not be started";
    return PrintOutcome::failed;
  }
  const int count = static_cast<int>(document.pages.size());
  bool cancelled = false;
  HWND progress = nullptr;
  if (count > kPagesWithoutProgress) {
    progress = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(progressTemplate.data()),
        owner, ProgressProcedure, reinterpret_cast<LPARAM>(&cancelled));
    if (progress != nullptr) {
      if (owner != nullptr) EnableWindow(owner, FALSE);
      ShowWindow(progress, SW_SHOW);
    }
  }
  const PageGeometry geometry = GeometryOf(dc);
  bool failed = false;
  for (int i = 0; i < count && !cancelled && !failed; ++i) {
    if (progress != nullptr) {
      const std::wstring text =
          L"Printing page " + std::to_wstring(i + 1) + L" of " + std::to_wstring(count);
      SetDlgItemTextW(progress, progressLabel, text.c_str());
      PumpMessages(progress);
      if (cancelled) break;
    }
    if (StartPage(dc) <= 0) {
      failed = true;
      break;
    }
    DrawPage(dc, document.pages[static_cast<std::size_t>(i)], geometry);
    if (EndPage(dc) <= 0) failed = true;
  }
  if (progress != nullptr) {
    if (owner != nullptr) EnableWindow(owner, TRUE);
    DestroyWindow(progress);
  }
  if (cancelled || failed) {
    AbortDoc(dc);
    if (failed) *failure = "the printer stopped the print";
    return failed ? PrintOutcome::failed : PrintOutcome::cancelled;
  }
  if (EndDoc(dc) <= 0) {
    *failure = "the printer did not finish the print";
    return PrintOutcome::failed;
  }
  return PrintOutcome::printed;
}

int printCommand = 0;
HHOOK printKeyHook = nullptr;

// Runs inside the dialog manager's modal loop, before a key reaches the
// focused control: Ctrl+P (without Alt) becomes the print command.
LRESULT CALLBACK PrintKeyFilter(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_DIALOGBOX) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (message->message == WM_KEYDOWN && message->wParam == 'P' && GetKeyState(VK_CONTROL) < 0 &&
        GetKeyState(VK_MENU) >= 0) {
      SendMessageW(GetAncestor(message->hwnd, GA_ROOT), WM_COMMAND, MAKEWPARAM(printCommand, 0), 0);
      return 1;
    }
  }
  return CallNextHookEx(printKeyHook, code, wParam, lParam);
}

}  // namespace

void DrawPage(Dc dc, const report::Page& page, const PageGeometry& geometry) {
  const int saved = SaveDC(dc);
  SetMapMode(dc, MM_TEXT);
  SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  // Its fonts go when it does, after RestoreDC has put back the font they
  // replaced: a font still selected cannot be deleted.
  GdiPage draw(dc, geometry);
  for (const report::DrawOp& op : page.ops) std::visit(draw, op);
  RestoreDC(dc, saved);
}

PrintOutcome PrintWithDialog(
    Window owner, std::string_view cp1252Title,
    const std::function<report::Document(const report::PaperSize&)>& layOut,
    const std::vector<std::uint16_t>& progressTemplate, int progressLabel, std::string* failure) {
  PRINTDLGEXW settings{};
  settings.lStructSize = sizeof settings;
  settings.hwndOwner = owner != nullptr ? owner : GetDesktopWindow();
  settings.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_NOCURRENTPAGE |
                   PD_USEDEVMODECOPIESANDCOLLATE;
  settings.nCopies = 1;
  settings.nStartPage = START_PAGE_GENERAL;
  const HRESULT shown = PrintDlgExW(&settings);
  PrintOutcome outcome = PrintOutcome::cancelled;
  if (FAILED(shown)) {
    *failure = "the print dialog could not be shown";
    outcome = PrintOutcome::failed;
  } else if (settings.dwResultAction == PD_RESULT_PRINT && settings.hDC != nullptr) {
    const report::Document document = layOut(PaperOf(settings.hDC));
    outcome = PrintPages(owner, settings.hDC, cp1252Title, document, progressTemplate,
                         progressLabel, failure);
  }
  if (settings.hDC != nullptr) DeleteDC(settings.hDC);
  if (settings.hDevMode != nullptr) GlobalFree(settings.hDevMode);
  if (settings.hDevNames != nullptr) GlobalFree(settings.hDevNames);
  return outcome;
}

void InstallPrintKey(int command) {
  if (printKeyHook != nullptr) return;
  printCommand = command;
  printKeyHook = SetWindowsHookExW(WH_MSGFILTER, PrintKeyFilter, nullptr, GetCurrentThreadId());
}

}  // namespace win32
