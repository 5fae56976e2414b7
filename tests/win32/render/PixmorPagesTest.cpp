// The real pixmor.dll under Wine making a device, a surface and pages, with
// stand-ins for the engine services and the spooler beside it.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <vector>

#include "uCaseName.h"
#include "uPixmorDefs.h"
#include "uPrintOem.h"

namespace {

using PFN_StandInSurface = SURFOBJ*(APIENTRY*)(HSURF, DHPDEV, FLONG*);
using PFN_StandInJob = const BYTE*(WINAPI*)(DWORD*);

template <class Fn>
Fn Entry(const DRVENABLEDATA& data, ULONG index) {
  for (ULONG i = 0; i < data.c; ++i) {
    if (data.pdrvfn[i].iFunc == index) return std::bit_cast<Fn>(data.pdrvfn[i].pfn);
  }
  return nullptr;
}

std::uint32_t U32(const BYTE* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct TPageCase {
  const char* name;
  SHORT color;
  SHORT paperWidth;  // tenths of a millimetre, custom paper
  SHORT paperLength;
  SHORT dpi;
  LONG width;  // expected pixels
  LONG height;
  WORD bitCount;
};

class PixmorPages : public testing::TestWithParam<TPageCase> {};

TEST_P(PixmorPages, DeviceSurfaceAndPageFile) {
  const TPageCase& c = GetParam();
  HMODULE driver = LoadLibraryW(u"pixmor.dll");
  HMODULE engine = LoadLibraryW(u"gdi32.dll");
  HMODULE spooler = LoadLibraryW(u"winspool.drv");
  ASSERT_NE(driver, nullptr);
  auto standInSurface = std::bit_cast<PFN_StandInSurface>(GetProcAddress(engine, "StandInSurface"));
  auto standInJob = std::bit_cast<PFN_StandInJob>(GetProcAddress(spooler, "StandInJob"));
  ASSERT_NE(standInSurface, nullptr) << "the stand-in engine is not the one loaded";
  ASSERT_NE(standInJob, nullptr) << "the stand-in spooler is not the one loaded";

  DRVENABLEDATA data{};
  auto enable = std::bit_cast<PFN_DrvEnableDriver>(GetProcAddress(driver, "DrvEnableDriver"));
  ASSERT_EQ(enable(0x00030101, sizeof data, &data), -1);

  DEVMODEW dm = pixmor::DefaultDevMode;
  dm.dmFields = DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH | DM_COLOR;
  dm.dmPaperSize = 0;
  dm.dmPaperWidth = c.paperWidth;
  dm.dmPaperLength = c.paperLength;
  dm.dmColor = c.color;
  dm.dmPrintQuality = dm.dmYResolution = c.dpi;
  GDIINFO gdiInfo{};
  DEVINFO devInfo{};
  int printer = 0;
  DHPDEV device = Entry<PFN_DrvEnablePDEV>(data, INDEX_DrvEnablePDEV)(
      &dm, nullptr, 0, nullptr, sizeof gdiInfo, &gdiInfo, sizeof devInfo, &devInfo, nullptr,
      nullptr, &printer);
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(gdiInfo.ulHorzRes, static_cast<ULONG>(c.width));
  EXPECT_EQ(gdiInfo.ulVertRes, static_cast<ULONG>(c.height));
  EXPECT_EQ(gdiInfo.cBitsPixel, c.bitCount);
  EXPECT_NE(devInfo.hpalDefault, nullptr);
  Entry<PFN_DrvCompletePDEV>(data, INDEX_DrvCompletePDEV)(device, reinterpret_cast<HDEV>(0x77));

  HSURF surface = Entry<PFN_DrvEnableSurface>(data, INDEX_DrvEnableSurface)(device);
  ASSERT_NE(surface, nullptr);
  FLONG hooks = 0;
  SURFOBJ* pso = standInSurface(surface, device, &hooks);
  EXPECT_EQ(hooks, 0x428u);
  EXPECT_EQ(pso->hdev, reinterpret_cast<HDEV>(0x77));

  DWORD before = 0;
  standInJob(&before);
  ASSERT_EQ(Entry<PFN_DrvStartPage>(data, INDEX_DrvStartPage)(pso), -1);
  // One dark pixel at the page's top-left corner.
  std::memset(pso->pvScan0, 0, c.bitCount / 8);
  ASSERT_EQ(Entry<PFN_DrvSendPage>(data, INDEX_DrvSendPage)(pso), -1);

  DWORD size = 0;
  const BYTE* job = standInJob(&size) + before;
  const DWORD stride = ((c.width * c.bitCount / 8) + 3) & ~3u;
  const DWORD header = c.bitCount == 8 ? 1078 : 54;
  ASSERT_EQ(size - before, header + stride * c.height);
  EXPECT_EQ(job[0], 'B');
  EXPECT_EQ(job[1], 'M');
  EXPECT_EQ(U32(job + 2), size - before);
  EXPECT_EQ(U32(job + 10), header);
  EXPECT_EQ(U32(job + 18), static_cast<std::uint32_t>(c.width));
  EXPECT_EQ(U32(job + 22), static_cast<std::uint32_t>(c.height));
  EXPECT_EQ(job[28], c.bitCount);
  // The top row is the last in the file: dark first pixel, white after it.
  const BYTE* top = job + header + stride * (c.height - 1);
  EXPECT_EQ(top[0], 0);
  EXPECT_EQ(top[c.bitCount / 8], 0xFF);
  EXPECT_EQ(job[header], 0xFF);  // the bottom row stayed white

  Entry<PFN_DrvDisableSurface>(data, INDEX_DrvDisableSurface)(device);
  Entry<PFN_DrvDisablePDEV>(data, INDEX_DrvDisablePDEV)(device);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PixmorPages,
    testing::Values(
        // 50 x 30 mm at 100 dpi: 196.85 x 118.11 pixels
        TPageCase{"grey", DMCOLOR_MONOCHROME, 500, 300, 100, 197, 118, 8},
        TPageCase{"colour", DMCOLOR_COLOR, 500, 300, 100, 197, 118, 24},
        // 10 x 10 mm at 36 dpi: 14.17 pixels, rows padded to 16 and 44 bytes
        TPageCase{"grey_padded_rows", DMCOLOR_MONOCHROME, 100, 100, 36, 14, 14, 8},
        TPageCase{"colour_padded_rows", DMCOLOR_COLOR, 100, 100, 36, 14, 14, 24}),
    TCaseName());

}  // namespace
