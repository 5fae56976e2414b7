#include "uSheetReasons.h"

#include "uModuleInstance.h"
#include "uPixmorUIDefs.h"
#include "uPropSheetBuilder.h"

namespace pixmor {

LONG FailSheetCall(DWORD error) {
  SetLastError(error);
  return -1;
}

LONG FillInfoHeader(LPARAM lParam, WORD flags) {
  auto* infoHeader = reinterpret_cast<PPROPSHEETUI_INFO_HEADER>(lParam);
  if (infoHeader == nullptr) return FailSheetCall(ERROR_INVALID_DATA);
  infoHeader->pTitle = nullptr;
  infoHeader->Flags = flags;
  infoHeader->hInst = ModuleInstance;
  infoHeader->IconID = IDI_PIXMOR_SHEET;
  return 1;
}

LONG DestroySheet(PROPSHEETUI_INFO& info) {
  PSheetData data = SheetDataOf(info.UserData);
  if (data == nullptr) return 0;
  FreeSheetData(data);
  info.UserData = 0;
  return 1;
}

}  // namespace pixmor
