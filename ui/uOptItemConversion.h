// The conversions between the option items' selections and the sheet's
// device mode, by each item's DMPUB_ identifier.
#pragma once

#include "uSheetData.h"

namespace pixmor {

// Sets each item's Sel from the sheet's record; false (nothing done) when
// the items, the sheet or its record is missing.
bool DevModeToOptItems(POPTITEM items, UINT count, PSheetData data);

// Writes each item's selection into the sheet's record, adding the fields'
// bits to dmFields (never removing one); false as above.
bool OptItemsToDevMode(const OPTITEM* items, UINT count, PSheetData data);

// Zeroes dmFormName and copies at most its 32 units of the name.
void SetFormName(LPCWSTR name, DEVMODEW* devMode);

}  // namespace pixmor
