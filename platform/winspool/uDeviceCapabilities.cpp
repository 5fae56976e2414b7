// DeviceCapabilitiesW: the spooler answers an application's capability
// query by asking the printer's configuration driver.
#include <bit>

#include "uPrinterStore.h"

namespace {
using PFN_DrvDeviceCapabilities = DWORD(APIENTRY*)(HANDLE, PWSTR, WORD, void*, DEVMODEW*);
}

extern "C" PIXMOR_EXPORT INT WINAPI DeviceCapabilitiesW(LPCWSTR pDevice, LPCWSTR, WORD fwCapability,
                                                        LPWSTR pOutput, const DEVMODEW* pDevMode) {
  if (pDevice == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  std::u16string name(pDevice);
  HANDLE hPrinter = nullptr;
  if (!OpenPrinterW(name.data(), &hPrinter, nullptr)) return -1;
  INT result = -1;
  const std::u16string module = spool::Utf16(spool::HandleOf(hPrinter)->ConfigModule);
  if (HMODULE config = LoadLibraryW(module.c_str())) {
    if (auto query = std::bit_cast<PFN_DrvDeviceCapabilities>(
            GetProcAddress(config, "DrvDeviceCapabilities"))) {
      result = static_cast<INT>(
          query(hPrinter, name.data(), fwCapability, pOutput, const_cast<DEVMODEW*>(pDevMode)));
    }
    FreeLibrary(config);
  }
  ClosePrinter(hPrinter);
  return result;
}
