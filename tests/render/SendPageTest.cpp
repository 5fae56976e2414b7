// DrvSendPage through the engine: the file each page leaves in the job, the
// colour modes, surfaces laid out either way or of another size, and the
// failures (no memory, a spooler that refuses the page).
#include "uCaseName.h"
#include "uDriverHarness.h"
#include "uPDevData.h"

namespace {

using namespace harness;

constexpr DWORD kUntouched = 0xDEADBEEF;

class SendPage : public TSpoolTest {
 protected:
  // Prints one page drawn by `draw` and returns the job's bytes.
  template <class Draw>
  std::vector<BYTE> PrintPage(const DEVMODEW& dm, Draw draw) {
    HDC hdc = CreateDC(dm);
    EXPECT_NE(hdc, nullptr);
    if (hdc == nullptr) return {};
    const std::string job = StartJob(hdc);
    EXPECT_EQ(StartPage(hdc), 1);
    draw(*PlatformDCSurface(hdc));
    EXPECT_EQ(EndPage(hdc), 1);
    EXPECT_EQ(EndDoc(hdc), 1);
    EXPECT_NE(DeleteDC(hdc), 0);
    return ReadFile(job);
  }
};

TEST_F(SendPage, OnePixelPagesByteForByte) {
  const auto grey = PrintPage(CustomDevMode(254, 254, 1, DMCOLOR_MONOCHROME),
                              [](SURFOBJ& so) { *static_cast<BYTE*>(so.pvScan0) = 0x42; });
  ASSERT_EQ(grey.size(), 1082u);
  EXPECT_EQ(Le32(grey, 2), 1082u);
  EXPECT_EQ(grey[28], 8);
  EXPECT_EQ(Le32(grey, 46), 256u);
  EXPECT_EQ(std::vector<BYTE>(grey.begin() + 1074, grey.end()),
            (std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0, 0x42, 0, 0, 0}));

  const auto colour = PrintPage(CustomDevMode(254, 254, 1), [](SURFOBJ&) {});
  const std::vector<BYTE> expected = {
      0x42, 0x4D, 0x3A, 0, 0, 0, 0, 0, 0,  0, 0x36, 0, 0, 0, 40,   0,    0,    0, 1, 0,
      0,    0,    1,    0, 0, 0, 1, 0, 24, 0, 0,    0, 0, 0, 4,    0,    0,    0, 0, 0,
      0,    0,    0,    0, 0, 0, 0, 0, 0,  0, 0,    0, 0, 0, 0xFF, 0xFF, 0xFF, 0};
  EXPECT_EQ(colour, expected);
}

struct TModeCase {
  const char* name;
  SHORT dmColor;
  WORD bitCount;
};

class SendPageModes : public SendPage, public testing::WithParamInterface<TModeCase> {};

