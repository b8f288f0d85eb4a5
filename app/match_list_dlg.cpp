// The match list's handlers.
#include "app/match_list_dlg.h"

#include "app/kestrel_app.h"
#include "res/resource.h"

namespace {

// The application object that owns the matches; nullptr when the running
// program object is some other CWinApp (it then has no matches to list).
CKestrelApp* RunningKestrel() { return dynamic_cast<CKestrelApp*>(AfxGetApp()); }

}  // namespace

BEGIN_MESSAGE_MAP(CMatchListDlg, CDialog)
  ON_LBN_DBLCLK(IDC_MATCH_LIST, OnDblclkMatchList)
  ON_BN_CLICKED(IDC_VIEW_SELECTED, OnViewSelected)
  ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
END_MESSAGE_MAP()

CMatchListDlg::CMatchListDlg(CWnd* parent) : CDialog(IDD_MATCH_LIST, parent) {}
CMatchListDlg::~CMatchListDlg() = default;

void CMatchListDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_MATCH_LIST, listBox);
}

BOOL CMatchListDlg::OnInitDialog() {
  UpdateData(FALSE);  // binds listBox, which the fill below needs
  if (CKestrelApp* app = RunningKestrel()) app->FillMatchList();
  UpdateData(FALSE);
  CWinApp* app = AfxGetApp();
  icon = app ? app->LoadIcon(IDR_MAINFRAME) : nullptr;
  listBox.SetCurSel(0);
  CDialog::OnInitDialog();
  SetIcon(icon, TRUE);
  SetIcon(icon, FALSE);
  return TRUE;  // the focus goes to the list
}

void CMatchListDlg::OnDblclkMatchList() {
  if (CKestrelApp* app = RunningKestrel()) app->selIndex = listBox.GetCurSel();
  EndDialog(kChosen);
}

void CMatchListDlg::OnViewSelected() { OnDblclkMatchList(); }

void CMatchListDlg::OnFilePrint() {
  if (CKestrelApp* app = RunningKestrel()) app->PrintMatches();
}
