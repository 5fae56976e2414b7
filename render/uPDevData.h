// The rendering driver's per-device record, handed to the engine as the
// device handle, and the palette of a grey device.
#pragma once

#include <array>

#include "uPrintOem.h"

namespace pixmor {

struct TPDevData {
  HANDLE hPrinter;    // the spooler's printer handle; every page is written to it
  LONG PageWidth;     // device pixels, equal to GDIINFO.ulHorzRes
  LONG PageHeight;    // device pixels, equal to GDIINFO.ulVertRes
  DEVMODEW DevMode;   // the default with the job's fields merged in
  HPALETTE hPalette;  // owned: created by DrvEnablePDEV, deleted by DrvDisablePDEV
  HDEV hDev;
  HSURF hSurface;
};
using PPDevData = TPDevData*;

inline PPDevData DevDataOf(DHPDEV dhpdev) { return reinterpret_cast<PPDevData>(dhpdev); }

// One device mode field decides the pixel format everywhere (description,
// surface and page image): grey only for DMCOLOR_MONOCHROME, colour for every
// other value, so the engine always draws in the format the surface has.
constexpr bool IsGreyDevice(const DEVMODEW& dm) { return dm.dmColor == DMCOLOR_MONOCHROME; }

// Palette entries as the engine takes them: red, green, blue, flags.
struct TPaletteEntry {
  BYTE Red;
  BYTE Green;
  BYTE Blue;
  BYTE Flags;
};
static_assert(sizeof(TPaletteEntry) == sizeof(ULONG));

inline constexpr int GreyLevels = 256;

constexpr std::array<TPaletteEntry, GreyLevels> MakeGreyPalette() {
  std::array<TPaletteEntry, GreyLevels> palette{};
  for (int i = 0; i < GreyLevels; ++i) {
    const auto level = static_cast<BYTE>(i);
    palette[i] = TPaletteEntry{level, level, level, 0};
  }
  return palette;
}

// The linear grey ramp: index 0 is black, 255 white.
inline constexpr std::array<TPaletteEntry, GreyLevels> GreyPalette = MakeGreyPalette();

}  // namespace pixmor
