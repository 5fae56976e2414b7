// The device description: DrvEnablePDEV and its companions. Not built yet:
// every call fails with its failure value.
#include "uDriverFunctions.h"

namespace pixmor {

DHPDEV APIENTRY DrvEnablePDEV(DEVMODEW*, LPWSTR, ULONG, HSURF*, ULONG, GDIINFO*, ULONG, DEVINFO*,
                              HDEV, LPWSTR, HANDLE) {
  return nullptr;
}
void APIENTRY DrvCompletePDEV(DHPDEV, HDEV) {}
BOOL APIENTRY DrvResetPDEV(DHPDEV, DHPDEV) { return kFalse; }
void APIENTRY DrvDisablePDEV(DHPDEV) {}

}  // namespace pixmor
