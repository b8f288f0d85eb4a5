// kestrel: the student contact book. Until the main loop is in place the
// program shows the main form once.
#include <cstdio>
#include <cstring>

#include "app/search_dlg.h"
#include "app/toolkit/afxwin.h"

namespace {

class CKestrelApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    AfxEnableControlContainer();
    Enable3dControls();
    searchDlg.DoModal();
    return FALSE;
  }

  CSearchDlg searchDlg;
};

CKestrelApp theApp;

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::puts(
          "usage: kestrel  (keeps the student contact book \"phone.dat\" of the current folder)");
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::puts("kestrel " KESTREL_VERSION);
      return 0;
    }
  }
  return AfxWinMain(argc, argv);
}
