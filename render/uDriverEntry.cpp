// The library's three exports: the engine's first call, which binds the
// engine services and hands back the function table, the user-mode query
// and the final call.
#include <bit>

#include "uDriverFunctions.h"
#include "uEngineServices.h"
#include "uEntryPoint.h"

namespace pixmor {

namespace {
template <class Fn>
DRVFN Entry(ULONG index, Fn fn) {
  return DRVFN{index, std::bit_cast<PFN>(fn)};
}
}  // namespace

const std::array<DRVFN, DriverFunctionCount> DriverFunctions = {{
    Entry(INDEX_DrvDisableDriver, &::DrvDisableDriver),
    Entry(INDEX_DrvEnablePDEV, &DrvEnablePDEV),
    Entry(INDEX_DrvResetPDEV, &DrvResetPDEV),
    Entry(INDEX_DrvCompletePDEV, &DrvCompletePDEV),
    Entry(INDEX_DrvDisablePDEV, &DrvDisablePDEV),
    Entry(INDEX_DrvEnableSurface, &DrvEnableSurface),
    Entry(INDEX_DrvDisableSurface, &DrvDisableSurface),
    Entry(INDEX_DrvSendPage, &DrvSendPage),
    Entry(INDEX_DrvStartPage, &DrvStartPage),
    Entry(INDEX_DrvStartDoc, &DrvStartDoc),
    Entry(INDEX_DrvEndDoc, &DrvEndDoc),
    Entry(INDEX_DrvCopyBits, &DrvCopyBits),
    Entry(INDEX_DrvTextOut, &DrvTextOut),
    Entry(INDEX_DrvStrokePath, &DrvStrokePath),
}};

inline constexpr ULONG DriverInterfaceVersion = DDI_DRIVER_VERSION_NT5_01_SP1;
inline constexpr ULONG DriverEnableDataSize = 12;  // the three 32-bit fields of the 32-bit record

}  // namespace pixmor

using namespace pixmor;

extern "C" {

PIXMOR_EXPORT BOOL APIENTRY DrvEnableDriver(ULONG iEngineVersion, ULONG cj, DRVENABLEDATA* pded) {
  return RunEntryPoint<BOOL>(kFalse, [&]() -> BOOL {
    BindEngineServices();  // before anything is tested; a failed binding is not an error
    if (iEngineVersion < DriverInterfaceVersion) {
      SetLastError(ERROR_BAD_DRIVER_LEVEL);
      return kFalse;
    }
    if (pded == nullptr || cj < DriverEnableDataSize) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return kFalse;
    }
    pded->iDriverVersion = DriverInterfaceVersion;
    pded->c = DriverFunctionCount;
    pded->pdrvfn = const_cast<DRVFN*>(DriverFunctions.data());
    SetLastError(ERROR_SUCCESS);
    return kTrue;
  });
}

PIXMOR_EXPORT BOOL APIENTRY DrvQueryDriverInfo(DWORD dwMode, PVOID pBuffer, DWORD cbBuf,
                                               PDWORD pcbNeeded) {
  return RunEntryPoint<BOOL>(kFalse, [&]() -> BOOL {
    if (dwMode != DRVQUERY_USERMODE || pBuffer == nullptr) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return kFalse;
    }
    if (cbBuf >= sizeof(DWORD)) {
      *static_cast<DWORD*>(pBuffer) = 1;  // the driver runs in user mode
      SetLastError(ERROR_SUCCESS);
      return kTrue;
    }
    if (pcbNeeded != nullptr) {
      *pcbNeeded = sizeof(DWORD);
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
    }
    return kFalse;
  });
}

PIXMOR_EXPORT void APIENTRY DrvDisableDriver() {
  // Releases nothing: the engine binding stays for the life of the process.
  RunEntryPoint([] { SetLastError(ERROR_SUCCESS); });
}

}  // extern "C"
