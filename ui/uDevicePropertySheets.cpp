// The printer sheet: the same four items in the service's tree view,
// starting from the stored settings and storing the applied ones as the
// user's default for the printer. The printer-wide scope is never written.
#include "uBoundary.h"
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

LONG Fail(DWORD error) {
  SetLastError(error);
  return -1;
}

LONG DeviceSheetCall(PROPSHEETUI_INFO& info, LPARAM lParam) {
  switch (info.Reason) {
    case PROPSHEETUI_REASON_INIT: {
      // The header comes as lParam, the same as lParamInit.
      auto* header =
          reinterpret_cast<DEVICEPROPERTYHEADER*>(lParam != 0 ? lParam : info.lParamInit);
      if (header == nullptr) return Fail(ERROR_INVALID_DATA);
      if (!BuildPropSheet(SheetItems, info, header->hPrinter, DevicePropSheetCallback,
                          CPSUI_PDLGPAGE_TREEVIEWONLY)) {
        return -1;
      }
      return 1;
    }
    case PROPSHEETUI_REASON_GET_INFO_HEADER: {
      auto* infoHeader = reinterpret_cast<PPROPSHEETUI_INFO_HEADER>(lParam);
      if (infoHeader == nullptr) return Fail(ERROR_INVALID_DATA);
      infoHeader->pTitle = nullptr;
      infoHeader->Flags = PrinterHeaderFlags;
      infoHeader->hInst = ModuleInstance;
      infoHeader->IconID = IDI_PIXMOR_SHEET;
      return 1;
    }
    case PROPSHEETUI_REASON_DESTROY: {
      PSheetData data = SheetDataOf(info.UserData);
      if (data == nullptr) return 0;
      FreeSheetData(data);
      info.UserData = 0;
      return 1;
    }
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
