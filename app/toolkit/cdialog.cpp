// CDialog: modal runs from templates, message-map dispatch, data exchange.
#include "app/toolkit/cdialog.h"

#include <QApplication>
#include <memory>

#include "app/toolkit/qt_access.h"
#include "res/resources.h"

namespace {

// Hands what the window reports to the dialog's message map, searching the
// class's own table first and then each base table.
class MessageMapHost : public toolkit::DialogHost {
 public:
  explicit MessageMapHost(CDialog& dialog) : dialog_(dialog) {}

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
  const CMenu* SystemMenu() override { return dialog_.GetSystemMenu(FALSE); }

 private:
  const MessageMapEntry* Find(UINT message, UINT code, int id) const {
    for (const MessageMap* map = toolkit::Access::MapOf(dialog_); map != nullptr;
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
};

}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, OnOK)
  ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : templateId_(templateId), parent_(parent) {}
CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
  if (running_ || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return -1;
  const DialogTemplate* t = FindDialogTemplate(static_cast<int>(templateId_));
  if (t == nullptr) return -1;
  // Without a parent the dialog belongs to the dialog that is running, as the
  // About box belongs to the main form.
  QWidget* owner = parent_ ? toolkit::Access::Widget(*parent_) : QApplication::activeModalWidget();
  MessageMapHost host(*this);
  std::unique_ptr<toolkit::DialogWindow> window(toolkit::BuildDialogWindow(*t, owner, &host));
  toolkit::Access::Attach(*this, window.get());
  running_ = true;
  ended_ = false;
  result_ = -1;
  systemMenu_.RemoveAll();
  if (t->style & WS_SYSMENU) systemMenu_.AppendMenu(MF_STRING, SC_CLOSE, "&Close");

  const BOOL focusFirst = OnInitDialog();
  if (ended_) window->End(result_);
  const int result = window->Run(focusFirst != FALSE);

  toolkit::Access::DropItems(*this);
  toolkit::Access::Attach(*this, nullptr);
  window.reset();
  running_ = false;
  return result;
}

void CDialog::EndDialog(int result) {
  ended_ = true;
  result_ = result;
  if (auto* window = toolkit::WindowOf(*this)) window->End(result);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  if (!running_) return FALSE;
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
  toolkit::Access::Attach(control, toolkit::FindControl(toolkit::WindowOf(*pDX->m_pDlgWnd), id));
}
