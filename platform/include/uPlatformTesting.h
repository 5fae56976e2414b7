// Switches of the substitute base services that only tests use.
#pragma once

#include "uWinBase.h"

extern "C" {
// Blocks handed out by LocalAlloc and not yet given back.
PIXMOR_EXPORT long PlatformLiveLocalBlocks();
// Calls of LocalAlloc so far, successful or not.
PIXMOR_EXPORT unsigned long PlatformLocalAllocCalls();
// Makes the n-th LocalAlloc from now fail (n = 1 is the next); 0 turns it off.
PIXMOR_EXPORT void PlatformFailNthLocalAlloc(unsigned long n);
}
