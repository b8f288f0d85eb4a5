// The Print dialog's handlers.
#include "app/print_dlg.h"

#include <charconv>
#include <string>

#include "res/resource.h"

namespace {

// The list items, in the order of the choices they stand for.
constexpr const char* kLayoutItems[] = {"List", "Address labels", "Record cards"};
constexpr report::Layout kLayouts[] = {report::Layout::list, report::Layout::labels,
                                       report::Layout::cards};
constexpr const char* kAddresseeItems[] = {"Student", "Parent"};

// A whole number from 0 to `most`, spaces around it allowed; -1 otherwise.
int WholeNumber(const std::string& text, int most) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return 0;  // an empty box skips none
  const std::size_t last = text.find_last_not_of(' ');
  int value = -1;
  const char* begin = text.data() + first;
  const char* end = text.data() + last + 1;
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || stop != end || value < 0 || value > most) return -1;
  return value;
}

}  // namespace

BEGIN_MESSAGE_MAP(CPrintDlg, CDialog)
  ON_BN_CLICKED(IDC_PRINT_PREVIEW, OnPreview)
END_MESSAGE_MAP()

CPrintDlg::CPrintDlg(CWnd* parent) : CDialog(IDD_PRINT, parent) {}
CPrintDlg::~CPrintDlg() = default;

void CPrintDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PRINT_LAYOUT, layoutList);
  DDX_Control(pDX, IDC_PRINT_TO, addresseeList);
  DDX_Text(pDX, IDC_PRINT_SKIP, skipText);
}

BOOL CPrintDlg::OnInitDialog() {
  skipText.Format("%d", skipLabels);
  CDialog::OnInitDialog();  // binds the lists and fills the edit
  layoutList.ResetContent();
  for (const char* item : kLayoutItems) layoutList.AddString(item);
  for (int i = 0; i < static_cast<int>(std::size(kLayouts)); ++i) {
    if (kLayouts[i] == layout) layoutList.SetCurSel(i);
  }
  addresseeList.ResetContent();
  for (const char* item : kAddresseeItems) addresseeList.AddString(item);
  addresseeList.SetCurSel(to == report::Addressee::parent ? 1 : 0);
  if (!offerPreview) {
    if (CWnd* preview = GetDlgItem(IDC_PRINT_PREVIEW)) {
      preview->ShowWindow(SW_HIDE);
      preview->EnableWindow(FALSE);
    }
  }
  return TRUE;  // the focus goes to the layout list
}

bool CPrintDlg::TakeChoices() {
  UpdateData(TRUE);
  const int skip = WholeNumber(skipText.str(), kMaxSkip);
  if (skip < 0) {
    CString message;
    message.Format("Type the number of labels to skip, from 0 to %d.", kMaxSkip);
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    if (CWnd* edit = GetDlgItem(IDC_PRINT_SKIP)) edit->SetFocus();
    return false;
  }
  skipLabels = skip;
  const int chosen = layoutList.GetCurSel();
  if (chosen >= 0 && chosen < static_cast<int>(std::size(kLayouts))) layout = kLayouts[chosen];
  to = addresseeList.GetCurSel() == 1 ? report::Addressee::parent : report::Addressee::student;
  return true;
}

void CPrintDlg::OnOK() {
  if (TakeChoices()) EndDialog(kPrint);
}

void CPrintDlg::OnPreview() {
  if (TakeChoices()) EndDialog(kPreview);
}
