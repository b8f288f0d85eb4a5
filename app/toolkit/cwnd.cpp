// CWnd, CMenu and CPaintDC on Qt widgets.
#include "app/toolkit/cwnd.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>

#include "app/toolkit/cwinapp.h"
#include "app/toolkit/qt_access.h"

struct CWnd::Impl {
  QPointer<QWidget> widget;
  std::vector<std::unique_ptr<CWnd>> items;  // handed out by GetDlgItem
};

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text) {
  if (!(flags & MF_SEPARATOR) && (text == nullptr || *text == '\0')) return FALSE;
  items_.push_back({flags, static_cast<UINT>(id), (flags & MF_SEPARATOR) ? "" : text});
  return TRUE;
}

CWnd::CWnd() : impl_(std::make_unique<Impl>()) {}
CWnd::~CWnd() = default;

static const MessageMapEntry kNoEntries[] = {{0, 0, 0, nullptr, nullptr, nullptr}};

const MessageMap* CWnd::GetThisMessageMap() {
  static const MessageMap map = {nullptr, kNoEntries};
  return &map;
}
const MessageMap* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

HWND CWnd::GetSafeHwnd() const { return reinterpret_cast<HWND>(impl_->widget.data()); }

BOOL CWnd::ShowWindow(int nCmdShow) {
  QWidget* w = impl_->widget;
  if (w == nullptr) return FALSE;
  const BOOL wasVisible = w->isWindow() ? w->isVisible() : !w->isHidden();
  switch (nCmdShow) {
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

BOOL CWnd::EnableWindow(BOOL enable) {
  QWidget* w = impl_->widget;
  if (w == nullptr) return FALSE;
  const BOOL wasDisabled = !w->isEnabled();
  w->setEnabled(enable != FALSE);
  return wasDisabled;
}

BOOL CWnd::IsWindowVisible() const { return impl_->widget && impl_->widget->isVisible(); }
BOOL CWnd::IsWindowEnabled() const { return impl_->widget && impl_->widget->isEnabled(); }
BOOL CWnd::IsIconic() const { return impl_->widget && impl_->widget->isMinimized(); }

void CWnd::SetWindowText(const char* text) {
  toolkit::SetWindowTextOf(impl_->widget, text ? text : "");
}
void CWnd::GetWindowText(CString& text) const { text = toolkit::WindowTextOf(impl_->widget); }
CString CWnd::GetWindowText() const { return toolkit::WindowTextOf(impl_->widget); }

CWnd* CWnd::GetDlgItem(int id) const {
  auto* window = dynamic_cast<toolkit::DialogWindow*>(impl_->widget.data());
  QWidget* control = window ? window->ControlWidget(id) : nullptr;
  if (control == nullptr) return nullptr;
  for (const auto& item : impl_->items) {
    if (item->impl_->widget == control) return item.get();
  }
  impl_->items.push_back(std::make_unique<CWnd>());
  impl_->items.back()->impl_->widget = control;
  return impl_->items.back().get();
}

int CWnd::GetDlgCtrlID() const {
  const QWidget* w = impl_->widget;
  return w ? w->property("kestrelControlId").toInt() : 0;
}

void CWnd::SetFocus() {
  if (QWidget* w = impl_->widget) w->setFocus(Qt::OtherFocusReason);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  QWidget* w = impl_->widget;
  if (w == nullptr) return message >= LB_ADDSTRING && message <= LB_GETCOUNT ? LB_ERR : 0;
  if (auto* window = dynamic_cast<toolkit::DialogWindow*>(w)) {
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
        window->Host()->Command(static_cast<UINT>((wParam >> 16) & 0xFFFF),
                                static_cast<int>(static_cast<short>(wParam & 0xFFFF)));
        return 0;
      case WM_SYSCOMMAND:
        window->Host()->SysCommand(static_cast<UINT>(wParam));
        return 0;
      case WM_CLOSE:
        window->Host()->Command(BN_CLICKED, IDCANCEL);
        return 0;
      default:
        return 0;
    }
  }
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    if (message == EM_LIMITTEXT) {
      // 0 lifts the limit; Qt's edits hold at most 32767 characters.
      edit->setMaxLength(wParam == 0 || wParam > 32767 ? 32767 : static_cast<int>(wParam));
    }
    return 0;
  }
  return toolkit::ListBoxMessage(w, message, wParam, lParam);
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
  return toolkit::RunMessageBox(impl_->widget, text ? text : "",
                                caption ? caption : AfxGetAppName(), type);
}

void CWnd::GetClientRect(CRect* rect) const {
  if (rect == nullptr) return;
  *rect = {};
  if (const QWidget* w = impl_->widget) *rect = {0, 0, w->width(), w->height()};
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
  return reinterpret_cast<HICON>(
      SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

CMenu* CWnd::GetSystemMenu(BOOL /*revert*/) {
  auto* dialog = dynamic_cast<CDialog*>(this);
  auto* window = toolkit::WindowOf(*this);
  if (dialog == nullptr || window == nullptr || !window->HasSystemMenu()) return nullptr;
  return &toolkit::Access::SystemMenuOf(*dialog);
}

void CWnd::OnSysCommand(UINT id, LPARAM /*lParam*/) {
  if ((id & 0xFFF0) == SC_CLOSE) SendMessage(WM_COMMAND, IDCANCEL, 0);
}

void CWnd::OnPaint() {}  // the toolkit has filled the background already
HCURSOR CWnd::OnQueryDragIcon() { return nullptr; }

CPaintDC::CPaintDC(CWnd* window) {
  if (auto* dialog = window ? toolkit::WindowOf(*window) : nullptr) {
    m_hDC = reinterpret_cast<HDC>(dialog->CurrentPainter());
  }
}
CPaintDC::~CPaintDC() = default;

BOOL CPaintDC::DrawIcon(int x, int y, HICON icon) {
  auto* painter = reinterpret_cast<QPainter*>(m_hDC);
  const QPixmap picture = toolkit::IconPixmap(icon, 32);
  if (painter == nullptr || picture.isNull()) return FALSE;
  painter->drawPixmap(x, y, picture);
  return TRUE;
}

int GetSystemMetrics(int index) { return index == SM_CXICON || index == SM_CYICON ? 32 : 0; }

namespace toolkit {

QWidget* Access::Widget(const CWnd& window) { return window.impl_->widget; }
void Access::Attach(CWnd& window, QWidget* widget) { window.impl_->widget = widget; }
void Access::DropItems(CWnd& window) { window.impl_->items.clear(); }

DialogWindow* WindowOf(const CWnd& dialog) {
  return dynamic_cast<DialogWindow*>(Access::Widget(dialog));
}

QWidget* FindControl(QWidget* window, int id) {
  auto* dialog = dynamic_cast<DialogWindow*>(window);
  return dialog ? dialog->ControlWidget(id) : nullptr;
}

int TemplateIdOf(const QWidget* window) {
  const auto* dialog = dynamic_cast<const DialogWindow*>(window);
  return dialog ? dialog->TemplateId() : -1;
}

void EndModal(QWidget* window, int code) {
  if (auto* dialog = dynamic_cast<DialogWindow*>(window)) dialog->End(code);
}

void ApplyLook(QApplication& app) {
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
  QApplication::setFont(DialogFont("MS Sans Serif", 8));
}

}  // namespace toolkit
