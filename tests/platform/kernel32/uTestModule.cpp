// A module for the loader tests: it counts its DllMain calls.
#include "uWinBase.h"

namespace {
int Attaches = 0;
int Detaches = 0;
HINSTANCE Instance = nullptr;
}  // namespace

extern "C" {
PIXMOR_EXPORT BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    ++Attaches;
    Instance = instance;
  }
  if (reason == DLL_PROCESS_DETACH) ++Detaches;
  return kTrue;
}
PIXMOR_EXPORT int TestModuleAttaches() { return Attaches; }
PIXMOR_EXPORT int TestModuleDetaches() { return Detaches; }
PIXMOR_EXPORT HINSTANCE TestModuleInstance() { return Instance; }
}
