// The configuration driver's own module instance, which the sheet service
// needs to find the driver's strings and icons.
#pragma once

#include "uWinBase.h"

namespace pixmor {
extern HINSTANCE ModuleInstance;
}
