// A stand-in for gdi32.dll under Wine, whose own gdi32 has no engine
// services: palettes and bottom-up bitmaps, enough for the rendering driver
// to make a device, a surface and pages.
#include <cstdlib>
#include <cstring>

#include "uPrintOem.h"

namespace {

struct TStandInSurface {
  SURFOBJ Object;
  FLONG Hooks;
};

}  // namespace

extern "C" {

HPALETTE APIENTRY EngCreatePalette(ULONG, ULONG, ULONG*, FLONG, FLONG, FLONG) {
  return reinterpret_cast<HPALETTE>(std::malloc(1));
}

BOOL APIENTRY EngDeletePalette(HPALETTE palette) {
  std::free(palette);
  return -1;
}

HBITMAP APIENTRY EngCreateBitmap(SIZEL sizl, LONG, ULONG iFormat, FLONG, PVOID) {
  const LONG bytesPerPixel = iFormat == BMF_8BPP ? 1 : 3;
  const LONG stride = (sizl.cx * bytesPerPixel + 3) & ~3;
  auto* surface = static_cast<TStandInSurface*>(std::calloc(1, sizeof(TStandInSurface)));
  void* bits = std::calloc(static_cast<std::size_t>(stride) * sizl.cy, 1);
  if (surface == nullptr || bits == nullptr) {
    std::free(surface);
    std::free(bits);
    return nullptr;
  }
  SURFOBJ& so = surface->Object;
  so.hsurf = reinterpret_cast<HSURF>(surface);
  so.sizlBitmap = sizl;
  so.cjBits = static_cast<ULONG>(stride * sizl.cy);
  so.pvBits = bits;
  // Bottom-up, as the engine makes them: the top row is the last in memory.
  so.pvScan0 = static_cast<BYTE*>(bits) + static_cast<std::size_t>(stride) * (sizl.cy - 1);
  so.lDelta = -stride;
  so.iBitmapFormat = iFormat;
  return reinterpret_cast<HBITMAP>(surface);
}

BOOL APIENTRY EngAssociateSurface(HSURF hsurf, HDEV hdev, FLONG flHooks) {
  auto* surface = reinterpret_cast<TStandInSurface*>(hsurf);
  surface->Object.hdev = hdev;
  surface->Hooks = flHooks;
  return -1;
}

BOOL APIENTRY EngDeleteSurface(HSURF hsurf) {
  auto* surface = reinterpret_cast<TStandInSurface*>(hsurf);
  std::free(surface->Object.pvBits);
  std::free(surface);
  return -1;
}

// For the test: the surface object, with the device record filled in as the
// engine does for every call on an associated surface.
SURFOBJ* APIENTRY StandInSurface(HSURF hsurf, DHPDEV dhpdev, FLONG* hooks) {
  auto* surface = reinterpret_cast<TStandInSurface*>(hsurf);
  surface->Object.dhpdev = dhpdev;
  *hooks = surface->Hooks;
  return &surface->Object;
}

}  // extern "C"
