// Library start and unload of the rendering driver. Nothing but the error
// hook happens at start: gdi32.dll is loaded by the first DrvEnableDriver.
#include "uErrorHook.h"
#include "uWinBase.h"

extern "C" PIXMOR_EXPORT BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) pixmor::InstallSilentErrorHook();
  // Unload releases nothing of the driver's state; only the error routine,
  // which would point into the unloaded library, is given back.
  if (reason == DLL_PROCESS_DETACH) pixmor::RemoveSilentErrorHook();
  return kTrue;
}
