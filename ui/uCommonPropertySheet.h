// The binding of the platform's common property-sheet service.
#pragma once

#include "uCompstui.h"

namespace pixmor {

// Loads compstui.dll, runs CommonPropertySheetUIW with the sheet function and
// its header, and unloads the service again; -1 when it cannot be reached.
LONG RunCommonPropertySheetUI(HWND hWnd, PFNPROPSHEETUI pfnPropSheetUI, LPARAM lParam,
                              LPDWORD pResult);

}  // namespace pixmor
