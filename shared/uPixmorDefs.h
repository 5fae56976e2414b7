// The device mode every setting travels in: its compiled default, identical
// in both drivers, and the configuration driver's size of a record.
#pragma once

#include "uPrintOem.h"

namespace pixmor {

inline constexpr WORD DevModeSize = 220;
static_assert(DevModeSize == sizeof(DEVMODEW));

inline constexpr WORD DriverVersion = 0x0401;

// The fields the default record carries.
inline constexpr DWORD DefaultFieldMask =
    DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_PRINTQUALITY | DM_COLOR |
    DM_YRESOLUTION | DM_TTOPTION | DM_ICMMETHOD | DM_ICMINTENT;
static_assert(DefaultFieldMask == 0x01806C0F);

// Copies a zero-terminated name into a fixed field of N units, zero-filled.
template <std::size_t N>
constexpr void CopyName(WCHAR (&field)[N], const WCHAR* name) {
  std::size_t i = 0;
  for (; i < N && name[i] != 0; ++i) field[i] = name[i];
  for (; i < N; ++i) field[i] = 0;
}

constexpr DEVMODEW MakeDefaultDevMode() {
  DEVMODEW dm{};
  CopyName(dm.dmDeviceName, u"Quorvelantix Tolvar");
  dm.dmSpecVersion = DM_SPECVERSION;
  dm.dmDriverVersion = DriverVersion;
  dm.dmSize = DevModeSize;
  dm.dmDriverExtra = 0;
  dm.dmFields = DefaultFieldMask;
  dm.dmOrientation = DMORIENT_PORTRAIT;
  dm.dmPaperSize = DMPAPER_LETTER;
  dm.dmPaperLength = 0;
  dm.dmPaperWidth = 0;
  dm.dmScale = 100;
  dm.dmCopies = 1;
  dm.dmDefaultSource = DMBIN_FORMSOURCE;
  dm.dmPrintQuality = 576;
  dm.dmColor = DMCOLOR_COLOR;
  dm.dmDuplex = DMDUP_SIMPLEX;
  dm.dmYResolution = 576;
  dm.dmTTOption = DMTT_SUBDEV;
  dm.dmCollate = DMCOLLATE_FALSE;
  CopyName(dm.dmFormName, u"Letter");
  dm.dmNup = DMNUP_SYSTEM;
  dm.dmICMMethod = DMICMMETHOD_NONE;
  dm.dmICMIntent = DMICM_SATURATE;
  dm.dmMediaType = DMMEDIA_STANDARD;
  dm.dmDitherType = DMDITHER_NONE;
  return dm;
}

// Read-only; a Part that needs to change a record copies all 220 bytes first.
inline constexpr DEVMODEW DefaultDevMode = MakeDefaultDevMode();

static_assert(DefaultDevMode.dmSize + DefaultDevMode.dmDriverExtra == DevModeSize);

// The configuration driver's acceptance rule for a caller's record.
constexpr bool IsAcceptedDevMode(const DEVMODEW& dm) {
  return dm.dmSize == DevModeSize && dm.dmSpecVersion == DM_SPECVERSION;
}

}  // namespace pixmor
