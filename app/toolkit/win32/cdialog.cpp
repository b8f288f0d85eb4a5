// CDialog on the Windows dialog manager: each run builds an extended
// template from res/, runs it with DialogBoxIndirectParamW and hands the
// dialog procedure's messages to the dialog's message map.
#include "app/toolkit/cdialog.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "app/toolkit/win32/access.h"
#include "app/toolkit/win32/dialog_template_ex.h"
#include "res/resources.h"

namespace {

// Controls bound with DDX_Control, by the dialog window they belong to; they
// let go of their window when it goes, so the next run binds them afresh.
std::vector<std::pair<win32::Window, CWnd*>>& BoundControls() {
  static std::vector<std::pair<win32::Window, CWnd*>> bound;
  return bound;
}

class MessageMapEvents : public win32::DialogEvents {
 public:
  explicit MessageMapEvents(CDialog& dialog) : dialog_(dialog) {}

  bool Init(win32::Window window) override {
    window_ = window;
    toolkit::Access::Attach(dialog_, window);
    const bool focusFirst = dialog_.OnInitDialog() != FALSE;
    // Windows draws its own "Close"; what the dialog appended goes below it.
    for (const CMenu::Item& item : toolkit::Access::SystemMenuOf(dialog_).Items()) {
      win32::AppendSystemMenuItem(window, item.flags, item.id, item.text);
    }
    return focusFirst;
  }
  void Command(unsigned code, int id) override {
    if (const MessageMapEntry* e = Find(WM_COMMAND, code, id)) (dialog_.*(e->handler))();
  }
  bool SysCommand(unsigned command, std::intptr_t lParam) override {
    const MessageMapEntry* e = Find(WM_SYSCOMMAND, 0, 0);
    if (e == nullptr) return false;
    (dialog_.*(e->sysCommandHandler))(command, lParam);
    return true;
  }
  bool Paint() override {
    const MessageMapEntry* e = Find(WM_PAINT, 0, 0);
    if (e == nullptr) return false;
    (dialog_.*(e->handler))();
    return true;
  }
  bool QueryDragIcon(win32::Icon* icon) override {
    const MessageMapEntry* e = Find(WM_QUERYDRAGICON, 0, 0);
    if (e == nullptr) return false;
    *icon = (dialog_.*(e->queryIconHandler))();
    return true;
  }
  void Destroyed() override {
    auto& bound = BoundControls();
    for (auto& [window, control] : bound) {
      if (window == window_) toolkit::Access::Attach(*control, nullptr);
    }
    std::erase_if(bound, [this](const auto& entry) { return entry.first == window_; });
    toolkit::Access::DropItems(dialog_);
    toolkit::Access::Attach(dialog_, nullptr);
  }

 private:
  // The class's own table first, then each base table in turn.
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
  win32::Window window_ = nullptr;
};

}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, OnOK)
  ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : templateId_(templateId), parent_(parent) {}
CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
  if (running_) return -1;
  const DialogTemplate* t = FindDialogTemplate(static_cast<int>(templateId_));
  if (t == nullptr) return -1;
  // Without a parent the dialog belongs to the window that is active, as the
  // About box belongs to the main form.
  win32::Window owner = parent_ ? toolkit::Access::Window(*parent_) : win32::ActiveWindow();
  MessageMapEvents events(*this);
  running_ = true;
  ended_ = false;
  result_ = -1;
  systemMenu_.RemoveAll();
  const INT_PTR result = win32::RunDialog(win32::BuildDialogTemplateEx(*t), owner, &events);
  running_ = false;
  return result;
}

void CDialog::EndDialog(int result) {
  ended_ = true;
  result_ = result;
  if (win32::Window window = toolkit::Access::Window(*this)) win32::EndDialog(window, result);
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
  const win32::Window dialog = toolkit::Access::Window(*pDX->m_pDlgWnd);
  const win32::Window item = dialog ? win32::DialogItem(dialog, id) : nullptr;
  if (item == nullptr) return;
  toolkit::Access::Attach(control, item);
  BoundControls().emplace_back(dialog, &control);
}
