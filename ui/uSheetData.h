// The record of one open property sheet, from its INIT call to its DESTROY
// call; reachable as UserData of the sheet's info, header and every item.
#pragma once

#include "uCompstui.h"

namespace pixmor {

struct TSheetData {
  HANDLE hComPropSheet;             // kept for the sheet's life, not read again
  PFNCOMPROPSHEET pfnComPropSheet;  // kept for the sheet's life, not read again
  LONG_PTR hPage;                   // what the service returned for the page
  HANDLE hPrinter;
  PCOMPROPSHEETUI pSheet;  // the sheet block
  DEVMODEW* pDevMode;      // the sheet's own record, DevModeSize bytes
};
using PSheetData = TSheetData*;

inline PSheetData SheetDataOf(ULONG_PTR userData) { return reinterpret_cast<PSheetData>(userData); }

}  // namespace pixmor
