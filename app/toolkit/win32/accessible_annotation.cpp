// Names for screen readers that Windows cannot find itself (the list box, a
// control without a label): dynamic annotation of the control's name with
// IAccPropServices::SetHwndPropStr. The call goes through a replaceable
// function, so that tests see it where the system's side cannot be read back.
#include "app/toolkit/win32/windows_header.h"
// (windows_header.h first: it brings <windows.h> with the program's settings.)
#include <oleacc.h>

#include "app/toolkit/win32/native.h"
#include "app/toolkit/win32/utf16_text.h"

namespace win32 {
namespace {

void AnnotateWithAccPropServices(Window control, std::string_view cp1252Name) {
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
    return;
  }
  const std::u16string name = ToUtf16(cp1252Name);
  const std::wstring wide(name.begin(), name.end());
  services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME,
                           wide.c_str());
  services->Release();
}

NameAnnotation annotation = AnnotateWithAccPropServices;

}  // namespace

NameAnnotation SetNameAnnotation(NameAnnotation annotate) {
  const NameAnnotation previous = annotation;
  annotation = annotate;
  return previous;
}

void AnnotateName(Window control, std::string_view cp1252Name) { annotation(control, cp1252Name); }

}  // namespace win32
