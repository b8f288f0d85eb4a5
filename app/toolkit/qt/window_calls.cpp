// The core's calls on windows and controls (backend.h), on Qt widgets. A
// handle is the QWidget itself.
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>

#include "app/toolkit/qt/controls.h"
#include "app/toolkit/qt/dialog_window.h"
#include "app/toolkit/qt/icons.h"
#include "app/toolkit/qt/list_box.h"

namespace toolkit::backend {

CRect GetWindowRect(HWND window) {
  const QRect r = WidgetOf(window)->frameGeometry();
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

CRect GetWorkArea(HWND window) {
  const QScreen* screen = WidgetOf(window)->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QRect r = screen->availableGeometry();
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void MoveWindow(HWND window, int x, int y) { WidgetOf(window)->move(x, y); }

HWND GetDlgItem(HWND dialog, int id) {
  auto* window = dynamic_cast<DialogWindow*>(WidgetOf(dialog));
  return window ? HandleOf(window->ControlWidget(id)) : nullptr;
}

bool ShowWindow(HWND window, int command) {
  QWidget* w = WidgetOf(window);
  const bool wasVisible = w->isWindow() ? w->isVisible() : !w->isHidden();
  switch (command) {
    case SW_HIDE:
      w->hide();
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
      w->showMinimized();
      break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
      w->isWindow() ? w->showNormal() : w->show();
      break;
    default:
      w->show();
      break;
  }
  return wasVisible;
}

bool EnableWindow(HWND window, bool enable) {
  QWidget* w = WidgetOf(window);
  const bool wasDisabled = !w->isEnabled();
  w->setEnabled(enable);
  return wasDisabled;
}

bool IsIconic(HWND window) { return WidgetOf(window)->isMinimized(); }

std::string GetWindowText(HWND window) { return WindowTextOf(WidgetOf(window)); }
void SetWindowText(HWND window, std::string_view text) { SetWindowTextOf(WidgetOf(window), text); }

void SetFocus(HWND window) { WidgetOf(window)->setFocus(Qt::OtherFocusReason); }

CRect GetClientRect(HWND window) {
  const QWidget* w = WidgetOf(window);
  return {0, 0, w->width(), w->height()};
}

namespace {

LRESULT DialogMessage(DialogWindow* window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NEXTDLGCTL:
      // wParam 0: next tab stop, else previous; lParam nonzero (focus a given
      // control) is not supported.
      if (lParam == 0) window->MoveFocus(wParam == 0);
      return 0;
    case WM_SETICON:
      return reinterpret_cast<LRESULT>(
          window->SetIcon(reinterpret_cast<HICON>(lParam), wParam == ICON_BIG));
    case WM_ICONERASEBKGND:
      if (auto* painter = reinterpret_cast<QPainter*>(wParam)) {
        painter->fillRect(window->rect(), window->palette().window());
      }
      return 1;
    case WM_COMMAND:
      window->Events()->Command(static_cast<UINT>((wParam >> 16) & 0xFFFF),
                                static_cast<int>(static_cast<short>(wParam & 0xFFFF)));
      return 0;
    case WM_SYSCOMMAND:
      window->Events()->SysCommand(static_cast<UINT>(wParam));
      return 0;
    case WM_CLOSE:
      window->Events()->Command(BN_CLICKED, IDCANCEL);
      return 0;
    default:
      return 0;
  }
}

}  // namespace

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  QWidget* w = WidgetOf(window);
  if (message >= LB_ADDSTRING && message <= LB_GETCOUNT) return ListBoxMessage(w, message, wParam, lParam);
  if (auto* dialog = dynamic_cast<DialogWindow*>(w)) return DialogMessage(dialog, message, wParam, lParam);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    if (message == EM_LIMITTEXT) {
      // 0 lifts the limit; Qt's edits hold at most 32767 characters.
      edit->setMaxLength(wParam == 0 || wParam > 32767 ? 32767 : static_cast<int>(wParam));
    } else if (message == EM_SETREADONLY) {
      edit->setReadOnly(wParam != 0);
      return 1;
    }
    return 0;
  }
  return ListBoxMessage(w, message, wParam, lParam);
}

HICON LoadIcon(const IconResource& icon) { return LoadIconResource(icon); }

HDC BeginPaint(HWND window) {
  auto* dialog = dynamic_cast<DialogWindow*>(WidgetOf(window));
  return dialog ? reinterpret_cast<HDC>(dialog->CurrentPainter()) : nullptr;
}

void EndPaint(HWND /*window*/, HDC /*context*/) {}  // the window's paint event ends it

bool DrawIcon(HDC context, int x, int y, HICON icon) {
  auto* painter = reinterpret_cast<QPainter*>(context);
  const QPixmap picture = IconPixmap(icon, 32);
  if (painter == nullptr || picture.isNull()) return false;
  painter->drawPixmap(x, y, picture);
  return true;
}

int GetSystemMetrics(int index) { return index == SM_CXICON || index == SM_CYICON ? 32 : 0; }

}  // namespace toolkit::backend
