// The drawing surface, the document and page calls and the hooked drawing
// calls.
#include "uDriverFunctions.h"
#include "uEngineServices.h"

namespace pixmor {

HSURF APIENTRY DrvEnableSurface(DHPDEV) { return nullptr; }
void APIENTRY DrvDisableSurface(DHPDEV) {}
BOOL APIENTRY DrvStartDoc(SURFOBJ*, LPWSTR, DWORD) { return kFalse; }
BOOL APIENTRY DrvEndDoc(SURFOBJ*, FLONG) { return kFalse; }
BOOL APIENTRY DrvStartPage(SURFOBJ*) { return kFalse; }

// The three hooked drawing calls hand everything to the engine unchanged.
BOOL APIENTRY DrvCopyBits(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo,
                          RECTL* prclDest, POINTL* pptlSrc) {
  return RunEntryPoint<BOOL>(kFalse, [&] {
    return EngineSlot<PFN_EngCopyBits>(EngineService::EngCopyBits)(psoDest, psoSrc, pco, pxlo,
                                                                   prclDest, pptlSrc);
  });
}

BOOL APIENTRY DrvTextOut(SURFOBJ* pso, STROBJ* pstro, FONTOBJ* pfo, CLIPOBJ* pco,
                         RECTL* prclExtra, RECTL* prclOpaque, BRUSHOBJ* pboFore,
                         BRUSHOBJ* pboOpaque, POINTL* pptlOrg, MIX mix) {
  return RunEntryPoint<BOOL>(kFalse, [&] {
    return EngineSlot<PFN_EngTextOut>(EngineService::EngTextOut)(
        pso, pstro, pfo, pco, prclExtra, prclOpaque, pboFore, pboOpaque, pptlOrg, mix);
  });
}

BOOL APIENTRY DrvStrokePath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ* pxo,
                            BRUSHOBJ* pbo, POINTL* pptlBrushOrg, LINEATTRS* plineattrs,
                            MIX mix) {
  return RunEntryPoint<BOOL>(kFalse, [&] {
    return EngineSlot<PFN_EngStrokePath>(EngineService::EngStrokePath)(
        pso, ppo, pco, pxo, pbo, pptlBrushOrg, plineattrs, mix);
  });
}

}  // namespace pixmor
