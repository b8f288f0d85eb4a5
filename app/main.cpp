// kestrel: the student contact book "phone.dat" of the current folder.
#include <cstring>

#include "app/kestrel_app.h"

namespace {

// The one program object; the toolkit finds it through AfxGetApp.
CKestrelApp theApp;

}  // namespace

int main(int argc, char** argv) {
  // Only these two; anything else is left to Qt, which takes its own options
  // (-platform, -display, ...) and ignores the rest.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      AfxPrintProgramLine(
          "usage: kestrel  (keeps the student contact book \"phone.dat\" of the current folder)");
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      AfxPrintProgramLine("kestrel " KESTREL_VERSION);
      return 0;
    }
  }
  return AfxWinMain(argc, argv);
}
