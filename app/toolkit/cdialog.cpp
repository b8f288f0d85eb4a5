// CDialog: modal runs from templates, message-map dispatch, data exchange.
#include "app/toolkit/cdialog.h"

#include <algorithm>

#include "app/toolkit/backend.h"
#include "app/toolkit/resource_table.h"
#include "app/toolkit/window_placement.h"

namespace backend = toolkit::backend;

namespace {

// The dialogs running now, innermost last: a dialog or box opened without
// an owner belongs to the innermost one, as the About box belongs to the
// main form.
std::vector<const CWnd*>& RunningDialogs() {
  static std::vector<const CWnd*> running;
  return running;
}

}  // namespace

namespace toolkit {
HWND ActiveDialogWindow() {
  const auto& running = RunningDialogs();
  return running.empty() ? nullptr : running.back()->GetSafeHwnd();
}
}  // namespace toolkit

// Hands what the window reports to the dialog's message map, searching the
// class's own table first and then each base table.
class CDialog::Events : public backend::DialogEvents {
 public:
  Events(CDialog& dialog, HWND owner, bool visibleAtCreation)
      : dialog_(dialog), owner_(owner), visibleAtCreation_(visibleAtCreation) {}

  // The dialog is placed once its handler has run, unless the handler moved it.
  bool InitDialog(HWND window) override {
    dialog_.hwnd_ = window;
    const CRect before = backend::GetWindowRect(window);
    const bool focusFirst = dialog_.OnInitDialog() != FALSE;
    toolkit::PlaceDialog(window, owner_, visibleAtCreation_, before);
    return focusFirst;
  }
  void Command(UINT code, int id) override {
    if (const MessageMapEntry* e = Find(WM_COMMAND, code, id)) (dialog_.*(e->handler))();
  }
  void SysCommand(UINT command) override {
    if (const MessageMapEntry* e = Find(WM_SYSCOMMAND, 0, 0)) {
      (dialog_.*(e->sysCommandHandler))(command, 0);
    } else {
      dialog_.CWnd::OnSysCommand(command, 0);
    }
  }
  bool Paint() override {
    const MessageMapEntry* e = Find(WM_PAINT, 0, 0);
    if (e == nullptr) return false;
    (dialog_.*(e->handler))();
    return true;
  }
  bool QueryDragIcon(HICON* icon) override {
    const MessageMapEntry* e = Find(WM_QUERYDRAGICON, 0, 0);
    if (e == nullptr) return false;
    *icon = (dialog_.*(e->queryIconHandler))();
    return true;
  }
  const CMenu* SystemMenu() override { return dialog_.RunningSystemMenu(); }

 private:
  const MessageMapEntry* Find(UINT message, UINT code, int id) const {
    for (const MessageMap* map = dialog_.GetMessageMap(); map != nullptr;
         map = map->base ? map->base() : nullptr) {
      for (const MessageMapEntry* e = map->entries; e->message != 0; ++e) {
        if (e->message != message) continue;
        if (message == WM_COMMAND && (e->code != code || e->id != id)) continue;
        return e;
      }
    }
    return nullptr;
  }

  CDialog& dialog_;
  HWND owner_;
  bool visibleAtCreation_;
};

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, OnOK)
  ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : templateId_(templateId), parent_(parent) {}
CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
  if (running_) return -1;
  const DialogTemplate* t = toolkit::FindDialog(static_cast<int>(templateId_));
  if (t == nullptr) return -1;
  HWND owner = parent_ ? parent_->GetSafeHwnd() : toolkit::ActiveDialogWindow();
  running_ = true;
  hasSystemMenu_ = (t->style & WS_SYSMENU) != 0;
  systemMenu_.RemoveAll();
  if (hasSystemMenu_) systemMenu_.AppendMenu(MF_STRING, SC_CLOSE, "&Close");
  RunningDialogs().push_back(this);

  // A window of its own on the task bar (the main form) belongs to no other window.
  Events events(*this, (t->exStyle & WS_EX_APPWINDOW) != 0 ? nullptr : owner,
                (t->style & WS_VISIBLE) != 0);
  const int result = backend::RunModalDialog(*t, owner, events);

  auto& running = RunningDialogs();
  running.erase(std::remove(running.begin(), running.end(), this), running.end());
  Detach();
  running_ = false;
  return result;
}

// The window and its controls are gone: nothing may reach them any more.
void CDialog::Detach() {
  for (CWnd* control : boundControls_) control->hwnd_ = nullptr;
  boundControls_.clear();
  items_.clear();
  hwnd_ = nullptr;
  hasSystemMenu_ = false;
}

void CDialog::EndDialog(int result) {
  if (hwnd_ != nullptr) backend::EndDialog(hwnd_, result);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  if (!running_ || hwnd_ == nullptr) return FALSE;
  CDataExchange exchange(this, saveAndValidate);
  DoDataExchange(&exchange);
  return TRUE;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  UpdateData(TRUE);
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange* /*pDX*/) {}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
  CWnd* control = pDX->m_pDlgWnd->GetDlgItem(id);
  if (control == nullptr) return;
  if (pDX->m_bSaveAndValidate) {
    control->GetWindowText(value);
  } else {
    control->SetWindowText(value);
  }
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (control.GetSafeHwnd() != nullptr) return;
  CDialog* dialog = pDX->m_pDlgWnd;
  HWND handle = backend::GetDlgItem(dialog->GetSafeHwnd(), id);
  if (handle == nullptr) return;
  control.hwnd_ = handle;
  dialog->boundControls_.push_back(&control);
}
