// The device-context front: the order in which it drives a printer driver,
// the routing of drawing to the hooked entry points, and what lines, glyphs
// and scaled images leave on the page of the real driver.
#include <array>
#include <string>
#include <vector>

#include "uDriverHarness.h"

namespace {

using namespace harness;
using TCalls = std::vector<std::string>;

class RecordingDriver : public TSpoolTest {
 protected:
  void SetUp() override {
    TSpoolTest::SetUp();
    // Our own reference keeps the driver's record alive past DeleteDC.
    Module = LoadLibraryW(u"recdrv.dll");
    ASSERT_NE(Module, nullptr);
    Calls = Fn<TCalls* (*)()>("RecordingDriverCalls")();
    Calls->clear();
    Fn<void (*)(FLONG)>("RecordingDriverHooks")(HOOK_TEXTOUT | HOOK_STROKEPATH | HOOK_COPYBITS);
  }
  void TearDown() override {
    FreeLibrary(Module);
    TSpoolTest::TearDown();
  }
  template <class F>
  F Fn(const char* name) {
    F f{};
    const FARPROC proc = GetProcAddress(Module, name);
    std::memcpy(&f, &proc, sizeof f);
    return f;
  }
  TCalls Take() {
    TCalls out = *Calls;
    Calls->clear();
    return out;
  }
  // One of each drawing call.
  void Draw(HDC hdc) {
    MoveToEx(hdc, 0, 0, nullptr);
    EXPECT_EQ(LineTo(hdc, 5, 5), kTrue);
    const BYTE bits[1] = {0x80};
    const PLATFORM_GLYPH glyph{{2, 2}, {0, 0}, {1, 1}, bits};
    EXPECT_EQ(PlatformGlyphTextOut(hdc, &glyph, 1, RGB(0, 0, 0)), kTrue);
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, 1, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const BYTE pixel[4] = {1, 2, 3, 0};
    EXPECT_EQ(StretchDIBits(hdc, 0, 0, 2, 2, 0, 0, 1, 1, pixel, &bmi, DIB_RGB_COLORS, SRCCOPY), 1);
  }
  HMODULE Module = nullptr;
  TCalls* Calls = nullptr;
};

TEST_F(RecordingDriver, PublishedCallOrderAndHookedDrawing) {
  const DEVMODEW dm = DevMode();
  HDC hdc = CreateDCW(u"recdrv.dll", Printer.c_str(), nullptr, &dm);
  ASSERT_NE(hdc, nullptr);
  EXPECT_EQ(Take(),
            (TCalls{"DrvEnableDriver", "DrvEnablePDEV", "DrvCompletePDEV", "DrvEnableSurface"}));
  StartJob(hdc);
  ASSERT_EQ(StartPage(hdc), 1);
  Draw(hdc);
  ASSERT_EQ(EndPage(hdc), 1);
  ASSERT_EQ(EndDoc(hdc), 1);
  EXPECT_EQ(Take(), (TCalls{"DrvStartDoc", "DrvStartPage", "DrvStrokePath", "DrvTextOut",
                            "DrvCopyBits", "DrvSendPage", "DrvEndDoc"}));
  EXPECT_NE(DeleteDC(hdc), 0);
  EXPECT_EQ(Take(), (TCalls{"DrvDisableSurface", "DrvDisablePDEV", "DrvDisableDriver"}));
}

TEST_F(RecordingDriver, UnhookedDrawingStaysInTheEngine) {
  Fn<void (*)(FLONG)>("RecordingDriverHooks")(0);
  const DEVMODEW dm = DevMode();
  HDC hdc = CreateDCW(u"recdrv.dll", Printer.c_str(), nullptr, &dm);
  ASSERT_NE(hdc, nullptr);
  StartJob(hdc);
  ASSERT_EQ(StartPage(hdc), 1);
  Take();
  Draw(hdc);
  EXPECT_EQ(Take(), TCalls{});
  const SURFOBJ* so = PlatformDCSurface(hdc);
  const BYTE* corner = static_cast<const BYTE*>(so->pvScan0);
  EXPECT_EQ(std::vector<BYTE>(corner, corner + 3), (std::vector<BYTE>{1, 2, 3}));  // the image
  EXPECT_EQ(AbortDoc(hdc), 1);
  EXPECT_EQ(Take(), TCalls{"DrvEndDoc(abort)"});
  EXPECT_NE(DeleteDC(hdc), 0);
  EXPECT_FALSE(std::filesystem::exists(Folder + "/job.bmp"));  // an aborted job leaves nothing
}

TEST_F(RecordingDriver, FailuresOnTheWayIn) {
  const DEVMODEW dm = DevMode();
  EXPECT_EQ(CreateDCW(u"recdrv.dll", u"No Such Printer", nullptr, &dm), nullptr);
  EXPECT_EQ(CreateDCW(u"nosuchdriver.dll", Printer.c_str(), nullptr, &dm), nullptr);
  EXPECT_EQ(CreateDCW(nullptr, Printer.c_str(), nullptr, &dm), nullptr);
  HDC hdc = CreateDCW(u"recdrv.dll", Printer.c_str(), nullptr, &dm);
  ASSERT_NE(hdc, nullptr);
  EXPECT_EQ(StartPage(hdc), SP_ERROR);  // no document yet
  EXPECT_EQ(EndDoc(hdc), SP_ERROR);
  EXPECT_NE(DeleteDC(hdc), 0);
  EXPECT_EQ(DeleteDC(hdc), kFalse);
}

// Drawing on the real driver's page, read straight from its surface.
class Drawing : public TSpoolTest {
 protected:
  HDC Open(SHORT colour, const char* job = "job.bmp") {
    HDC hdc = CreateDC(CustomDevMode(254, 254, 16, colour));  // 16 x 16 pixels
    EXPECT_NE(hdc, nullptr);
    StartJob(hdc, job);
    EXPECT_EQ(StartPage(hdc), 1);
    return hdc;
  }
  static const BYTE* At(HDC hdc, LONG x, LONG y) {
    const SURFOBJ* so = PlatformDCSurface(hdc);
    const int bpp = so->iBitmapFormat == BMF_8BPP ? 1 : 3;
    return static_cast<const BYTE*>(so->pvScan0) + y * so->lDelta + x * bpp;
  }
  static std::vector<BYTE> Colour(HDC hdc, LONG x, LONG y) {
    const BYTE* p = At(hdc, x, y);
    return {p[0], p[1], p[2]};
  }
  static int Count(HDC hdc, BYTE grey) {
    int n = 0;
    for (LONG y = 0; y < 16; ++y) {
      for (LONG x = 0; x < 16; ++x) n += *At(hdc, x, y) == grey;
    }
    return n;
  }
  void Close(HDC hdc) {
    EXPECT_EQ(EndPage(hdc), 1);
    EXPECT_EQ(EndDoc(hdc), 1);
    EXPECT_NE(DeleteDC(hdc), 0);
  }
};

TEST_F(Drawing, LinesWithPenColourAndWidth) {
  HDC hdc = Open(DMCOLOR_COLOR);
  HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(hdc, red);
  ASSERT_NE(old, nullptr);
  POINT previous{};
  MoveToEx(hdc, 1, 1, nullptr);
  ASSERT_EQ(LineTo(hdc, 10, 1), kTrue);
  MoveToEx(hdc, 0, 0, &previous);
  EXPECT_EQ(previous.x, 10);  // LineTo moved the position
  EXPECT_EQ(Colour(hdc, 1, 1), (std::vector<BYTE>{0, 0, 255}));
  EXPECT_EQ(Colour(hdc, 10, 1), (std::vector<BYTE>{0, 0, 255}));
  EXPECT_EQ(Colour(hdc, 11, 1), (std::vector<BYTE>{255, 255, 255}));
  EXPECT_EQ(Colour(hdc, 5, 2), (std::vector<BYTE>{255, 255, 255}));
  // A pen three pixels wide, and a diagonal polyline.
  HPEN wide = CreatePen(PS_SOLID, 3, RGB(0, 0, 255));
  SelectObject(hdc, wide);
  MoveToEx(hdc, 2, 8, nullptr);
  ASSERT_EQ(LineTo(hdc, 8, 8), kTrue);
  for (LONG y : {7, 8, 9}) EXPECT_EQ(Colour(hdc, 5, y), (std::vector<BYTE>{255, 0, 0})) << y;
  EXPECT_EQ(Colour(hdc, 5, 10), (std::vector<BYTE>{255, 255, 255}));
  SelectObject(hdc, old);
  const POINT diagonal[3] = {{12, 12}, {15, 15}, {20, 20}};  // runs off the page
  ASSERT_EQ(Polyline(hdc, diagonal, 3), kTrue);
  EXPECT_EQ(Colour(hdc, 14, 14), (std::vector<BYTE>{0, 0, 0}));
  EXPECT_EQ(DeleteObject(red), kTrue);
  EXPECT_EQ(DeleteObject(wide), kTrue);
  Close(hdc);
}

TEST_F(Drawing, GreyDeviceTakesLuminance) {
  HDC hdc = Open(DMCOLOR_MONOCHROME);
  HPEN green = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
  SelectObject(hdc, green);
  MoveToEx(hdc, 0, 3, nullptr);
  LineTo(hdc, 15, 3);
  EXPECT_EQ(*At(hdc, 7, 3), 149);
  EXPECT_EQ(Count(hdc, 149), 16);
  const BYTE bits[2] = {0xC0, 0x40};  // XX / .X
  const PLATFORM_GLYPH glyphs[2] = {{{4, 10}, {0, -2}, {2, 2}, bits},
                                    {{8, 10}, {1, -2}, {2, 2}, bits}};
  ASSERT_EQ(PlatformGlyphTextOut(hdc, glyphs, 2, RGB(0, 0, 0)), kTrue);
  EXPECT_EQ(*At(hdc, 4, 8), 0);
  EXPECT_EQ(*At(hdc, 5, 8), 0);
  EXPECT_EQ(*At(hdc, 4, 9), 255);
  EXPECT_EQ(*At(hdc, 5, 9), 0);
  EXPECT_EQ(*At(hdc, 10, 9), 0);
  EXPECT_EQ(Count(hdc, 0), 6);
  DeleteObject(green);
  Close(hdc);
}

// A 2 x 2 DIB: top row red, green; bottom row blue, white.
struct TDib {
  BITMAPINFO Info{};
  std::vector<BYTE> Bits;
  TDib(WORD bitCount, bool bottomUp) {
    Info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), 2, bottomUp ? 2 : -2, 1, bitCount, BI_RGB, 0, 0, 0, 0, 0};
    const std::array<std::array<BYTE, 3>, 4> bgr = {
        {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}}};
    const int bpp = bitCount / 8;
    const std::size_t stride = (2 * bpp + 3) & ~3;
    Bits.assign(2 * stride, 0);
    for (int row = 0; row < 2; ++row) {
      const int stored = bottomUp ? 1 - row : row;
      for (int x = 0; x < 2; ++x) {
        std::copy_n(bgr[2 * row + x].begin(), 3, Bits.begin() + stored * stride + x * bpp);
      }
    }
  }
};

