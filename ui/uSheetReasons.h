// What the document and the printer sheet do alike for the sheet service's
// calls: the info header, the end of a sheet, and a failure with its error.
#pragma once

#include "uCompstui.h"

namespace pixmor {

// Sets the thread's last error and returns the sheet function's -1.
LONG FailSheetCall(DWORD error);

// GET_INFO_HEADER: no title of our own, the given flags, and the driver's
// icon group; -1 with ERROR_INVALID_DATA without a header to fill.
LONG FillInfoHeader(LPARAM lParam, WORD flags);

// DESTROY: frees the sheet's record; 0 when there was none.
LONG DestroySheet(PROPSHEETUI_INFO& info);

}  // namespace pixmor
