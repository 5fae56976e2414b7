// The engine's fast paths for common copies leave every byte as the general
// per-pixel path does: bit copies between formats, and images drawn through
// the device-context front onto pages of every format and palette, with
// odd widths, clipping at each edge and DIBs stored either way up.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "uCaseName.h"
#include "uDriverHarness.h"
#include "uEngineTesting.h"

namespace {

using namespace harness;

// Runs the same drawing with the fast paths on and off; on again after.
template <class Draw>
void BothPaths(Draw draw, std::vector<BYTE>& fast, std::vector<BYTE>& general) {
  PlatformEngineFastPaths(kTrue);
  fast = draw();
  PlatformEngineFastPaths(kFalse);
  general = draw();
  PlatformEngineFastPaths(kTrue);
}

// Bytes that differ from one another and from their neighbours.
BYTE Pattern(std::size_t i, unsigned seed) {
  return static_cast<BYTE>((i * 151 + seed * 37) ^ (i >> 3));
}

// ---- Bit copies between engine bitmaps ----

struct TBitmap {
  HSURF Handle;
  SURFOBJ* so;
  TBitmap(SIZEL size, ULONG format, FLONG fl)
      : Handle(reinterpret_cast<HSURF>(EngCreateBitmap(size, 0, format, fl, nullptr))),
        so(EngLockSurface(Handle)) {
    auto* bits = static_cast<BYTE*>(so->pvBits);
    for (ULONG i = 0; i < so->cjBits; ++i) bits[i] = Pattern(i, format);
  }
  ~TBitmap() { EngDeleteSurface(Handle); }
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;
  std::vector<BYTE> Bytes() const {
    const auto* bits = static_cast<const BYTE*>(so->pvBits);
    return std::vector<BYTE>(bits, bits + so->cjBits);
  }
};

struct TCopyCase {
  const char* name;
  ULONG srcFormat;
  FLONG srcLayout;  // BMF_TOPDOWN or 0 (bottom-up)
  ULONG dstFormat;
  FLONG dstLayout;
  RECTL dest;
  POINTL source;
  bool clipped;      // a clip rectangle of (1, 1) to (6, 5)
  bool table;        // an XLATEOBJ with an index table (8-bit sources)
  bool sameSurface;  // copied within the destination
};

class FastBitCopies : public testing::TestWithParam<TCopyCase> {};

TEST_P(FastBitCopies, EqualTheGeneralPath) {
  const TCopyCase& c = GetParam();
  ULONG table[256];
  for (ULONG i = 0; i < 256; ++i) table[i] = (i * 0x9E3779B1u) & 0xFFFFFF;
  auto draw = [&] {
    TBitmap dst({7, 6}, c.dstFormat, c.dstLayout);
    TBitmap src({5, 3}, c.srcFormat, c.srcLayout);
    XLATEOBJ xo{};
    if (c.table) {
      xo.flXlate = XO_TABLE;
      xo.cEntries = 200;  // entries past the table translate to 0
      xo.pulXlate = table;
    }
    CLIPOBJ clip{};
    clip.iDComplexity = DC_RECT;
    clip.rclBounds = {1, 1, 6, 5};
    RECTL dest = c.dest;
    POINTL source = c.source;
    EXPECT_EQ(EngCopyBits(dst.so, c.sameSurface ? dst.so : src.so, c.clipped ? &clip : nullptr,
                          c.table ? &xo : nullptr, &dest, &source),
              kTrue);
    return dst.Bytes();
  };
  std::vector<BYTE> fast, general;
  BothPaths(draw, fast, general);
  EXPECT_EQ(fast, general);
}

constexpr ULONG G = BMF_8BPP, C = BMF_24BPP, X = BMF_32BPP;
constexpr FLONG Up = 0, Down = BMF_TOPDOWN;

INSTANTIATE_TEST_SUITE_P(
    Table, FastBitCopies,
    testing::Values(
        // Colour to colour, with and without the fourth byte.
        TCopyCase{"colour_to_colour", C, Down, C, Up, {1, 1, 6, 4}, {0, 0}, false, false, false},
        TCopyCase{"bgrx_to_colour", X, Up, C, Down, {2, 2, 7, 5}, {0, 0}, false, false, false},
        TCopyCase{"colour_to_bgrx", C, Up, X, Up, {0, 0, 5, 3}, {0, 0}, false, false, false},
        TCopyCase{"bgrx_to_bgrx", X, Down, X, Up, {1, 2, 6, 5}, {0, 0}, false, false, false},
        // Colour to grey by luminance.
        TCopyCase{"colour_to_grey", C, Up, G, Up, {1, 1, 6, 4}, {0, 0}, false, false, false},
        TCopyCase{"bgrx_to_grey", X, Down, G, Down, {0, 3, 5, 6}, {0, 0}, false, false, false},
        // 8-bit sources: the grey ramp, or the given table.
        TCopyCase{"grey_to_colour", G, Up, C, Up, {2, 0, 7, 3}, {0, 0}, false, false, false},
        TCopyCase{"grey_to_bgrx", G, Down, X, Up, {2, 0, 7, 3}, {0, 0}, false, false, false},
        TCopyCase{"table_to_grey", G, Up, G, Down, {1, 1, 6, 4}, {0, 0}, false, true, false},
        TCopyCase{"table_to_colour", G, Down, C, Up, {1, 1, 6, 4}, {0, 0}, false, true, false},
        // Clipped at every edge: the destination off the page, the source
        // offset past its own edges, and a clip rectangle.
        TCopyCase{"off_left_top", C, Up, C, Up, {-2, -1, 3, 2}, {0, 0}, false, false, false},
        TCopyCase{"off_right_bottom", X, Up, G, Up, {4, 4, 9, 7}, {0, 0}, false, false, false},
        TCopyCase{"source_offset", C, Down, G, Up, {0, 0, 7, 6}, {2, 1}, false, false, false},
        TCopyCase{"source_before", X, Up, C, Down, {3, 3, 7, 6}, {-2, -1}, false, false, false},
        TCopyCase{"clip_object", C, Up, X, Down, {0, 0, 7, 6}, {0, 0}, true, false, false},
        TCopyCase{"clip_grey", X, Down, G, Up, {-1, 0, 4, 6}, {0, 0}, true, false, false},
        // Within one surface the rows overlap: the general order stands.
        TCopyCase{"overlap_right", C, Up, C, Up, {1, 0, 7, 6}, {0, 0}, false, true, true},
        TCopyCase{"overlap_grey", G, Up, G, Up, {0, 1, 7, 6}, {0, 0}, false, true, true}),
    TCaseName());

// ---- Images through the front onto the recording driver's page ----

struct TImageCase {
  const char* name;
  // The page.
  ULONG pageFormat;
  ULONG paletteMode;  // PAL_BGR, PAL_RGB or PAL_INDEXED
  bool ramp;          // an indexed palette of 256 greys, else 7 colours
  bool hooked;        // drawing through DrvCopyBits, else the engine alone
  // The DIB and where it goes.
  WORD bitCount;
  LONG width, height;  // the DIB's; height stored bottom-up when positive
  INT xDest, yDest, destWidth, destHeight;
  INT xSrc, ySrc, srcWidth, srcHeight;
};

class FastImages : public TSpoolTest, public testing::WithParamInterface<TImageCase> {
 protected:
  void SetUp() override {
    TSpoolTest::SetUp();
    Module = LoadLibraryW(u"recdrv.dll");
    ASSERT_NE(Module, nullptr);
  }
  void TearDown() override {
    Fn<void (*)(SIZEL, ULONG, ULONG, const ULONG*, ULONG)>("RecordingDriverPage")(
        SIZEL{16, 8}, BMF_24BPP, PAL_BGR, nullptr, 0);
    Fn<void (*)(FLONG)>("RecordingDriverHooks")(HOOK_TEXTOUT | HOOK_STROKEPATH | HOOK_COPYBITS);
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
  HMODULE Module = nullptr;
};

TEST_P(FastImages, EqualTheGeneralPath) {
  const TImageCase& c = GetParam();
  std::vector<ULONG> colours;
  if (c.paletteMode == PAL_INDEXED) {
    for (ULONG i = 0; i < (c.ramp ? 256u : 7u); ++i) {
      colours.push_back(c.ramp ? i * 0x010101 : (i * 0x5A3C17u) & 0xFFFFFF);
    }
  }
  Fn<void (*)(SIZEL, ULONG, ULONG, const ULONG*, ULONG)>("RecordingDriverPage")(
      SIZEL{11, 9}, c.pageFormat, c.paletteMode, colours.empty() ? nullptr : colours.data(),
      static_cast<ULONG>(colours.size()));
  Fn<void (*)(FLONG)>("RecordingDriverHooks")(c.hooked ? HOOK_COPYBITS : 0);

  // The DIB: a colour table for 8 bits, rows padded to four bytes; the
  // padding holds bytes of its own, which must never reach the page.
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info{};
  info.header = {sizeof(BITMAPINFOHEADER), c.width, c.height, 1, c.bitCount, BI_RGB, 0, 0, 0, 0, 0};
  for (int i = 0; i < 256; ++i) {
    info.colours[i] = RGBQUAD{Pattern(3 * i, 1), Pattern(3 * i + 1, 1), Pattern(3 * i + 2, 1), 0};
  }
  const LONG rows = c.height < 0 ? -c.height : c.height;
  const std::size_t stride = (static_cast<std::size_t>(c.width) * c.bitCount + 31) / 32 * 4;
  std::vector<BYTE> bits(stride * rows);
  for (std::size_t i = 0; i < bits.size(); ++i) bits[i] = Pattern(i, 2);

  const DEVMODEW dm = DevMode();
  auto draw = [&] {
    HDC hdc = CreateDCW(u"recdrv.dll", Printer.c_str(), nullptr, &dm);
    EXPECT_NE(hdc, nullptr);
    if (hdc == nullptr) return std::vector<BYTE>{};
    const SURFOBJ* so = PlatformDCSurface(hdc);
    auto* page = static_cast<BYTE*>(so->pvBits);
    for (ULONG i = 0; i < so->cjBits; ++i) page[i] = Pattern(i, 3);  // padding included
    EXPECT_EQ(StretchDIBits(hdc, c.xDest, c.yDest, c.destWidth, c.destHeight, c.xSrc, c.ySrc,
                            c.srcWidth, c.srcHeight, bits.data(),
                            reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY),
              c.srcHeight);
    std::vector<BYTE> out(page, page + so->cjBits);
    EXPECT_NE(DeleteDC(hdc), 0);
    return out;
  };
  std::vector<BYTE> fast, general;
  BothPaths(draw, fast, general);
  ASSERT_FALSE(fast.empty());
  EXPECT_EQ(fast, general);
}

constexpr ULONG BGR = PAL_BGR, RGBO = PAL_RGB, IDX = PAL_INDEXED;

// Pages of 11 x 9 pixels. Widths 5, 7 and 13 leave padding in every row of
// 24-bit and 8-bit DIBs; negative heights are top-down DIBs.
INSTANTIATE_TEST_SUITE_P(
    Table, FastImages,
    testing::Values(
        // The print host's bands: 24 bits, 1:1, onto colour and grey pages.
        TImageCase{"colour_band", C, BGR, false, true, 24, 7, -5, 2, 1, 7, 5, 0, 0, 7, 5},
        TImageCase{"grey_band", G, IDX, true, true, 24, 7, -5, 2, 1, 7, 5, 0, 0, 7, 5},
        TImageCase{"colour_bottom_up", C, BGR, false, true, 24, 5, 3, 1, 2, 5, 3, 0, 0, 5, 3},
        TImageCase{"grey_bottom_up", G, IDX, true, true, 24, 5, 3, 1, 2, 5, 3, 0, 0, 5, 3},
        // Clipped by the page at each edge, and at all of them at once.
        TImageCase{"clip_left", C, BGR, false, true, 24, 7, -5, -3, 2, 7, 5, 0, 0, 7, 5},
        TImageCase{"clip_top", G, IDX, true, true, 24, 7, 5, 1, -2, 7, 5, 0, 0, 7, 5},
        TImageCase{"clip_right", C, BGR, false, true, 32, 7, 5, 8, 1, 7, 5, 0, 0, 7, 5},
        TImageCase{"clip_bottom", G, IDX, true, true, 32, 7, -5, 2, 6, 7, 5, 0, 0, 7, 5},
        TImageCase{"clip_all", C, BGR, false, true, 24, 13, -11, -1, -1, 13, 11, 0, 0, 13, 11},
        TImageCase{"clip_all_grey", G, IDX, true, true, 24, 13, 11, -1, -1, 13, 11, 0, 0, 13, 11},
        // A source rectangle inside the DIB, counted from the bottom row of a
        // bottom-up DIB.
        TImageCase{"part_bottom_up", C, BGR, false, true, 24, 13, 7, 1, 1, 6, 4, 5, 2, 6, 4},
        TImageCase{"part_top_down", G, IDX, true, true, 32, 13, -7, 1, 1, 6, 4, 5, 2, 6, 4},
        TImageCase{"part_clipped", C, BGR, false, true, 24, 13, 7, -2, 7, 6, 4, 3, 1, 6, 4},
        // 32-bit BGRX drops its fourth byte; 8-bit DIBs go through their
        // colour table.
        TImageCase{"bgrx_colour", C, BGR, false, true, 32, 5, -3, 3, 3, 5, 3, 0, 0, 5, 3},
        TImageCase{"indexed_colour", C, BGR, false, true, 8, 5, 3, 3, 3, 5, 3, 0, 0, 5, 3},
        TImageCase{"indexed_grey", G, IDX, true, true, 8, 7, -3, -2, 3, 7, 3, 0, 0, 7, 3},
        // Other pages: red first in memory, 32 bits, an indexed palette that
        // is not the grey ramp, and the engine alone.
        TImageCase{"rgb_page", C, RGBO, false, true, 24, 7, -5, 2, 1, 7, 5, 0, 0, 7, 5},
        TImageCase{"rgb_page_bgrx", C, RGBO, false, true, 32, 7, 5, -1, 1, 7, 5, 0, 0, 7, 5},
        TImageCase{"bgrx_page", X, BGR, false, true, 24, 7, -5, 6, 5, 7, 5, 0, 0, 7, 5},
        TImageCase{"bgrx_page_bgrx", X, BGR, false, true, 32, 5, 3, 1, 1, 5, 3, 0, 0, 5, 3},
        TImageCase{"few_colours", G, IDX, false, true, 24, 5, -3, 1, 1, 5, 3, 0, 0, 5, 3},
        TImageCase{"unhooked", C, BGR, false, false, 24, 7, -5, 5, 6, 7, 5, 0, 0, 7, 5},
        TImageCase{"unhooked_grey", G, IDX, true, false, 32, 7, 5, -2, -1, 7, 5, 0, 0, 7, 5},
        // Scaled images are staged; the copy from the stage is the same.
        TImageCase{"scaled_up", C, BGR, false, true, 24, 3, -2, 1, 1, 7, 5, 0, 0, 3, 2},
        TImageCase{"scaled_up_clipped", G, IDX, true, true, 24, 5, 3, -3, -4, 13, 12, 1, 0, 4, 3},
        TImageCase{"scaled_up_indexed", X, BGR, false, true, 8, 3, -3, 2, -1, 8, 11, 0, 0, 3, 3},
        TImageCase{"scaled_down_grey", G, IDX, true, true, 32, 13, 7, 0, 0, 5, 4, 1, 1, 12, 6}),
    TCaseName());

}  // namespace
