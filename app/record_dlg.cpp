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
  ON_EN_CHANGE(IDC_ADDRESS, OnChangeAddress)
  ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
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
  acceptedAddress_.clear();
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
  if (readOnly) {
    for (const FieldControl& f : kFieldControls) {
      if (CWnd* edit = GetDlgItem(f.controlId)) edit->SendMessage(EM_SETREADONLY, TRUE);
    }
    for (int id : {IDC_SAVE_CHANGES, IDC_DELETE_RECORD}) {
      if (CWnd* button = GetDlgItem(id)) button->EnableWindow(FALSE);
    }
  }
  // The focus goes to the first visible tab stop: "&Next Record" while
  // several matches are browsed, else "&Save Changes".
  return TRUE;
}

void CRecordDlg::SaveTexts() {
  UpdateData(TRUE);
  if (record == nullptr) return;
  // Asked before anything is cleared: declining keeps the record as it was.
  if (texts[firstName].IsEmpty() && texts[lastName].IsEmpty() &&
      AfxMessageBox("Create a record with no name?", MB_YESNO) != IDYES) {
    return;
  }
  StudentRecord edited;
  for (int i = 0; i < address1; ++i) field_text::Store(edited.fields[i], texts[i].str());
  // Always stored: the Address edit holds no line that the parts cannot.
  StoreAddress(edited, texts[address1].str());
  StudentRecord* master = record->master ? record->master : record;
  for (StudentRecord* target : {record, master}) {
    StudentRecord* const link = target->master;
    *target = edited;
    target->master = link;
  }
  if (changed) changed(*master);
}

void CRecordDlg::OnChangeAddress() {
  CWnd* edit = GetDlgItem(IDC_ADDRESS);
  if (edit == nullptr) return;
  const CString line = edit->GetWindowText();
  if (AddressFits(line.str())) {
    acceptedAddress_ = line.str();
  } else {
    edit->SetWindowText(acceptedAddress_.c_str());  // as if the key had not been pressed
  }
}

void CRecordDlg::OnSaveChanges() {
  if (!readOnly) SaveTexts();
}

void CRecordDlg::OnFilePrint() {
  if (!print) return;
  UpdateData(TRUE);
  StudentRecord shown;
  for (int i = 0; i < address1; ++i) field_text::Store(shown.fields[i], texts[i].str());
  StoreAddress(shown, texts[address1].str());
  print(shown);
}

void CRecordDlg::OnDeleteRecord() {
  if (readOnly) return;
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
      SaveTexts();  // declining the no-name question still ends the dialog
      EndDialog(kStartOver);
      return;
    case IDNO:
      EndDialog(kStartOver);
      return;
    default:
      return;  // Cancel: keep editing
  }
}
