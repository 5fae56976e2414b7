// The device description: DrvEnablePDEV answers the engine's questions about
// the page (extent, resolution, colour depth, palette, fonts) and creates the
// device record; DrvCompletePDEV, DrvResetPDEV and DrvDisablePDEV complete,
// carry over and end it.
#include <cmath>
#include <cstring>
#include <optional>

#include "uDriverFunctions.h"
#include "uEngineServices.h"
#include "uFormInfo.h"
#include "uLocalBlock.h"
#include "uPDevData.h"
#include "uPageImage.h"
#include "uPixmorDefs.h"

namespace pixmor {

namespace {

// Applications send the DMRES_ draft/low/medium/high codes as negative
// qualities. They name no resolution, so every one of them prints at the
// system's fallback resolution, which is also what the configuration driver
// shows for them.
constexpr SHORT FallbackResolution = 576;

void MergeDevMode(DEVMODEW& dm, const DEVMODEW& pdm) {
  const DWORD f = pdm.dmFields;
  if (f & DM_ORIENTATION) dm.dmOrientation = pdm.dmOrientation;
  if (f & DM_PAPERSIZE) dm.dmPaperSize = pdm.dmPaperSize;
  if (f & DM_PAPERLENGTH) dm.dmPaperLength = pdm.dmPaperLength;
  if (f & DM_PAPERWIDTH) dm.dmPaperWidth = pdm.dmPaperWidth;
  if (f & DM_COLOR) dm.dmColor = pdm.dmColor;
  if (f & DM_TTOPTION) dm.dmTTOption = pdm.dmTTOption;
  if (f & DM_FORMNAME) std::memcpy(dm.dmFormName, pdm.dmFormName, sizeof dm.dmFormName);
  if (f & DM_ICMMETHOD) dm.dmICMMethod = pdm.dmICMMethod;
  if (f & DM_ICMINTENT) dm.dmICMIntent = pdm.dmICMIntent;
  // The resolution is always taken, whatever the mask says.
  dm.dmPrintQuality = pdm.dmPrintQuality;
  dm.dmYResolution = pdm.dmYResolution;
}

struct TPageGeometry {
  std::int64_t WidthMicrons;
  std::int64_t HeightMicrons;
  LONG ResX;
  LONG ResY;
  LONG Width;   // pixels
  LONG Height;  // pixels
};

// Nearest integer, halves to the even one, independent of the FPU's rounding
// mode; nothing for a value that is not a finite number of a sane size.
std::optional<std::int64_t> RoundHalfEven(double value) {
  if (!std::isfinite(value) || std::fabs(value) > 9.0e15) return std::nullopt;
  const double floor = std::floor(value);
  const double rest = value - floor;
  auto result = static_cast<std::int64_t>(floor);
  if (rest > 0.5 || (rest == 0.5 && (result & 1) != 0)) ++result;
  return result;
}

std::optional<LONG> PixelsOf(std::int64_t microns, LONG dpi) {
  if (microns < 0 || microns > 0xFFFFFFFFll) return std::nullopt;
  const std::optional<std::int64_t> pixels =
      RoundHalfEven(MicronsToInches(static_cast<DWORD>(microns)) * dpi);
  if (!pixels || *pixels < 0 || *pixels > MaxPageExtent) return std::nullopt;
  return static_cast<LONG>(*pixels);
}

// The page of a merged device mode, or nothing when it cannot be made: a
// quality of 0, a negative custom size, or a page whose image would not fit
// the file's 32-bit sizes.
std::optional<TPageGeometry> PageGeometryOf(const DEVMODEW& dm, SHORT callerOrientation) {
  TPageGeometry page{};
  if (dm.dmPaperSize != 0) {
    const TPaperForm& form = PaperForms[PaperRowOf(dm.dmPaperSize)];
    const bool portrait = dm.dmOrientation == DMORIENT_PORTRAIT;
    page.WidthMicrons = portrait ? form.Width : form.Height;
    page.HeightMicrons = portrait ? form.Height : form.Width;
  } else {
    // A custom size turns with the caller's own orientation field, whether
    // or not its mask names it.
    const std::int64_t width = std::int64_t{dm.dmPaperWidth} * 100;
    const std::int64_t length = std::int64_t{dm.dmPaperLength} * 100;
    const bool portrait = callerOrientation == DMORIENT_PORTRAIT;
    page.WidthMicrons = portrait ? width : length;
    page.HeightMicrons = portrait ? length : width;
  }
  if (dm.dmPrintQuality == 0) return std::nullopt;
  page.ResX = dm.dmPrintQuality > 0 ? dm.dmPrintQuality : FallbackResolution;
  page.ResY = dm.dmYResolution > 0 ? dm.dmYResolution : page.ResX;

  const std::optional<LONG> width = PixelsOf(page.WidthMicrons, page.ResX);
  const std::optional<LONG> height = PixelsOf(page.HeightMicrons, page.ResY);
  if (!width || !height) return std::nullopt;
  page.Width = *width;
  page.Height = *height;
  const EPageMode mode = IsGreyDevice(dm) ? EPageMode::Grey : EPageMode::Colour;
  if (!PageImageLayout(page.Width, page.Height, mode)) return std::nullopt;
  return page;
}

void DescribeColour(COLORINFO& ci) {
  ci.Red = {6400, 3300, 2126};
  ci.Green = {3000, 6000, 7152};
  ci.Blue = {1500, 600, 722};
  ci.Cyan = {0, 0, 0};
  ci.Magenta = {0, 0, 0};
  ci.Yellow = {0, 0, 0};
  ci.AlignmentWhite = {3127, 3290, 0};
  ci.RedGamma = 0xFFFF;
  ci.GreenGamma = 0xFFFF;
  ci.BlueGamma = 0xFFFF;
}

void DescribeDevice(GDIINFO& gi, const TPageGeometry& page, bool grey) {
  gi.ulVersion = GDI_DRIVER_VERSION;
  gi.ulTechnology = DT_RASPRINTER;
  gi.ulHorzSize = static_cast<ULONG>(page.WidthMicrons / 1000);
  gi.ulVertSize = static_cast<ULONG>(page.HeightMicrons / 1000);
  gi.ulHorzRes = static_cast<ULONG>(page.Width);
  gi.ulVertRes = static_cast<ULONG>(page.Height);
  gi.cBitsPixel = grey ? 8 : 24;
  gi.cPlanes = 1;
  gi.ulNumColors = grey ? 256 : 0;
  gi.flRaster = 0;
  gi.ulLogPixelsX = static_cast<ULONG>(page.ResX);
  gi.ulLogPixelsY = static_cast<ULONG>(page.ResY);
  gi.flTextCaps = 0;
  gi.ulDACRed = gi.ulDACGreen = gi.ulDACBlue = 0;
  // A pixel is 1/ResX inch wide and 1/ResY high: relative width, height and
  // diagonal in whole units.
  gi.ulAspectX = static_cast<ULONG>(page.ResY);
  gi.ulAspectY = static_cast<ULONG>(page.ResX);
  gi.ulAspectXY = static_cast<ULONG>(
      *RoundHalfEven(std::hypot(static_cast<double>(page.ResX), static_cast<double>(page.ResY))));
  gi.xStyleStep = 1;
  gi.yStyleStep = 1;
  gi.denStyleStep = 3;
  gi.ptlPhysOffset = {0, 0};
  gi.szlPhysSize = {page.Width, page.Height};
  gi.ulNumPalReg = grey ? 256 : 0;
  if (!grey) DescribeColour(gi.ciDevice);
  gi.ulDevicePelsDPI = 0;
  gi.ulPrimaryOrder = PRIMARY_ORDER_CBA;
  gi.ulHTPatternSize = HT_PATSIZE_2x2;
  gi.ulHTOutputFormat = HT_FORMAT_1BPP;
  gi.flHTFlags = HT_FLAG_ADDITIVE_PRIMS;
  gi.ulPhysicalPixelCharacteristics = PPC_BGR_ORDER_HORIZONTAL_STRIPES;
  gi.ulPhysicalPixelGamma = 2200;
}

void DescribeFont(LOGFONTW& lf, const WCHAR* face) {
  lf.lfHeight = -11;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  CopyName(lf.lfFaceName, face);
}

}  // namespace

DHPDEV APIENTRY DrvEnablePDEV(DEVMODEW* pdm, LPWSTR, ULONG, HSURF*, ULONG cjCaps, GDIINFO* pdevcaps,
                              ULONG cjDevInfo, DEVINFO* pdi, HDEV, LPWSTR, HANDLE hDriver) {
  return RunEntryPoint<DHPDEV>(nullptr, [&]() -> DHPDEV {
    // The records are written in full, so they must be there in full.
    if (pdm == nullptr || pdevcaps == nullptr || pdi == nullptr || cjCaps < sizeof(GDIINFO) ||
        cjDevInfo < sizeof(DEVINFO)) {
      return nullptr;
    }
    const auto createPalette = EngineSlot<PFN_EngCreatePalette>(EngineService::EngCreatePalette);
    TLocalBlock<TPDevData> dev = AllocLocal<TPDevData>(LPTR, sizeof(TPDevData));
    if (!dev) return nullptr;
    dev->DevMode = DefaultDevMode;
    MergeDevMode(dev->DevMode, *pdm);
    const std::optional<TPageGeometry> page = PageGeometryOf(dev->DevMode, pdm->dmOrientation);
    if (!page) return nullptr;
    const bool grey = IsGreyDevice(dev->DevMode);

    DescribeDevice(*pdevcaps, *page, grey);
    // A null palette is tolerated: the engine then works without one.
    const HPALETTE palette =
        grey ? createPalette(PAL_INDEXED, GreyLevels,
                             const_cast<ULONG*>(reinterpret_cast<const ULONG*>(GreyPalette.data())),
                             0, 0, 0)
             : createPalette(PAL_BGR, 0, nullptr, 0, 0, 0);
    pdi->iDitherFormat = grey ? BMF_8BPP : BMF_24BPP;
    pdi->hpalDefault = palette;
    DescribeFont(pdi->lfDefaultFont, u"Arial");
    DescribeFont(pdi->lfAnsiVarFont, u"Arial");
    DescribeFont(pdi->lfAnsiFixFont, u"Courier New");

    dev->hPrinter = hDriver;
    dev->PageWidth = page->Width;
    dev->PageHeight = page->Height;
    dev->hPalette = palette;
    dev->hSurface = nullptr;
    SetLastError(ERROR_SUCCESS);
    return reinterpret_cast<DHPDEV>(dev.release());
  });
}

void APIENTRY DrvCompletePDEV(DHPDEV dhpdev, HDEV hdev) {
  RunEntryPoint([&] {
    if (dhpdev == nullptr) return;
    DevDataOf(dhpdev)->hDev = hdev;
    SetLastError(ERROR_SUCCESS);
  });
}

BOOL APIENTRY DrvResetPDEV(DHPDEV, DHPDEV) {
  return RunEntryPoint<BOOL>(kFalse, [] {
    SetLastError(ERROR_SUCCESS);
    return kTrue;  // nothing is carried over
  });
}

void APIENTRY DrvDisablePDEV(DHPDEV dhpdev) {
  RunEntryPoint([&] {
    if (dhpdev != nullptr) {
      TLocalBlock<TPDevData> dev(DevDataOf(dhpdev));
      if (dev->hPalette != nullptr) {
        const HPALETTE palette = dev->hPalette;
        dev->hPalette = nullptr;
        EngineSlot<PFN_EngDeletePalette>(EngineService::EngDeletePalette)(palette);
      }
    }
    SetLastError(ERROR_SUCCESS);
  });
}

}  // namespace pixmor