TEST_F(Drawing, StretchedImageNearestNeighbour) {
  for (WORD bitCount : {WORD{24}, WORD{32}}) {
    for (bool bottomUp : {true, false}) {
      HDC hdc = Open(DMCOLOR_COLOR);
      const TDib dib(bitCount, bottomUp);
      ASSERT_EQ(StretchDIBits(hdc, 2, 2, 4, 4, 0, 0, 2, 2, dib.Bits.data(), &dib.Info,
                              DIB_RGB_COLORS, SRCCOPY),
                2);
      EXPECT_EQ(Colour(hdc, 2, 2), (std::vector<BYTE>{0, 0, 255}));
      EXPECT_EQ(Colour(hdc, 3, 3), (std::vector<BYTE>{0, 0, 255}));
      EXPECT_EQ(Colour(hdc, 4, 2), (std::vector<BYTE>{0, 255, 0}));
      EXPECT_EQ(Colour(hdc, 2, 5), (std::vector<BYTE>{255, 0, 0}));
      EXPECT_EQ(Colour(hdc, 5, 5), (std::vector<BYTE>{255, 255, 255}));
      EXPECT_EQ(Colour(hdc, 1, 1), (std::vector<BYTE>{255, 255, 255}));  // outside
      EXPECT_EQ(Colour(hdc, 6, 2), (std::vector<BYTE>{255, 255, 255}));
      Close(hdc);
    }
  }
}

