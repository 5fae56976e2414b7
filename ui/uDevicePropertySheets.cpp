// The printer sheet: the same four items in the service's tree view,
// starting from the stored settings and storing the applied ones as the
// user's default for the printer. The printer-wide scope is never written.
#include "uBoundary.h"
#include "uSheetReasons.h"
#include "uModuleInstance.h"
#include "uPixmorDefs.h"
#include "uPixmorUIDefs.h"
#include "uPropSheetBuilder.h"
#include "uSheetCallbacks.h"
#include "uStoredSettings.h"

namespace pixmor {

namespace {

constexpr WORD PrinterHeaderFlags = PSUIHDRF_NOAPPLYNOW | PSUIHDRF_DEFTITLE;
static_assert(PrinterHeaderFlags == 0x12);

LONG DeviceSheetCall(PROPSHEETUI_INFO& info, LPARAM lParam) {
  switch (info.Reason) {
    case PROPSHEETUI_REASON_INIT: {
      // The header comes as lParam, the same as lParamInit.
      auto* header =
          reinterpret_cast<DEVICEPROPERTYHEADER*>(lParam != 0 ? lParam : info.lParamInit);
      if (header == nullptr) return FailSheetCall(ERROR_INVALID_DATA);
      if (!BuildPropSheet(SheetItems, info, header->hPrinter, DevicePropSheetCallback,
                          CPSUI_PDLGPAGE_TREEVIEWONLY)) {
        return -1;
      }
      return 1;
    }
    case PROPSHEETUI_REASON_GET_INFO_HEADER:
      return FillInfoHeader(lParam, PrinterHeaderFlags);
    case PROPSHEETUI_REASON_DESTROY:
      return DestroySheet(info);
    case PROPSHEETUI_REASON_SET_RESULT: {
      const PSheetData data = SheetDataOf(info.UserData);
      if (data == nullptr) return 0;
      StoreDevMode(data->hPrinter, data->pDevMode, DevModeSize, false);  // result not used
      return 1;
    }
    default:
      return 0;
  }
}

}  // namespace

}  // namespace pixmor

extern "C" PIXMOR_EXPORT LONG APIENTRY DrvDevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo,
                                                               LPARAM lParam) {
  return pixmor::Guarded(LONG{-1}, [&] {
    if (pPSUIInfo == nullptr) {
      SetLastError(ERROR_INVALID_DATA);
      return LONG{-1};
    }
    return pixmor::DeviceSheetCall(*pPSUIInfo, lParam);
  });
}
