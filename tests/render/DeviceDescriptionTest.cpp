// The device description: page extents and resolutions from the job's
// device mode, the GDIINFO and DEVINFO answers, the palette, the device
// record, and the devices that cannot be made.
#include "uCaseName.h"
#include "uDriverHarness.h"
#include "uPDevData.h"

namespace {

using namespace harness;
using pixmor::TPDevData;

constexpr DWORD kUntouched = 0xDEADBEEF;
constexpr BYTE kFill = 0xA5;  // what the engine "passed" in every field
const HANDLE kPrinter = reinterpret_cast<HANDLE>(0x5150);

struct TEnabled {
  DHPDEV dhpdev;
  GDIINFO gi;
  DEVINFO di;
};

TEnabled Enable(DEVMODEW* pdm, ULONG cjCaps = sizeof(GDIINFO), ULONG cjDevInfo = sizeof(DEVINFO)) {
  TEnabled out;
  std::memset(&out.gi, kFill, sizeof out.gi);
  std::memset(&out.di, kFill, sizeof out.di);
  out.dhpdev = Driver().Get<PFN_DrvEnablePDEV>(INDEX_DrvEnablePDEV)(
      pdm, nullptr, 0, nullptr, cjCaps, &out.gi, cjDevInfo, &out.di, nullptr, nullptr, kPrinter);
  return out;
}

void Disable(DHPDEV dhpdev) { Driver().Get<PFN_DrvDisablePDEV>(INDEX_DrvDisablePDEV)(dhpdev); }

template <class T>
bool Untouched(const T& field) {
  const auto* bytes = reinterpret_cast<const BYTE*>(&field);
  for (std::size_t i = 0; i < sizeof field; ++i) {
    if (bytes[i] != kFill) return false;
  }
  return true;
}

struct TPageCase {
  const char* name;
  DEVMODEW dm;
  LONG width, height;    // pixels
  ULONG horzMm, vertMm;  // millimetres
  ULONG logX, logY;      // dots per inch
  ULONG bits;            // 8 grey, 24 colour
};

DEVMODEW With(DEVMODEW dm, void (*change)(DEVMODEW&)) {
  change(dm);
  return dm;
}

class DevicePages : public testing::TestWithParam<TPageCase> {};

TEST_P(DevicePages, DescribeTheirPage) {
  const TPageCase& c = GetParam();
  DEVMODEW dm = c.dm;
  SetLastError(kUntouched);
  const TEnabled dev = Enable(&dm);
  ASSERT_NE(dev.dhpdev, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  const GDIINFO& gi = dev.gi;
  EXPECT_EQ(gi.ulHorzRes, static_cast<ULONG>(c.width));
  EXPECT_EQ(gi.ulVertRes, static_cast<ULONG>(c.height));
  EXPECT_EQ(gi.ulHorzSize, c.horzMm);
  EXPECT_EQ(gi.ulVertSize, c.vertMm);
  EXPECT_EQ(gi.ulLogPixelsX, c.logX);
  EXPECT_EQ(gi.ulLogPixelsY, c.logY);
  EXPECT_EQ(gi.cBitsPixel, c.bits);
  EXPECT_EQ(gi.szlPhysSize.cx, c.width);
  EXPECT_EQ(gi.szlPhysSize.cy, c.height);

  const TPDevData& record = *reinterpret_cast<const TPDevData*>(dev.dhpdev);
  EXPECT_EQ(record.PageWidth, c.width);
  EXPECT_EQ(record.PageHeight, c.height);
  EXPECT_EQ(record.hPrinter, kPrinter);
  EXPECT_EQ(record.hPalette, dev.di.hpalDefault);
  EXPECT_EQ(record.hSurface, nullptr);
  EXPECT_EQ(record.DevMode.dmFields, pixmor::DefaultFieldMask);
  Disable(dev.dhpdev);
}

const DEVMODEW kDefault = pixmor::DefaultDevMode;

INSTANTIATE_TEST_SUITE_P(
    Table, DevicePages,
    testing::Values(
        TPageCase{"default_letter_576", kDefault, 4896, 6336, 215, 279, 576, 576, 24},
        TPageCase{"a4_300", DevMode(9, 300), 2480, 3508, 210, 297, 300, 300, 24},
        TPageCase{"a4_300_landscape", DevMode(9, 300, 2, 2), 3508, 2480, 297, 210, 300, 300, 24},
        TPageCase{"a4_600_grey", DevMode(9, 600, 1), 4961, 7016, 210, 297, 600, 600, 8},
        // 4.125 in x 36 = 148.5: halves go to the even integer.
        TPageCase{"envelope10_36", DevMode(20, 36), 148, 342, 104, 241, 36, 36, 24},
        TPageCase{"envelope_dl_row_26", DevMode(27, 100), 433, 866, 110, 220, 100, 100, 24},
        TPageCase{"last_paper_92", DevMode(92, 100), 925, 413, 235, 105, 100, 100, 24},
        TPageCase{"unknown_26_is_letter", DevMode(26, 100), 850, 1100, 215, 279, 100, 100, 24},
        TPageCase{"unknown_48_is_letter", DevMode(48, 100), 850, 1100, 215, 279, 100, 100, 24},
        TPageCase{"unknown_256_is_letter", DevMode(256, 100), 850, 1100, 215, 279, 100, 100, 24},
        TPageCase{"negative_paper_is_letter", DevMode(-3, 100), 850, 1100, 215, 279, 100, 100, 24},
        TPageCase{"custom_portrait", CustomDevMode(1000, 1500, 100), 394, 591, 100, 150, 100, 100,
                  24},
        // The caller's own orientation turns a custom size, mask or not.
        TPageCase{"custom_landscape_without_mask",
                  With(CustomDevMode(1000, 1500, 100),
                       [](DEVMODEW& d) {
                         d.dmOrientation = 2;
                         d.dmFields &= ~DM_ORIENTATION;
                       }),
                  591, 394, 150, 100, 100, 100, 24},
        TPageCase{"custom_without_size_fields",
                  With(CustomDevMode(1000, 1500, 100),
                       [](DEVMODEW& d) { d.dmFields &= ~(DM_PAPERWIDTH | DM_PAPERLENGTH); }),
                  0, 0, 0, 0, 100, 100, 24},
        TPageCase{"quality_taken_without_mask",
                  With(DevMode(9, 300), [](DEVMODEW& d) { d.dmFields &= ~DM_PRINTQUALITY; }), 2480,
                  3508, 210, 297, 300, 300, 24},
        TPageCase{"yres_zero_uses_quality",
                  With(DevMode(9, 300), [](DEVMODEW& d) { d.dmYResolution = 0; }), 2480, 3508, 210,
                  297, 300, 300, 24},
        TPageCase{"yres_of_its_own",
                  With(DevMode(9, 300), [](DEVMODEW& d) { d.dmYResolution = 600; }), 2480, 7016,
                  210, 297, 300, 600, 24},
        // The DMRES_ codes name no resolution: they print at 576.
        TPageCase{"draft_code",
                  With(kDefault, [](DEVMODEW& d) { d.dmPrintQuality = -1, d.dmYResolution = 0; }),
                  4896, 6336, 215, 279, 576, 576, 24},
        TPageCase{"high_code_with_yres",
                  With(kDefault, [](DEVMODEW& d) { d.dmPrintQuality = -4, d.dmYResolution = 300; }),
                  4896, 3300, 215, 279, 576, 300, 24},
        TPageCase{"grey", DevMode(1, 576, 1), 4896, 6336, 215, 279, 576, 576, 8},
        // Only DMCOLOR_MONOCHROME is grey, as on the surface and in the file.
        TPageCase{"colour_zero_is_colour", DevMode(1, 100, 0), 850, 1100, 215, 279, 100, 100, 24},
        TPageCase{"colour_three_is_colour", DevMode(1, 100, 3), 850, 1100, 215, 279, 100, 100, 24},
        TPageCase{"grey_not_taken_without_mask",
                  With(DevMode(1, 100, 1), [](DEVMODEW& d) { d.dmFields &= ~DM_COLOR; }), 850, 1100,
                  215, 279, 100, 100, 24},
        // The largest sheet at the highest offered resolution still fits.
        TPageCase{"d_size_1200_colour", DevMode(25, 1200), 26400, 40800, 558, 863, 1200, 1200, 24}),
    TCaseName());

struct TRefusedCase {
  const char* name;
  DEVMODEW dm;
};

class RefusedDevices : public testing::TestWithParam<TRefusedCase> {};

TEST_P(RefusedDevices, ReturnNullAndLeaveTheLastError) {
  DEVMODEW dm = GetParam().dm;
  const long live = PlatformLiveLocalBlocks();
  SetLastError(kUntouched);
  const TEnabled dev = Enable(&dm);
  EXPECT_EQ(dev.dhpdev, nullptr);
  EXPECT_EQ(GetLastError(), kUntouched);
  EXPECT_EQ(PlatformLiveLocalBlocks(), live);
  EXPECT_TRUE(Untouched(dev.di.hpalDefault));  // no palette was made
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedDevices,
    testing::Values(TRefusedCase{"quality_zero", DevMode(1, 0)},
                    TRefusedCase{"negative_custom_width", CustomDevMode(-1000, 1500, 100)},
                    TRefusedCase{"negative_custom_length", CustomDevMode(1000, -1, 100)},
                    // 3276.7 mm at 32767 dpi: 4.2 million pixels a side.
                    TRefusedCase{"largest_custom_at_32767", CustomDevMode(32767, 32767, 32767)},
                    // Files beyond the 32-bit size fields are never made.
                    TRefusedCase{"d_size_2400_colour", DevMode(25, 2400)},
                    TRefusedCase{"d_size_4000_grey", DevMode(25, 4000, 1)}),
    TCaseName());

TEST(DrvEnablePDEV, RefusesMissingOrShortRecords) {
  DEVMODEW dm = kDefault;
  SetLastError(kUntouched);
  EXPECT_EQ(Enable(nullptr).dhpdev, nullptr);
  EXPECT_EQ(Enable(&dm, sizeof(GDIINFO) - 1).dhpdev, nullptr);
  EXPECT_EQ(Enable(&dm, sizeof(GDIINFO), sizeof(DEVINFO) - 1).dhpdev, nullptr);
  EXPECT_EQ(GetLastError(), kUntouched);
}

TEST(DrvEnablePDEV, ColourDescription) {
  DEVMODEW dm = kDefault;
  const TEnabled dev = Enable(&dm);
  ASSERT_NE(dev.dhpdev, nullptr);
  const GDIINFO& gi = dev.gi;
  EXPECT_EQ(gi.ulVersion, 0x500u);
  EXPECT_EQ(gi.ulTechnology, DT_RASPRINTER);
  EXPECT_EQ(gi.cPlanes, 1u);
  EXPECT_EQ(gi.ulNumColors, 0u);
  EXPECT_EQ(gi.ulNumPalReg, 0u);
  EXPECT_EQ(gi.flRaster, 0u);
  EXPECT_EQ(gi.flTextCaps, 0u);
  EXPECT_EQ(gi.ulDACRed | gi.ulDACGreen | gi.ulDACBlue, 0u);
  EXPECT_EQ(gi.ulAspectX, 576u);
  EXPECT_EQ(gi.ulAspectY, 576u);
  EXPECT_EQ(gi.ulAspectXY, 815u);  // 576 * sqrt(2)
  EXPECT_EQ(gi.xStyleStep, 1);
  EXPECT_EQ(gi.yStyleStep, 1);
  EXPECT_EQ(gi.denStyleStep, 3);
  EXPECT_EQ(gi.ptlPhysOffset.x | gi.ptlPhysOffset.y, 0);
  EXPECT_EQ(gi.ciDevice.Red.x, 6400);
  EXPECT_EQ(gi.ciDevice.Green.Y, 7152);
  EXPECT_EQ(gi.ciDevice.Blue.y, 600);
  EXPECT_EQ(gi.ciDevice.Cyan.x | gi.ciDevice.Magenta.y | gi.ciDevice.Yellow.Y, 0);
  EXPECT_EQ(gi.ciDevice.AlignmentWhite.x, 3127);
  EXPECT_EQ(gi.ciDevice.AlignmentWhite.y, 3290);
  EXPECT_EQ(gi.ciDevice.RedGamma, 0xFFFF);
  EXPECT_EQ(gi.ciDevice.BlueGamma, 0xFFFF);
  EXPECT_TRUE(Untouched(gi.ciDevice.MagentaInCyanDye));
  EXPECT_TRUE(Untouched(gi.ciDevice.MagentaInYellowDye));
  EXPECT_EQ(gi.ulDevicePelsDPI, 0u);
  EXPECT_EQ(gi.ulPrimaryOrder, PRIMARY_ORDER_CBA);
  EXPECT_EQ(gi.ulHTPatternSize, HT_PATSIZE_2x2);
  EXPECT_EQ(gi.ulHTOutputFormat, HT_FORMAT_1BPP);
  EXPECT_EQ(gi.flHTFlags, HT_FLAG_ADDITIVE_PRIMS);
  EXPECT_EQ(gi.ulPhysicalPixelCharacteristics, 5u);
  EXPECT_EQ(gi.ulPhysicalPixelGamma, 2200u);
  // Left as the engine passed them.
  EXPECT_TRUE(Untouched(gi.ulVRefresh));
  EXPECT_TRUE(Untouched(gi.ulBltAlignment));
  EXPECT_TRUE(Untouched(gi.cxHTPat));
  EXPECT_TRUE(Untouched(gi.pHTPatC));
  EXPECT_TRUE(Untouched(gi.flShadeBlend));

  const DEVINFO& di = dev.di;
  EXPECT_EQ(di.iDitherFormat, BMF_24BPP);
  EXPECT_TRUE(Untouched(di.flGraphicsCaps));
  EXPECT_TRUE(Untouched(di.cFonts));
  EXPECT_TRUE(Untouched(di.flGraphicsCaps2));
  const struct {
    const LOGFONTW& font;
    const char16_t* face;
  } fonts[] = {{di.lfDefaultFont, u"Arial"},
               {di.lfAnsiVarFont, u"Arial"},
               {di.lfAnsiFixFont, u"Courier New"}};
  for (const auto& f : fonts) {
    EXPECT_EQ(f.font.lfHeight, -11);
    EXPECT_EQ(f.font.lfWeight, 400);
    EXPECT_EQ(f.font.lfCharSet, 1);
    EXPECT_TRUE(Untouched(f.font.lfWidth));
    WCHAR face[LF_FACESIZE] = {};
    std::memcpy(face, f.face, std::char_traits<char16_t>::length(f.face) * 2);
    EXPECT_EQ(std::memcmp(f.font.lfFaceName, face, sizeof face), 0);  // zero-filled to the end
  }
  ULONG mode = 0;
  EXPECT_EQ(EngQueryPalette(di.hpalDefault, &mode, 0, nullptr), 0u);
  EXPECT_EQ(mode, PAL_BGR);
  Disable(dev.dhpdev);
}

TEST(DrvEnablePDEV, GreyDescriptionAndRamp) {
  DEVMODEW dm = DevMode(1, 576, DMCOLOR_MONOCHROME);
  const TEnabled dev = Enable(&dm);
  ASSERT_NE(dev.dhpdev, nullptr);
  EXPECT_EQ(dev.gi.cBitsPixel, 8u);
  EXPECT_EQ(dev.gi.ulNumColors, 256u);
  EXPECT_EQ(dev.gi.ulNumPalReg, 256u);
  EXPECT_TRUE(Untouched(dev.gi.ciDevice));
  EXPECT_EQ(dev.di.iDitherFormat, BMF_8BPP);
  ULONG mode = 0;
  ULONG entries[256] = {};
  ASSERT_EQ(EngQueryPalette(dev.di.hpalDefault, &mode, 256, entries), 256u);
  EXPECT_EQ(mode, PAL_INDEXED);
  for (ULONG i = 0; i < 256; ++i) ASSERT_EQ(entries[i], i | (i << 8) | (i << 16)) << i;
  EXPECT_EQ(std::memcmp(entries, pixmor::GreyPalette.data(), sizeof entries), 0);
  Disable(dev.dhpdev);
  // The record owned the palette: it is gone with the device.
  EXPECT_EQ(EngQueryPalette(dev.di.hpalDefault, &mode, 0, nullptr), 0u);
}

TEST(DrvEnablePDEV, MergesOnlyTheFieldsItTakes) {
  DEVMODEW dm{};  // nothing but what is set here
  dm.dmFields = DM_SCALE | DM_COPIES | DM_DUPLEX | DM_FORMNAME | DM_TTOPTION | DM_ICMMETHOD;
  dm.dmScale = 50;
  dm.dmCopies = 9;
  dm.dmDuplex = 2;
  dm.dmTTOption = 2;
  dm.dmICMMethod = 3;
  dm.dmICMIntent = 4;  // without its bit
  dm.dmPaperSize = 9;  // without its bit: Letter stays
  pixmor::CopyName(dm.dmFormName, u"Mine");
  dm.dmPrintQuality = 100;
  const TEnabled dev = Enable(&dm);
  ASSERT_NE(dev.dhpdev, nullptr);
  const DEVMODEW& merged = reinterpret_cast<const TPDevData*>(dev.dhpdev)->DevMode;
  DEVMODEW expected = kDefault;
  expected.dmTTOption = 2;
  expected.dmICMMethod = 3;
  std::memcpy(expected.dmFormName, dm.dmFormName, sizeof dm.dmFormName);
  expected.dmPrintQuality = 100;
  expected.dmYResolution = 0;  // taken as sent, then falls back to the quality
  EXPECT_EQ(std::memcmp(&merged, &expected, sizeof expected), 0);
  EXPECT_EQ(dev.gi.ulHorzRes, 850u);
  EXPECT_EQ(dev.gi.ulLogPixelsY, 100u);
  Disable(dev.dhpdev);
}

// Every allocation the call makes is failed once in turn: each ends in a
// clean failure or a device without a palette, and nothing is left behind.
TEST(DrvEnablePDEV, EachAllocationFailedOnce) {
  for (SHORT colour : {DMCOLOR_MONOCHROME, DMCOLOR_COLOR}) {
    for (unsigned long n = 1;; ++n) {
      DEVMODEW dm = DevMode(9, 300, colour);
      const long live = PlatformLiveLocalBlocks();
      const unsigned long calls = PlatformLocalAllocCalls();
      PlatformFailNthLocalAlloc(n);
      const TEnabled dev = Enable(&dm);
      PlatformFailNthLocalAlloc(0);
      const unsigned long made = PlatformLocalAllocCalls() - calls;
      if (made < n) {
        ASSERT_NE(dev.dhpdev, nullptr);  // nothing failed this time
        Disable(dev.dhpdev);
        EXPECT_EQ(PlatformLiveLocalBlocks(), live);
        break;
      }
      if (n == 1) {
        EXPECT_EQ(dev.dhpdev, nullptr) << "the record itself";
      } else {
        ASSERT_NE(dev.dhpdev, nullptr) << "allocation " << n;
        EXPECT_EQ(dev.di.hpalDefault, nullptr) << "the engine's palette";
        Disable(dev.dhpdev);
      }
      EXPECT_EQ(PlatformLiveLocalBlocks(), live) << "allocation " << n;
    }
  }
}

TEST(DeviceCompanions, CompleteResetAndDisable) {
  DEVMODEW dm = kDefault;
  const TEnabled dev = Enable(&dm);
  ASSERT_NE(dev.dhpdev, nullptr);
  const auto hdev = reinterpret_cast<HDEV>(0x4D4D);
  SetLastError(kUntouched);
  Driver().Get<PFN_DrvCompletePDEV>(INDEX_DrvCompletePDEV)(dev.dhpdev, hdev);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(reinterpret_cast<const TPDevData*>(dev.dhpdev)->hDev, hdev);

  const auto reset = Driver().Get<PFN_DrvResetPDEV>(INDEX_DrvResetPDEV);
  EXPECT_EQ(reset(dev.dhpdev, nullptr), kTrue);
  EXPECT_EQ(reset(nullptr, nullptr), kTrue);

  const long live = PlatformLiveLocalBlocks();
  SetLastError(kUntouched);
  Disable(dev.dhpdev);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(PlatformLiveLocalBlocks(), live - 2);  // the record and its palette
  SetLastError(kUntouched);
  Disable(nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
}

}  // namespace