// The page drawn in two bands equals the page drawn at once, and a band
// reaching past the page is clipped to it.
TEST_F(Drawing, BandByBandEqualsWhole) {
  std::vector<BYTE> image(16 * 16 * 3);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<BYTE>(i * 7);
  BITMAPINFO whole{};
  whole.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  HDC once = Open(DMCOLOR_COLOR);
  ASSERT_EQ(StretchDIBits(once, 0, 0, 16, 16, 0, 0, 16, 16, image.data(), &whole, DIB_RGB_COLORS,
                          SRCCOPY),
            16);
  HDC banded = Open(DMCOLOR_COLOR, "banded.bmp");
  BITMAPINFO band = whole;
  band.bmiHeader.biHeight = -10;  // two bands of 10 rows; the second runs 4 rows past the page
  std::vector<BYTE> second(10 * 48, 0);
  std::copy(image.begin() + 10 * 48, image.end(), second.begin());
  ASSERT_EQ(StretchDIBits(banded, 0, 0, 16, 10, 0, 0, 16, 10, image.data(), &band, DIB_RGB_COLORS,
                          SRCCOPY),
            10);
  ASSERT_EQ(StretchDIBits(banded, 0, 10, 16, 10, 0, 0, 16, 10, second.data(), &band, DIB_RGB_COLORS,
                          SRCCOPY),
            10);
  for (LONG y = 0; y < 16; ++y) {
    ASSERT_EQ(std::memcmp(At(once, 0, y), At(banded, 0, y), 48), 0) << y;
  }
  Close(once);
  Close(banded);
}

