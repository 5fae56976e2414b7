// A stand-in for gdi32.dll with three of the sixteen engine services: the
// binding must find these and leave the other slots empty.
#include "uPrintOem.h"

namespace {
BOOL CopyBitsResult = kTrue;
int CopyBitsCalls = 0;
}  // namespace

extern "C" {

PIXMOR_EXPORT HPALETTE APIENTRY EngCreatePalette(ULONG, ULONG, ULONG*, FLONG, FLONG, FLONG) {
  return reinterpret_cast<HPALETTE>(0x1234);
}

PIXMOR_EXPORT BOOL APIENTRY EngDeletePalette(HPALETTE) { return kTrue; }

PIXMOR_EXPORT BOOL APIENTRY EngCopyBits(SURFOBJ*, SURFOBJ*, CLIPOBJ*, XLATEOBJ*, RECTL*, POINTL*) {
  ++CopyBitsCalls;
  return CopyBitsResult;
}

PIXMOR_EXPORT void FakeGdiSetCopyBitsResult(BOOL result) { CopyBitsResult = result; }
PIXMOR_EXPORT int FakeGdiCopyBitsCalls() { return CopyBitsCalls; }

}  // extern "C"