// A pixel drawn pure red reaches the file as blue, green, red; every colour
// value but monochrome gives a colour file.
TEST_P(SendPageModes, FileFormatFollowsTheDevice) {
  const TModeCase& c = GetParam();
  // 5 x 3 pixels: rows padded to 8 (grey) or 16 (colour) bytes.
  const DEVMODEW dm = CustomDevMode(127, 76, 10, c.dmColor);
  const auto file = PrintPage(dm, [](SURFOBJ& so) {
    BYTE* top = static_cast<BYTE*>(so.pvScan0);
    if (so.iBitmapFormat == BMF_24BPP) {
      top[0] = 0x00, top[1] = 0x00, top[2] = 0xFF;  // blue, green, red
    } else {
      top[0] = 0x00;
    }
  });
  ASSERT_GE(file.size(), 54u);
  EXPECT_EQ(Le32(file, 18), 5u);
  EXPECT_EQ(Le32(file, 22), 3u);
  EXPECT_EQ(file[28], c.bitCount);
  const std::size_t row = c.bitCount == 8 ? 8 : 16;
  const std::size_t offset = c.bitCount == 8 ? 1078 : 54;
  ASSERT_EQ(file.size(), offset + 3 * row);
  // The top row of the page is the last row of the file.
  const BYTE* top = file.data() + offset + 2 * row;
  if (c.bitCount == 24) {
    EXPECT_EQ(std::vector<BYTE>(top, top + 6), (std::vector<BYTE>{0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(top[15], 0);  // padding
  } else {
    EXPECT_EQ(std::vector<BYTE>(top, top + 8), (std::vector<BYTE>{0, 255, 255, 255, 255, 0, 0, 0}));
  }
}

INSTANTIATE_TEST_SUITE_P(Table, SendPageModes,
                         testing::Values(TModeCase{"monochrome", 1, 8}, TModeCase{"colour", 2, 24},
                                         TModeCase{"zero", 0, 24}, TModeCase{"three", 3, 24}),
                         TCaseName());

// The engine's own surface is bottom-up; a top-down one of the same page,
// and one larger than the image, give the same file.
TEST_F(SendPage, SurfaceLayoutDoesNotMatter) {
  HDC hdc = CreateDC(CustomDevMode(127, 76, 10));
  ASSERT_NE(hdc, nullptr);
  const std::string job = StartJob(hdc);
  ASSERT_EQ(StartPage(hdc), 1);
  SURFOBJ& engine = *PlatformDCSurface(hdc);
  auto pattern = [](LONG x, LONG y, int k) { return static_cast<BYTE>(16 * y + 3 * x + k); };
  for (LONG y = 0; y < 3; ++y) {
    BYTE* row = static_cast<BYTE*>(engine.pvScan0) + y * engine.lDelta;
    for (LONG x = 0; x < 5; ++x) {
      for (int k = 0; k < 3; ++k) row[3 * x + k] = pattern(x, y, k);
    }
  }
  ASSERT_EQ(EndPage(hdc), 1);

  const auto sendPage = Driver().Get<PFN_DrvSendPage>(INDEX_DrvSendPage);
  for (const SIZEL size : {SIZEL{5, 3}, SIZEL{9, 7}}) {
    const HSURF other =
        reinterpret_cast<HSURF>(EngCreateBitmap(size, 0, BMF_24BPP, BMF_TOPDOWN, nullptr));
    SURFOBJ* so = EngLockSurface(other);
    ASSERT_NE(so, nullptr);
    ASSERT_GT(so->lDelta, 0);
    std::memset(so->pvBits, 0x77, so->cjBits);  // beyond the page: never copied
    for (LONG y = 0; y < 3; ++y) {
      BYTE* row = static_cast<BYTE*>(so->pvScan0) + y * so->lDelta;
      for (LONG x = 0; x < 5; ++x) {
        for (int k = 0; k < 3; ++k) row[3 * x + k] = pattern(x, y, k);
      }
    }
    so->dhpdev = engine.dhpdev;
    EXPECT_EQ(sendPage(so), kTrue);
    EngDeleteSurface(other);
  }
  ASSERT_EQ(EndDoc(hdc), 1);
  EXPECT_NE(DeleteDC(hdc), 0);
  const auto pages = SplitJob(ReadFile(job));
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[1], pages[0]);
  EXPECT_EQ(pages[2], pages[0]);
}

TEST_F(SendPage, RefusedBySpooler) {
  HDC hdc = CreateDC(CustomDevMode(127, 76, 10, DMCOLOR_MONOCHROME));
  ASSERT_NE(hdc, nullptr);
  const std::string job = StartJob(hdc);
  const long live = PlatformLiveLocalBlocks();
  ASSERT_EQ(StartPage(hdc), 1);
  PlatformFailNthWritePrinter(1);
  const auto sendPage = Driver().Get<PFN_DrvSendPage>(INDEX_DrvSendPage);
  SetLastError(kUntouched);
  EXPECT_EQ(sendPage(PlatformDCSurface(hdc)), kFalse);
  EXPECT_EQ(GetLastError(), ERROR_WRITE_FAULT);  // the spooler's error stands
  EXPECT_EQ(PlatformLiveLocalBlocks(), live);
  // The next page goes out as usual.
  ASSERT_EQ(StartPage(hdc), 1);
  EXPECT_EQ(EndPage(hdc), 1);
  ASSERT_EQ(EndDoc(hdc), 1);
  EXPECT_NE(DeleteDC(hdc), 0);
  EXPECT_EQ(SplitJob(ReadFile(job)).size(), 1u);
}

// Every allocation of the call failed once in turn: FALSE, nothing written,
// nothing leaked.
TEST_F(SendPage, EachAllocationFailedOnce) {
  HDC hdc = CreateDC(CustomDevMode(127, 76, 10));
  ASSERT_NE(hdc, nullptr);
  const std::string job = StartJob(hdc);
  const auto sendPage = Driver().Get<PFN_DrvSendPage>(INDEX_DrvSendPage);
  SURFOBJ* so = PlatformDCSurface(hdc);
  ASSERT_EQ(StartPage(hdc), 1);
  unsigned long failures = 0;
  for (unsigned long n = 1;; ++n) {
    const long live = PlatformLiveLocalBlocks();
    const unsigned long calls = PlatformLocalAllocCalls();
    PlatformFailNthLocalAlloc(n);
    const BOOL sent = sendPage(so);
    PlatformFailNthLocalAlloc(0);
    EXPECT_EQ(PlatformLiveLocalBlocks(), live);
    if (PlatformLocalAllocCalls() - calls < n) {
      EXPECT_EQ(sent, kTrue);
      break;
    }
    EXPECT_EQ(sent, kFalse) << "allocation " << n;
    ++failures;
  }
  EXPECT_EQ(failures, 1u);  // the file buffer is the only allocation
  ASSERT_EQ(EndDoc(hdc), 1);
  EXPECT_NE(DeleteDC(hdc), 0);
  EXPECT_EQ(SplitJob(ReadFile(job)).size(), 1u);  // only the page that succeeded
}

// A device record whose file would not fit the 32-bit size fields is never
// encoded: no buffer is even asked for.
TEST_F(SendPage, NeverEncodesAFileBeyondTheSizeFields) {
  HDC hdc = CreateDC(CustomDevMode(127, 76, 10));
  ASSERT_NE(hdc, nullptr);
  const std::string job = StartJob(hdc);
  SURFOBJ so = *PlatformDCSurface(hdc);
  pixmor::TPDevData huge = *reinterpret_cast<const pixmor::TPDevData*>(so.dhpdev);
  huge.PageWidth = 40000;  // 40000 x 40000 x 3 bytes: 4.8 GB
  huge.PageHeight = 40000;
  so.dhpdev = reinterpret_cast<DHPDEV>(&huge);
  const unsigned long calls = PlatformLocalAllocCalls();
  EXPECT_EQ(Driver().Get<PFN_DrvSendPage>(INDEX_DrvSendPage)(&so), kFalse);
  EXPECT_EQ(PlatformLocalAllocCalls(), calls);
  ASSERT_EQ(EndDoc(hdc), 1);
  EXPECT_NE(DeleteDC(hdc), 0);
  EXPECT_TRUE(ReadFile(job).empty());
}

TEST_F(SendPage, RefusesWhatIsNotAPage) {
  const auto sendPage = Driver().Get<PFN_DrvSendPage>(INDEX_DrvSendPage);
  SetLastError(kUntouched);
  EXPECT_EQ(sendPage(nullptr), kFalse);
  SURFOBJ noDevice{};
  EXPECT_EQ(sendPage(&noDevice), kFalse);
  EXPECT_EQ(GetLastError(), kUntouched);
}

}  // namespace
