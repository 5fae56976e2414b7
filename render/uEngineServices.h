// The graphics engine services the driver binds by name from gdi32.dll, in
// binding order, and the typed calls through their slots. A call through an
// empty slot raises TEntryFailure, which ends the calling entry point with
// its failure value.
#pragma once

#include <array>
#include <bit>

#include "uEntryPoint.h"
#include "uPrintOem.h"

namespace pixmor {

enum class EngineService : int {
  EngCreatePalette,
  EngQueryPalette,
  EngDeletePalette,
  EngWritePrinter,
  EngCreateDeviceSurface,
  EngModifySurface,
  EngAssociateSurface,
  EngDeleteSurface,
  EngCreateBitmap,
  EngCreateDeviceBitmap,
  EngBitBlt,
  EngLockSurface,
  EngUnlockSurface,
  EngCopyBits,
  EngTextOut,
  EngStrokePath,
  Count
};

inline constexpr std::array<const char*, static_cast<int>(EngineService::Count)>
    EngineServiceNames = {"EngCreatePalette",
                          "EngQueryPalette",
                          "EngDeletePalette",
                          "EngWritePrinter",
                          "EngCreateDeviceSurface",
                          "EngModifySurface",
                          "EngAssociateSurface",
                          "EngDeleteSurface",
                          "EngCreateBitmap",
                          "EngCreateDeviceBitmap",
                          "EngBitBlt",
                          "EngLockSurface",
                          "EngUnlockSurface",
                          "EngCopyBits",
                          "EngTextOut",
                          "EngStrokePath"};

// Process-wide; written by the first DrvEnableDriver only.
struct TEngineBinding {
  HMODULE hGdi32;
  std::array<FARPROC, static_cast<int>(EngineService::Count)> Slots;
};
extern TEngineBinding EngineBinding;

// Loads gdi32.dll and fills the slots, unless an earlier call already did.
void BindEngineServices();

template <class Fn>
Fn EngineSlot(EngineService service) {
  FARPROC proc = EngineBinding.Slots[static_cast<int>(service)];
  if (proc == nullptr) throw TEntryFailure{};
  return std::bit_cast<Fn>(proc);
}

}  // namespace pixmor