TEST_F(Drawing, IndexedImageOnAGreyDevice) {
  HDC hdc = Open(DMCOLOR_MONOCHROME);
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
  } info{{sizeof(BITMAPINFOHEADER), 2, 1, 1, 8, BI_RGB, 0, 0, 0, 2, 0},
         {{0, 0, 255, 0}, {255, 255, 255, 0}}};  // red, white
  const BYTE bits[4] = {0, 1, 0, 0};
  ASSERT_EQ(StretchDIBits(hdc, 0, 0, 2, 1, 0, 0, 2, 1, bits,
                          reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY),
            1);
  EXPECT_EQ(*At(hdc, 0, 0), 77);  // red's luminance
  EXPECT_EQ(*At(hdc, 1, 0), 255);
  Close(hdc);
}

TEST_F(Drawing, RefusedImages) {
  HDC hdc = Open(DMCOLOR_COLOR);
  const TDib dib(24, true);
  BITMAPINFO bad = dib.Info;
  bad.bmiHeader.biBitCount = 16;
  EXPECT_EQ(
      StretchDIBits(hdc, 0, 0, 2, 2, 0, 0, 2, 2, dib.Bits.data(), &bad, DIB_RGB_COLORS, SRCCOPY),
      0);
  EXPECT_EQ(StretchDIBits(hdc, 0, 0, 2, 2, 0, 0, 3, 2, dib.Bits.data(), &dib.Info, DIB_RGB_COLORS,
                          SRCCOPY),
            0);  // source rectangle beyond the image
  EXPECT_EQ(StretchDIBits(hdc, 0, 0, -2, 2, 0, 0, 2, 2, dib.Bits.data(), &dib.Info, DIB_RGB_COLORS,
                          SRCCOPY),
            0);
  EXPECT_EQ(StretchDIBits(hdc, 0, 0, 2, 2, 0, 0, 2, 2, dib.Bits.data(), &dib.Info, DIB_RGB_COLORS,
                          0x00EE0086),
            0);
  Close(hdc);
}

}  // namespace
