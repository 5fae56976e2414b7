// For tests of the substitute engine: its fast paths for common copies can
// be turned off, so their results can be compared with the general
// per-pixel path. On by default.
#pragma once

#include "uGdiClient.h"

extern "C" {
PIXMOR_EXPORT void PlatformEngineFastPaths(BOOL on);
}
