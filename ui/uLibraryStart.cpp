// Library start of the configuration driver: it keeps its module instance
// and, once per process, replaces the run-time's routine for uncaught errors.
#include "uErrorHook.h"
#include "uModuleInstance.h"

namespace pixmor {
HINSTANCE ModuleInstance = nullptr;
}

extern "C" PIXMOR_EXPORT BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    pixmor::ModuleInstance = instance;
    pixmor::InstallSilentErrorHook();
  }
  // Unload releases nothing (no sheet state outlives its DESTROY); only the
  // error routine, which would point into the unloaded library, is given back.
  if (reason == DLL_PROCESS_DETACH) pixmor::RemoveSilentErrorHook();
  return kTrue;
}
