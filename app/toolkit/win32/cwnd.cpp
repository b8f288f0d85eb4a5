// CWnd, CMenu and CPaintDC on Windows' own windows.
#include "app/toolkit/cwnd.h"

#include "app/toolkit/cdialog.h"
#include "app/toolkit/cwinapp.h"
#include "app/toolkit/win32/access.h"

struct CWnd::Impl {
  win32::Window window = nullptr;
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

HWND CWnd::GetSafeHwnd() const { return impl_->window; }

BOOL CWnd::ShowWindow(int nCmdShow) {
  return impl_->window && win32::Show(impl_->window, nCmdShow);
}
BOOL CWnd::EnableWindow(BOOL enable) {
  return impl_->window && win32::Enable(impl_->window, enable != FALSE);
}
BOOL CWnd::IsWindowVisible() const { return impl_->window && win32::IsVisible(impl_->window); }
BOOL CWnd::IsWindowEnabled() const { return impl_->window && win32::IsEnabled(impl_->window); }
BOOL CWnd::IsIconic() const { return impl_->window && win32::IsIconic(impl_->window); }

void CWnd::SetWindowText(const char* text) {
  if (impl_->window) win32::SetText(impl_->window, text ? text : "");
}
void CWnd::GetWindowText(CString& text) const { text = GetWindowText(); }
CString CWnd::GetWindowText() const {
  return impl_->window ? CString(win32::Text(impl_->window)) : CString();
}

CWnd* CWnd::GetDlgItem(int id) const {
  win32::Window control = impl_->window ? win32::DialogItem(impl_->window, id) : nullptr;
  if (control == nullptr) return nullptr;
  for (const auto& item : impl_->items) {
    if (item->impl_->window == control) return item.get();
  }
  impl_->items.push_back(std::make_unique<CWnd>());
  impl_->items.back()->impl_->window = control;
  return impl_->items.back().get();
}

int CWnd::GetDlgCtrlID() const { return impl_->window ? win32::ControlId(impl_->window) : 0; }

void CWnd::SetFocus() {
  if (impl_->window) win32::Focus(impl_->window);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (impl_->window == nullptr) {
    return message >= LB_ADDSTRING && message <= LB_GETCOUNT ? LB_ERR : 0;
  }
  if (message == LB_ADDSTRING) {
    const char* text = reinterpret_cast<const char*>(lParam);
    return win32::SendText(impl_->window, message, wParam, text ? text : "");
  }
  return win32::Send(impl_->window, message, wParam, lParam);
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
  return win32::ShowMessageBox(impl_->window, text ? text : "",
                               caption ? caption : AfxGetAppName(), type);
}

void CWnd::GetClientRect(CRect* rect) const {
  if (rect == nullptr) return;
  *rect = {};
  if (impl_->window) win32::ClientSize(impl_->window, &rect->right, &rect->bottom);
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
  return reinterpret_cast<HICON>(
      SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

// The dialog's items, which the backend appends to the real system menu once
// OnInitDialog has filled them in.
CMenu* CWnd::GetSystemMenu(BOOL /*revert*/) {
  auto* dialog = dynamic_cast<CDialog*>(this);
  if (dialog == nullptr || impl_->window == nullptr) return nullptr;
  return &toolkit::Access::SystemMenuOf(*dialog);
}

void CWnd::OnSysCommand(UINT id, LPARAM lParam) {
  if (impl_->window) win32::DefaultSysCommand(impl_->window, id, lParam);
}

void CWnd::OnPaint() {
  if (impl_->window) win32::DefaultPaint(impl_->window);
}

HCURSOR CWnd::OnQueryDragIcon() { return nullptr; }

CPaintDC::CPaintDC(CWnd* window) {
  if (window != nullptr && window->GetSafeHwnd() != nullptr) {
    m_hDC = win32::BeginPaint(window->GetSafeHwnd());
  }
}
CPaintDC::~CPaintDC() {
  if (m_hDC != nullptr) win32::EndPaint(m_hDC);
}

BOOL CPaintDC::DrawIcon(int x, int y, HICON icon) {
  return m_hDC != nullptr && icon != nullptr && win32::DrawIcon(m_hDC, x, y, icon);
}

int GetSystemMetrics(int index) { return win32::SystemMetric(index); }

namespace toolkit {

win32::Window Access::Window(const CWnd& window) { return window.impl_->window; }
void Access::Attach(CWnd& window, win32::Window handle) { window.impl_->window = handle; }
void Access::DropItems(CWnd& window) { window.impl_->items.clear(); }

}  // namespace toolkit
