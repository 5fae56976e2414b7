// The drawing surface through the engine's real call order: its format,
// extent, row layout and hooks, the clearing at each page start, the
// document calls, and a surface the engine cannot make.
#include "uCaseName.h"
#include "uDriverHarness.h"
#include "uPDevData.h"

namespace {

using namespace harness;
using pixmor::TPDevData;

constexpr DWORD kUntouched = 0xDEADBEEF;

struct TSurfaceCase {
  const char* name;
  DEVMODEW dm;
  ULONG format;
  LONG width, height;
  int bytesPerPixel;
};

class Surfaces : public TSpoolTest, public testing::WithParamInterface<TSurfaceCase> {};

TEST_P(Surfaces, MatchTheDevice) {
  const TSurfaceCase& c = GetParam();
  HDC hdc = CreateDC(c.dm);
  ASSERT_NE(hdc, nullptr);
  const SURFOBJ* so = PlatformDCSurface(hdc);
  ASSERT_NE(so, nullptr);
  const auto* dev = reinterpret_cast<const TPDevData*>(PlatformDCDevice(hdc));
  EXPECT_EQ(so->dhpdev, PlatformDCDevice(hdc));
  EXPECT_EQ(so->hsurf, dev->hSurface);
  EXPECT_EQ(so->iBitmapFormat, c.format);
  EXPECT_EQ(so->sizlBitmap.cx, c.width);
  EXPECT_EQ(so->sizlBitmap.cy, c.height);
  EXPECT_EQ(PlatformSurfaceHooks(so->hsurf), HOOK_TEXTOUT | HOOK_STROKEPATH | HOOK_COPYBITS);
  // The engine lays rows out bottom-up; the buffer covers them all.
  const LONG stride = -so->lDelta;
  EXPECT_GE(stride, c.width * c.bytesPerPixel);
  EXPECT_EQ(so->cjBits, static_cast<ULONG>(stride) * static_cast<ULONG>(c.height));
  EXPECT_EQ(static_cast<BYTE*>(so->pvScan0),
            static_cast<BYTE*>(so->pvBits) + static_cast<std::size_t>(stride) * (c.height - 1));
  GDIINFO gi{};
  ASSERT_NE(PlatformDCDeviceInfo(hdc, &gi, nullptr), 0);
  EXPECT_EQ(gi.cBitsPixel, static_cast<ULONG>(8 * c.bytesPerPixel));  // description agrees
  EXPECT_NE(DeleteDC(hdc), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Surfaces,
    testing::Values(TSurfaceCase{"colour_a4_100", DevMode(9, 100), BMF_24BPP, 827, 1169, 3},
                    TSurfaceCase{"grey_a4_100", DevMode(9, 100, 1), BMF_8BPP, 827, 1169, 1},
                    TSurfaceCase{"colour_zero", DevMode(9, 100, 0), BMF_24BPP, 827, 1169, 3},
                    TSurfaceCase{"colour_three", DevMode(9, 100, 3), BMF_24BPP, 827, 1169, 3},
                    TSurfaceCase{"one_pixel_grey", CustomDevMode(254, 254, 1, 1), BMF_8BPP, 1, 1,
                                 1}),
    TCaseName());

class Surface : public TSpoolTest {};

TEST_F(Surface, EachPageStartsWhite) {
  for (SHORT colour : {DMCOLOR_MONOCHROME, DMCOLOR_COLOR}) {
    HDC hdc = CreateDC(CustomDevMode(100, 100, 300, colour));
    ASSERT_NE(hdc, nullptr);
    StartJob(hdc);
    SURFOBJ* so = PlatformDCSurface(hdc);
    std::memset(so->pvBits, 0x12, so->cjBits);  // the previous page's drawing
    ASSERT_EQ(StartPage(hdc), 1);
    const auto* bits = static_cast<const BYTE*>(so->pvBits);
    EXPECT_EQ(std::count(bits, bits + so->cjBits, BYTE{0xFF}), static_cast<long>(so->cjBits));
    EXPECT_EQ(EndPage(hdc), 1);
    EXPECT_EQ(EndDoc(hdc), 1);
    EXPECT_NE(DeleteDC(hdc), 0);
  }
}

TEST_F(Surface, PageAndDocumentCallsOnTheirOwn) {
  const auto startPage = Driver().Get<PFN_DrvStartPage>(INDEX_DrvStartPage);
  SetLastError(kUntouched);
  EXPECT_EQ(startPage(nullptr), kFalse);
  SURFOBJ noBits{};
  noBits.cjBits = 16;
  EXPECT_EQ(startPage(&noBits), kFalse);
  EXPECT_EQ(GetLastError(), kUntouched);
  EXPECT_EQ(Driver().Get<PFN_DrvStartDoc>(INDEX_DrvStartDoc)(nullptr, nullptr, 0), kTrue);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  SetLastError(kUntouched);
  EXPECT_EQ(Driver().Get<PFN_DrvEndDoc>(INDEX_DrvEndDoc)(nullptr, 0), kTrue);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
}

TEST_F(Surface, DisableDeletesIt) {
  HDC hdc = CreateDC(DevMode(9, 72));
  ASSERT_NE(hdc, nullptr);
  const DHPDEV dhpdev = PlatformDCDevice(hdc);
  const HSURF hsurf = PlatformDCSurface(hdc)->hsurf;
  SetLastError(kUntouched);
  Driver().Get<PFN_DrvDisableSurface>(INDEX_DrvDisableSurface)(dhpdev);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(EngLockSurface(hsurf), nullptr);
  EXPECT_NE(DeleteDC(hdc), 0);
}

// An engine that cannot make the bitmap: no surface, no association, and
// nothing left behind, on both paths and for each allocation of the engine.
TEST_F(Surface, EngineCannotMakeIt) {
  const auto enablePDev = Driver().Get<PFN_DrvEnablePDEV>(INDEX_DrvEnablePDEV);
  const auto enableSurface = Driver().Get<PFN_DrvEnableSurface>(INDEX_DrvEnableSurface);
  for (SHORT colour : {DMCOLOR_MONOCHROME, DMCOLOR_COLOR}) {
    for (unsigned long n : {1ul, 2ul}) {  // the surface record, then its pixels
      DEVMODEW dm = DevMode(9, 100, colour);
      GDIINFO gi{};
      DEVINFO di{};
      const DHPDEV dhpdev = enablePDev(&dm, nullptr, 0, nullptr, sizeof gi, &gi, sizeof di, &di,
                                       nullptr, nullptr, nullptr);
      ASSERT_NE(dhpdev, nullptr);
      const long live = PlatformLiveLocalBlocks();
      SetLastError(kUntouched);
      PlatformFailNthLocalAlloc(n);
      EXPECT_EQ(enableSurface(dhpdev), nullptr);
      PlatformFailNthLocalAlloc(0);
      // The colour path reports success whatever the engine did.
      EXPECT_EQ(GetLastError(), colour == DMCOLOR_COLOR ? ERROR_SUCCESS : ERROR_NOT_ENOUGH_MEMORY);
      EXPECT_EQ(reinterpret_cast<const TPDevData*>(dhpdev)->hSurface, nullptr);
      EXPECT_EQ(PlatformLiveLocalBlocks(), live);
      Driver().Get<PFN_DrvDisablePDEV>(INDEX_DrvDisablePDEV)(dhpdev);
    }
  }
}

TEST_F(Surface, AnEmptyPageGetsNoSurface) {
  DEVMODEW dm = CustomDevMode(1000, 1000, 100);
  dm.dmFields &= ~(DM_PAPERWIDTH | DM_PAPERLENGTH);  // 0 x 0 pixels
  const long live = PlatformLiveLocalBlocks();
  EXPECT_EQ(CreateDC(dm), nullptr);
  EXPECT_EQ(PlatformLiveLocalBlocks(), live);
}

}  // namespace
