// The record dialog's handlers.
#include "app/record_dlg.h"

#include "app/field_controls.h"
#include "app/record_fields.h"
#include "text/field_text.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CRecordDlg, CDialog)
  ON_BN_CLICKED(IDC_NEXT_RECORD, OnNextRecord)
  ON_BN_CLICKED(IDC_DELETE_RECORD, OnDeleteRecord)
  ON_BN_CLICKED(IDC_SAVE_CHANGES, OnSaveChanges)
END_MESSAGE_MAP()

CRecordDlg::CRecordDlg(CWnd* parent) : CDialog(IDD_RECORD_DIALOG, parent) {}
CRecordDlg::~CRecordDlg() = default;

void CRecordDlg::SetRecord(StudentRecord* shown) {
  record = shown;
  if (shown == nullptr) {
    for (CString& text : texts) text.Empty();
    return;
  }
  for (int i = 0; i < address1; ++i) texts[i] = shown->field(i);
  texts[address1] = JoinAddress(*shown);
}

void CRecordDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  for (const FieldControl& f : kFieldControls) DDX_Text(pDX, f.controlId, texts[f.field]);
}

BOOL CRecordDlg::OnInitDialog() {
  CWinApp* app = AfxGetApp();
  icon = app ? app->LoadIcon(IDR_MAINFRAME) : nullptr;
  // Each field holds 99 characters; the address line fills five of them.
  for (const FieldControl& f : kFieldControls) {
    if (CWnd* edit = GetDlgItem(f.controlId)) {
      edit->SendMessage(EM_LIMITTEXT, f.field == address1 ? kAddressLineMax : static_cast<int>(field_text::kMaxLength));
    }
  }
  CDialog::OnInitDialog();
  SetIcon(icon, TRUE);
  SetIcon(icon, FALSE);

  if (position != 0) {
    CString caption;
    caption.Format("Matching Record %d of %d", position, count);
    SetWindowText(caption);
  } else {
    SetWindowText("New Record");
    if (CWnd* button = GetDlgItem(IDC_DELETE_RECORD)) {
      button->ShowWindow(SW_HIDE);
      button->EnableWindow(FALSE);
    }
  }
  if (count == 1) {
    for (int id : {IDC_NEXT_RECORD, IDOK}) {
      if (CWnd* button = GetDlgItem(id)) {
        button->ShowWindow(SW_HIDE);
        button->EnableWindow(FALSE);
      }
    }
  }
  // The focus goes to the first visible tab stop: "&Next Record" while
  // several matches are browsed, else "&Save Changes".
  return TRUE;
}

CRecordDlg::SaveOutcome CRecordDlg::SaveTexts() {
  UpdateData(TRUE);
  if (record == nullptr) return SaveOutcome::kRefused;
  // Asked before anything is cleared: declining keeps the record as it was.
  if (texts[firstName].IsEmpty() && texts[lastName].IsEmpty() &&
      AfxMessageBox("Create a record with no name?", MB_YESNO) != IDYES) {
    return SaveOutcome::kDeclined;
  }
  StudentRecord edited;
  for (int i = 0; i < address1; ++i) field_text::Store(edited.fields[i], texts[i].str());
  if (!StoreAddress(edited, texts[address1].str())) {
    CString message;
    message.Format("The address is too long to store.  The five address parts hold %d characters; "
                   "please shorten it.",
                   5 * static_cast<int>(field_text::kMaxLength));
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    return SaveOutcome::kRefused;
  }
  StudentRecord* master = record->master ? record->master : record;
  for (StudentRecord* target : {record, master}) {
    StudentRecord* const link = target->master;
    *target = edited;
    target->master = link;
  }
  if (changed) changed(*master);
  return SaveOutcome::kSaved;
}

void CRecordDlg::OnSaveChanges() { SaveTexts(); }

void CRecordDlg::OnDeleteRecord() {
  if (AfxMessageBox("Delete current record?", MB_YESNO) != IDYES) return;
  if (record != nullptr) {
    if (record->master != nullptr) Clear(*record->master);
    Clear(*record);
    if (changed) changed(record->master != nullptr ? *record->master : *record);
  }
  EndDialog(kNextRecord);
}

void CRecordDlg::OnNextRecord() { EndDialog(kNextRecord); }

void CRecordDlg::OnOK() {
  if (position != 0) {
    EndDialog(kViewMatchingList);
  } else {
    SendMessage(WM_NEXTDLGCTL, 0, 0);
  }
}

void CRecordDlg::OnCancel() {
  if (position != 0) {
    EndDialog(kStartOver);  // edits not saved are dropped; earlier saves stand
    return;
  }
  switch (AfxMessageBox("Save and exit?", MB_YESNOCANCEL)) {
    case IDYES:
      // Declining the no-name question still ends the dialog; an address
      // that does not fit keeps it open so that nothing typed is lost.
      if (SaveTexts() == SaveOutcome::kRefused) return;
      EndDialog(kStartOver);
      return;
    case IDNO:
      EndDialog(kStartOver);
      return;
    default:
      return;  // Cancel: keep editing
  }
}
