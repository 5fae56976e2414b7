// The option-item callbacks of the two sheets: the applied selections reach
// the sheet's record only when the service reports them applied.
#pragma once

#include "uCompstui.h"

namespace pixmor {

LONG CALLBACK DocumentPropSheetCallback(PCPSUICBPARAM param);
LONG CALLBACK DevicePropSheetCallback(PCPSUICBPARAM param);

}  // namespace pixmor
