#include "uCommonPropertySheet.h"

#include <bit>

namespace pixmor {

LONG RunCommonPropertySheetUI(HWND hWnd, PFNPROPSHEETUI pfnPropSheetUI, LPARAM lParam,
                              LPDWORD pResult) {
  HMODULE service = LoadLibraryW(u"compstui.dll");
  if (service == nullptr) return -1;
  LONG result = -1;
  if (FARPROC proc = GetProcAddress(service, "CommonPropertySheetUIW")) {
    result = std::bit_cast<PFN_CommonPropertySheetUIW>(proc)(hWnd, pfnPropSheetUI, lParam, pResult);
  }
  FreeLibrary(service);
  return result;
}

}  // namespace pixmor
