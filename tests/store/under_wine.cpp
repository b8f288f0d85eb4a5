// Wine's ntdll exports wine_get_version; Windows' does not.
#include "under_wine.h"

#ifdef _WIN32
#include <windows.h>

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
#else
bool UnderWine() { return false; }
#endif
