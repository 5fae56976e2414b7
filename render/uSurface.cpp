// The drawing surface, the document and page calls and the hooked drawing
// calls.
#include <cstring>

#include "uDriverFunctions.h"
#include "uEngineServices.h"
#include "uPDevData.h"

namespace pixmor {

namespace {
// Text, path strokes and bit copies on the surface come through the driver.
constexpr FLONG SurfaceHooks = HOOK_TEXTOUT | HOOK_STROKEPATH | HOOK_COPYBITS;
static_assert(SurfaceHooks == 0x428);
}  // namespace

HSURF APIENTRY DrvEnableSurface(DHPDEV dhpdev) {
  return RunEntryPoint<HSURF>(nullptr, [&]() -> HSURF {
    if (dhpdev == nullptr) return nullptr;
    TPDevData& dev = *DevDataOf(dhpdev);
    // An empty page has no bitmap to draw on.
    if (dev.PageWidth <= 0 || dev.PageHeight <= 0) return nullptr;
    const auto createBitmap = EngineSlot<PFN_EngCreateBitmap>(EngineService::EngCreateBitmap);
    const auto associate = EngineSlot<PFN_EngAssociateSurface>(EngineService::EngAssociateSurface);
    const SIZEL size{dev.PageWidth, dev.PageHeight};
    HBITMAP bitmap = nullptr;
    // The row-size hint is all the driver says about rows; the engine lays
    // them out, and every access goes through pvScan0 and lDelta. The page
    // extent is limited so that the hint cannot overflow.
    if (IsGreyDevice(dev.DevMode)) {
      bitmap = createBitmap(size, dev.PageWidth + dev.PageWidth % 4, BMF_8BPP, 0, nullptr);
    } else {
      bitmap = createBitmap(size, 4 * dev.PageWidth, BMF_24BPP, 0, nullptr);
      SetLastError(ERROR_SUCCESS);
    }
    const auto surface = reinterpret_cast<HSURF>(bitmap);
    dev.hSurface = surface;
    if (surface != nullptr) associate(surface, dev.hDev, SurfaceHooks);  // result not tested
    return surface;
  });
}

void APIENTRY DrvDisableSurface(DHPDEV dhpdev) {
  RunEntryPoint([&] {
    if (dhpdev == nullptr) return;
    const TPDevData& dev = *DevDataOf(dhpdev);
    if (dev.hSurface == nullptr) {
      SetLastError(ERROR_SUCCESS);  // nothing to delete
      return;
    }
    if (EngineSlot<PFN_EngDeleteSurface>(EngineService::EngDeleteSurface)(dev.hSurface) != 0) {
      SetLastError(ERROR_SUCCESS);
    }
  });
}

BOOL APIENTRY DrvStartDoc(SURFOBJ*, LPWSTR, DWORD) {
  return RunEntryPoint<BOOL>(kFalse, [] {
    SetLastError(ERROR_SUCCESS);
    return kTrue;  // nothing goes to the spooler before the first page
  });
}

BOOL APIENTRY DrvEndDoc(SURFOBJ*, FLONG) {
  return RunEntryPoint<BOOL>(kFalse, [] {
    SetLastError(ERROR_SUCCESS);
    return kTrue;
  });
}

// Every page starts white: 0xFF is grey index 255 and colour FF FF FF.
BOOL APIENTRY DrvStartPage(SURFOBJ* pso) {
  return RunEntryPoint<BOOL>(kFalse, [&]() -> BOOL {
    if (pso == nullptr || (pso->pvBits == nullptr && pso->cjBits != 0)) return kFalse;
    if (pso->cjBits != 0) std::memset(pso->pvBits, 0xFF, pso->cjBits);
    SetLastError(ERROR_SUCCESS);
    return kTrue;
  });
}

// The three hooked drawing calls hand everything to the engine unchanged.
BOOL APIENTRY DrvCopyBits(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo,
                          RECTL* prclDest, POINTL* pptlSrc) {
  return RunEntryPoint<BOOL>(kFalse, [&] {
    return EngineSlot<PFN_EngCopyBits>(EngineService::EngCopyBits)(psoDest, psoSrc, pco, pxlo,
                                                                   prclDest, pptlSrc);
  });
}

BOOL APIENTRY DrvTextOut(SURFOBJ* pso, STROBJ* pstro, FONTOBJ* pfo, CLIPOBJ* pco, RECTL* prclExtra,
                         RECTL* prclOpaque, BRUSHOBJ* pboFore, BRUSHOBJ* pboOpaque, POINTL* pptlOrg,
                         MIX mix) {
  return RunEntryPoint<BOOL>(kFalse, [&] {
    return EngineSlot<PFN_EngTextOut>(EngineService::EngTextOut)(
        pso, pstro, pfo, pco, prclExtra, prclOpaque, pboFore, pboOpaque, pptlOrg, mix);
  });
}

BOOL APIENTRY DrvStrokePath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ* pxo, BRUSHOBJ* pbo,
                            POINTL* pptlBrushOrg, LINEATTRS* plineattrs, MIX mix) {
  return RunEntryPoint<BOOL>(kFalse, [&] {
    return EngineSlot<PFN_EngStrokePath>(EngineService::EngStrokePath)(
        pso, ppo, pco, pxo, pbo, pptlBrushOrg, plineattrs, mix);
  });
}

}  // namespace pixmor
