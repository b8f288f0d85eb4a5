// The main form's handlers.
#include "app/search_dlg.h"

#include "app/about_dlg.h"
#include "app/field_controls.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CSearchDlg, CDialog)
  ON_WM_SYSCOMMAND()
  ON_WM_PAINT()
  ON_WM_QUERYDRAGICON()
  ON_BN_CLICKED(IDC_SEARCH, OnSearch)
  ON_BN_CLICKED(IDC_SAVE_AND_EXIT, OnSaveAndExit)
  ON_BN_CLICKED(IDC_CREATE_NEW_RECORD, OnCreateNewRecord)
END_MESSAGE_MAP()

CSearchDlg::CSearchDlg(CWnd* parent) : CDialog(IDD_KESTREL_DIALOG, parent) {}
CSearchDlg::~CSearchDlg() = default;

void CSearchDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  for (const FieldControl& f : kFieldControls) DDX_Text(pDX, f.controlId, criteria[f.field]);
}

BOOL CSearchDlg::OnInitDialog() {
  CWinApp* app = AfxGetApp();
  icon = app ? app->LoadIcon(IDR_MAINFRAME) : nullptr;
  CDialog::OnInitDialog();

  if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
    CString print;
    print.LoadString(IDS_PRINT);
    CString about;
    about.LoadString(IDS_ABOUTBOX);
    if (!about.IsEmpty()) {
      systemMenu->AppendMenu(MF_SEPARATOR);
      if (!print.IsEmpty()) systemMenu->AppendMenu(MF_STRING, IDM_PRINT, print);
      systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
    }
  }
  SetIcon(icon, TRUE);
  SetIcon(icon, FALSE);
  if (readOnly) {
    SetWindowText("Kestrel (read-only)");
    for (int id : {IDC_CREATE_NEW_RECORD, IDC_SAVE_AND_EXIT}) {
      if (CWnd* button = GetDlgItem(id)) button->EnableWindow(FALSE);
    }
  }
  return TRUE;  // the focus goes to the first tab stop, the First Name edit
}

void CSearchDlg::OnSysCommand(UINT id, LPARAM lParam) {
  if ((id & 0xFFF0) == IDM_ABOUTBOX) {
    CAboutDlg about;
    about.DoModal();
  } else if ((id & 0xFFF0) == IDM_PRINT) {
    std::array<std::string, StudentRecord::kSearchFieldCount> texts;
    for (const FieldControl& f : kFieldControls) {
      if (CWnd* edit = GetDlgItem(f.controlId)) {
        texts[static_cast<std::size_t>(f.field)] = edit->GetWindowText().str();
      }
    }
    if (print) print(texts);
  } else {
    CDialog::OnSysCommand(id, lParam);
  }
}

// Where the desktop paints minimised windows, the form shows its icon centred.
void CSearchDlg::OnPaint() {
  if (!IsIconic()) {
    CDialog::OnPaint();
    return;
  }
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  const int iconWidth = GetSystemMetrics(SM_CXICON);
  const int iconHeight = GetSystemMetrics(SM_CYICON);
  CRect rect;
  GetClientRect(&rect);
  const int x = (rect.Width() - iconWidth + 1) / 2;
  const int y = (rect.Height() - iconHeight + 1) / 2;
  dc.DrawIcon(x, y, icon);
}

HCURSOR CSearchDlg::OnQueryDragIcon() { return icon; }

void CSearchDlg::OnSearch() {
  UpdateData(TRUE);
  EndDialog(kSearch);
}

void CSearchDlg::OnSaveAndExit() {
  if (readOnly) return;
  if (AfxMessageBox("Do you want to save changes (if any)?", MB_YESNO) == IDYES) {
    EndDialog(kSaveAndExit);
  }
}

void CSearchDlg::OnCreateNewRecord() {
  if (!readOnly) EndDialog(kCreateNewRecord);
}

void CSearchDlg::OnOK() { SendMessage(WM_NEXTDLGCTL, 0, 0); }
