// CWnd, CMenu and CPaintDC: the dialog code's calls, passed to the backend.
#include "app/toolkit/cwnd.h"

#include "app/toolkit/backend.h"
#include "app/toolkit/cdialog.h"
#include "app/toolkit/cwinapp.h"

namespace backend = toolkit::backend;

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text) {
  if (!(flags & MF_SEPARATOR) && (text == nullptr || *text == '\0')) return FALSE;
  items_.push_back({flags, static_cast<UINT>(id), (flags & MF_SEPARATOR) ? "" : text});
  return TRUE;
}

CWnd::CWnd() = default;
CWnd::~CWnd() = default;

static const MessageMapEntry kNoEntries[] = {{0, 0, 0, nullptr, nullptr, nullptr}};

const MessageMap* CWnd::GetThisMessageMap() {
  static const MessageMap map = {nullptr, kNoEntries};
  return &map;
}
const MessageMap* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CWnd::ShowWindow(int nCmdShow) {
  return hwnd_ != nullptr && backend::ShowWindow(hwnd_, nCmdShow);
}

BOOL CWnd::EnableWindow(BOOL enable) {
  return hwnd_ != nullptr && backend::EnableWindow(hwnd_, enable != FALSE);
}

BOOL CWnd::IsIconic() const { return hwnd_ != nullptr && backend::IsIconic(hwnd_); }

void CWnd::SetWindowText(const char* text) {
  if (hwnd_ != nullptr) backend::SetWindowText(hwnd_, text ? text : "");
}
void CWnd::GetWindowText(CString& text) const { text = GetWindowText(); }
CString CWnd::GetWindowText() const {
  return hwnd_ != nullptr ? CString(backend::GetWindowText(hwnd_)) : CString();
}

CWnd* CWnd::GetDlgItem(int id) const {
  HWND control = hwnd_ != nullptr ? backend::GetDlgItem(hwnd_, id) : nullptr;
  if (control == nullptr) return nullptr;
  for (const auto& item : items_) {
    if (item->hwnd_ == control) return item.get();
  }
  items_.push_back(std::make_unique<CWnd>());
  items_.back()->hwnd_ = control;
  return items_.back().get();
}

void CWnd::SetFocus() {
  if (hwnd_ != nullptr) backend::SetFocus(hwnd_);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd_ == nullptr) return message >= LB_ADDSTRING && message <= LB_GETCOUNT ? LB_ERR : 0;
  return backend::SendMessage(hwnd_, message, wParam, lParam);
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
  return backend::MessageBox(hwnd_, text ? text : "", caption ? caption : AfxGetAppName(), type);
}

void CWnd::GetClientRect(CRect* rect) const {
  if (rect == nullptr) return;
  *rect = hwnd_ != nullptr ? backend::GetClientRect(hwnd_) : CRect{};
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
  return reinterpret_cast<HICON>(
      SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

CMenu* CWnd::GetSystemMenu(BOOL /*revert*/) {
  auto* dialog = dynamic_cast<CDialog*>(this);
  return dialog != nullptr && hwnd_ != nullptr ? dialog->RunningSystemMenu() : nullptr;
}

void CWnd::OnSysCommand(UINT id, LPARAM /*lParam*/) {
  if ((id & 0xFFF0) == SC_CLOSE) SendMessage(WM_COMMAND, IDCANCEL, 0);
}

void CWnd::OnPaint() {}  // the backend has filled the background already
HCURSOR CWnd::OnQueryDragIcon() { return nullptr; }

CPaintDC::CPaintDC(CWnd* window) {
  window_ = window ? window->GetSafeHwnd() : nullptr;
  if (window_ != nullptr) m_hDC = backend::BeginPaint(window_);
}
CPaintDC::~CPaintDC() {
  if (window_ != nullptr) backend::EndPaint(window_, m_hDC);
}

BOOL CPaintDC::DrawIcon(int x, int y, HICON icon) {
  return m_hDC != nullptr && backend::DrawIcon(m_hDC, x, y, icon);
}

int GetSystemMetrics(int index) { return backend::GetSystemMetrics(index); }
