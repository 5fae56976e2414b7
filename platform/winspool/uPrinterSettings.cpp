// The printer's information and stored device modes (GetPrinterW and
// SetPrinterW) and DocumentPropertiesW. Not built yet.
#include "uPrinterStore.h"

extern "C" {

PIXMOR_EXPORT BOOL WINAPI GetPrinterW(HANDLE, DWORD, LPBYTE, DWORD, LPDWORD) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return kFalse;
}

PIXMOR_EXPORT BOOL WINAPI SetPrinterW(HANDLE, DWORD, LPBYTE, DWORD) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return kFalse;
}

PIXMOR_EXPORT LONG WINAPI DocumentPropertiesW(HWND, HANDLE, LPWSTR, DEVMODEW*, DEVMODEW*, DWORD) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return -1;
}

}  // extern "C"
