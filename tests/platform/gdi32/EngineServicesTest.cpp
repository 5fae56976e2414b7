// The engine services on their own: bitmaps laid out as GDI lays them out,
// palettes, bit copies between formats with colour translation and
// clipping, and glyph output.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "uCaseName.h"
#include "uGdiClient.h"
#include "uPlatformTesting.h"

namespace {

// An engine bitmap, deleted at the end of the test.
struct TBitmap {
  HSURF Handle;
  SURFOBJ* so;
  TBitmap(LONG cx, LONG cy, ULONG format, FLONG fl = 0)
      : Handle(reinterpret_cast<HSURF>(EngCreateBitmap({cx, cy}, 0, format, fl, nullptr))),
        so(EngLockSurface(Handle)) {}
  ~TBitmap() { EngDeleteSurface(Handle); }
  BYTE* Pixel(LONG x, LONG y, int bpp) {
    return static_cast<BYTE*>(so->pvScan0) + static_cast<std::ptrdiff_t>(y) * so->lDelta + x * bpp;
  }
};

struct TLayoutCase {
  const char* name;
  LONG cx, cy;
  ULONG format;
  FLONG fl;
  LONG stride;  // negative: bottom-up
};

class BitmapLayouts : public testing::TestWithParam<TLayoutCase> {};

TEST_P(BitmapLayouts, RowsAsGdiLaysThemOut) {
  const TLayoutCase& c = GetParam();
  const long live = PlatformLiveLocalBlocks();
  {
    TBitmap bitmap(c.cx, c.cy, c.format, c.fl);
    ASSERT_NE(bitmap.so, nullptr);
    const SURFOBJ& so = *bitmap.so;
    EXPECT_EQ(so.lDelta, c.stride);
    EXPECT_EQ(so.cjBits, static_cast<ULONG>(std::abs(c.stride) * c.cy));
    const BYTE* first = static_cast<BYTE*>(so.pvBits);
    EXPECT_EQ(static_cast<BYTE*>(so.pvScan0), c.stride < 0 ? first + so.cjBits + c.stride : first);
    EXPECT_EQ(so.iBitmapFormat, c.format);
    EXPECT_EQ(so.hsurf, bitmap.Handle);
    EXPECT_EQ(std::count(first, first + so.cjBits, BYTE{0}), static_cast<long>(so.cjBits));
  }
  EXPECT_EQ(PlatformLiveLocalBlocks(), live);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BitmapLayouts,
    testing::Values(TLayoutCase{"grey_bottom_up", 5, 3, BMF_8BPP, 0, -8},
                    TLayoutCase{"grey_top_down", 5, 3, BMF_8BPP, BMF_TOPDOWN, 8},
                    TLayoutCase{"colour_bottom_up", 5, 3, BMF_24BPP, 0, -16},
                    TLayoutCase{"colour_top_down", 5, 3, BMF_24BPP, BMF_TOPDOWN, 16},
                    TLayoutCase{"bgrx_bottom_up", 5, 3, BMF_32BPP, 0, -20}),
    TCaseName());

TEST(EngCreateBitmap, RefusesWhatItCannotMake) {
  EXPECT_EQ(EngCreateBitmap({0, 5}, 0, BMF_24BPP, 0, nullptr), nullptr);
  EXPECT_EQ(EngCreateBitmap({5, -1}, 0, BMF_24BPP, 0, nullptr), nullptr);
  EXPECT_EQ(EngCreateBitmap({5, 5}, 0, BMF_1BPP, 0, nullptr), nullptr);
  // Beyond a 32-bit byte count.
  EXPECT_EQ(EngCreateBitmap({40000, 40000}, 0, BMF_24BPP, 0, nullptr), nullptr);
  BYTE caller[8];
  EXPECT_EQ(EngCreateBitmap({5, 1}, 4, BMF_8BPP, 0, caller), nullptr);  // rows too short
}

TEST(EngCreateBitmap, CallerMemoryWithItsRowDistance) {
  std::vector<BYTE> memory(3 * 12);
  const HSURF h =
      reinterpret_cast<HSURF>(EngCreateBitmap({3, 3}, 12, BMF_24BPP, BMF_TOPDOWN, memory.data()));
  const SURFOBJ* so = EngLockSurface(h);
  ASSERT_NE(so, nullptr);
  EXPECT_EQ(so->pvBits, memory.data());
  EXPECT_EQ(so->lDelta, 12);
  EXPECT_EQ(EngDeleteSurface(h), kTrue);
  EXPECT_EQ(EngDeleteSurface(h), kFalse);  // gone
}

TEST(EngPalette, CreateQueryDelete) {
  ULONG colours[3] = {0x0000FF, 0x00FF00, 0xFF0000};
  HPALETTE indexed = EngCreatePalette(PAL_INDEXED, 3, colours, 0, 0, 0);
  ASSERT_NE(indexed, nullptr);
  ULONG mode = 0, out[4] = {};
  EXPECT_EQ(EngQueryPalette(indexed, &mode, 4, out), 3u);
  EXPECT_EQ(mode, PAL_INDEXED);
  EXPECT_EQ(std::memcmp(out, colours, sizeof colours), 0);
  EXPECT_EQ(EngDeletePalette(indexed), kTrue);
  EXPECT_EQ(EngDeletePalette(indexed), kFalse);
  EXPECT_EQ(EngCreatePalette(PAL_INDEXED, 0, colours, 0, 0, 0), nullptr);
  EXPECT_EQ(EngCreatePalette(PAL_INDEXED, 3, nullptr, 0, 0, 0), nullptr);
}

// One pixel copied from a source format to a destination format.
struct TCopyCase {
  const char* name;
  ULONG srcFormat;
  std::vector<BYTE> source;  // the pixel's bytes
  ULONG dstFormat;
  bool useTable;  // an XLATEOBJ with an index table
  std::vector<BYTE> expected;
};

class CopyFormats : public testing::TestWithParam<TCopyCase> {};

TEST_P(CopyFormats, TranslateIntoTheDestination) {
  const TCopyCase& c = GetParam();
  TBitmap src(1, 1, c.srcFormat), dst(1, 1, c.dstFormat);
  std::memcpy(src.so->pvScan0, c.source.data(), c.source.size());
  RECTL r{0, 0, 1, 1};
  POINTL p{0, 0};
  ULONG table[256];
  XLATEOBJ xo{};
  if (c.useTable) {
    for (ULONG i = 0; i < 256; ++i) table[i] = 0x010203 * (i & 1);
    xo.flXlate = XO_TABLE;
    xo.cEntries = 256;
    xo.pulXlate = table;
  }
  ASSERT_EQ(EngCopyBits(dst.so, src.so, nullptr, c.useTable ? &xo : nullptr, &r, &p), kTrue);
  const auto* out = static_cast<const BYTE*>(dst.so->pvScan0);
  EXPECT_EQ(std::vector<BYTE>(out, out + c.expected.size()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CopyFormats,
    testing::Values(
        TCopyCase{"colour_to_colour", BMF_24BPP, {1, 2, 3}, BMF_24BPP, false, {1, 2, 3}},
        TCopyCase{"bgrx_to_colour", BMF_32BPP, {1, 2, 3, 9}, BMF_24BPP, false, {1, 2, 3}},
        TCopyCase{"colour_to_bgrx", BMF_24BPP, {1, 2, 3}, BMF_32BPP, false, {1, 2, 3, 0}},
        // Colours become grey levels by their luminance.
        TCopyCase{"red_to_grey", BMF_24BPP, {0, 0, 255}, BMF_8BPP, false, {77}},
        TCopyCase{"green_to_grey", BMF_24BPP, {0, 255, 0}, BMF_8BPP, false, {149}},
        TCopyCase{"blue_to_grey", BMF_32BPP, {255, 0, 0, 0}, BMF_8BPP, false, {29}},
        TCopyCase{"white_to_grey", BMF_24BPP, {255, 255, 255}, BMF_8BPP, false, {255}},
        TCopyCase{"grey_to_colour", BMF_8BPP, {0x40}, BMF_24BPP, false, {0x40, 0x40, 0x40}},
        TCopyCase{"grey_to_grey", BMF_8BPP, {0x40}, BMF_8BPP, false, {0x40}},
        // An index table in the XLATEOBJ is the translation.
        TCopyCase{"table_translation", BMF_8BPP, {3}, BMF_24BPP, true, {3, 2, 1}}),
    TCaseName());

TEST(EngCopyBits, ClipsToTheDestinationTheClipAndTheSource) {
  TBitmap src(4, 4, BMF_8BPP), dst(6, 6, BMF_8BPP);
  std::memset(src.so->pvBits, 7, src.so->cjBits);
  // Destination rectangle partly off the page: only the visible pixels.
  RECTL r{4, 4, 8, 8};
  POINTL p{0, 0};
  ASSERT_EQ(EngCopyBits(dst.so, src.so, nullptr, nullptr, &r, &p), kTrue);
  int sevens = 0;
  for (LONG y = 0; y < 6; ++y) {
    for (LONG x = 0; x < 6; ++x) sevens += *dst.Pixel(x, y, 1) == 7;
  }
  EXPECT_EQ(sevens, 4);
  EXPECT_EQ(*dst.Pixel(5, 5, 1), 7);

  // A clip rectangle narrows it; a source offset past the source's edge
  // shortens it.
  std::memset(dst.so->pvBits, 0, dst.so->cjBits);
  CLIPOBJ clip{};
  clip.iDComplexity = DC_RECT;
  clip.rclBounds = {0, 0, 2, 6};
  RECTL all{0, 0, 6, 6};
  POINTL offset{3, 0};
  ASSERT_EQ(EngCopyBits(dst.so, src.so, &clip, nullptr, &all, &offset), kTrue);
  sevens = 0;
  for (LONG y = 0; y < 6; ++y) {
    for (LONG x = 0; x < 6; ++x) sevens += *dst.Pixel(x, y, 1) == 7;
  }
  EXPECT_EQ(sevens, 4);  // x 0 only (source column 3), rows 0 to 3
  EXPECT_EQ(*dst.Pixel(0, 3, 1), 7);
  EXPECT_EQ(*dst.Pixel(1, 0, 1), 0);

  EXPECT_EQ(EngCopyBits(nullptr, src.so, nullptr, nullptr, &r, &p), kFalse);
  EXPECT_EQ(EngCopyBits(dst.so, src.so, nullptr, nullptr, nullptr, &p), kFalse);
}

// A copy within one bitmap, with the rectangles overlapping, reads every
// source pixel before it is overwritten: the same as a copy from a
// duplicate of the bitmap.
struct TOverlapCase {
  const char* name;
  ULONG format;
  FLONG layout;
  bool table;  // translated through an index table, else copied as it is
  RECTL dest;
  POINTL source;
};

class OverlappingCopies : public testing::TestWithParam<TOverlapCase> {};

TEST_P(OverlappingCopies, EqualACopyFromADuplicate) {
  const TOverlapCase& c = GetParam();
  TBitmap within(7, 6, c.format, c.layout), original(7, 6, c.format, c.layout),
      expected(7, 6, c.format, c.layout);
  for (ULONG i = 0; i < within.so->cjBits; ++i) {
    static_cast<BYTE*>(within.so->pvBits)[i] = static_cast<BYTE>(i * 29 + 5);
  }
  std::memcpy(original.so->pvBits, within.so->pvBits, within.so->cjBits);
  std::memcpy(expected.so->pvBits, within.so->pvBits, within.so->cjBits);
  ULONG table[256];
  for (ULONG i = 0; i < 256; ++i) table[i] = 255 - i;
  XLATEOBJ xo{};
  xo.flXlate = XO_TABLE;
  xo.cEntries = 256;
  xo.pulXlate = table;
  RECTL dest = c.dest;
  POINTL source = c.source;
  ASSERT_EQ(EngCopyBits(expected.so, original.so, nullptr, c.table ? &xo : nullptr, &dest, &source),
            kTrue);
  ASSERT_EQ(EngCopyBits(within.so, within.so, nullptr, c.table ? &xo : nullptr, &dest, &source),
            kTrue);
  EXPECT_EQ(std::memcmp(within.so->pvBits, expected.so->pvBits, within.so->cjBits), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, OverlappingCopies,
    testing::Values(
        TOverlapCase{"down_right", BMF_8BPP, 0, false, {1, 1, 7, 6}, {0, 0}},
        TOverlapCase{"down_right_top_down", BMF_8BPP, BMF_TOPDOWN, false, {1, 1, 7, 6}, {0, 0}},
        TOverlapCase{"up_left", BMF_8BPP, 0, false, {0, 0, 6, 5}, {1, 1}},
        TOverlapCase{"up_left_top_down", BMF_24BPP, BMF_TOPDOWN, false, {0, 0, 6, 5}, {1, 1}},
        TOverlapCase{"down_colour", BMF_24BPP, 0, false, {0, 2, 7, 6}, {0, 0}},
        TOverlapCase{"right_by_table", BMF_8BPP, 0, true, {2, 0, 7, 6}, {0, 0}},
        TOverlapCase{"down_right_by_table", BMF_8BPP, BMF_TOPDOWN, true, {1, 1, 7, 6}, {0, 0}},
        TOverlapCase{"up_left_by_table", BMF_8BPP, 0, true, {0, 0, 5, 4}, {2, 2}}),
    TCaseName());

TEST(EngTextOut, GlyphBitsInTheForegroundColour) {
  TBitmap page(8, 4, BMF_24BPP, BMF_TOPDOWN);
  std::memset(page.so->pvBits, 0xFF, page.so->cjBits);
  // A 3 x 2 glyph: X.X / .X. , placed with its top-left at (4, 1); the
  // second glyph lies partly off the page.
  alignas(8) BYTE storage[64] = {};
  auto* bits = reinterpret_cast<GLYPHBITS*>(storage);
  bits->ptlOrigin = {1, -1};
  bits->sizlBitmap = {3, 2};
  bits->aj[0] = 0b10100000;
  bits->aj[1] = 0b01000000;
  GLYPHDEF def{};
  def.pgb = bits;
  GLYPHPOS pos[2] = {{0, &def, {3, 2}}, {1, &def, {6, 2}}};
  STROBJ str{};
  str.cGlyphs = 2;
  str.pgp = pos;
  BRUSHOBJ fore{};
  fore.iSolidColor = 0x00FF0000;  // red, stored blue, green, red
  ASSERT_EQ(EngTextOut(page.so, &str, nullptr, nullptr, nullptr, nullptr, &fore, nullptr, nullptr,
                       0x0D0D),
            kTrue);
  auto red = [&](LONG x, LONG y) {
    const BYTE* p = page.Pixel(x, y, 3);
    return p[0] == 0 && p[1] == 0 && p[2] == 0xFF;
  };
  EXPECT_TRUE(red(4, 1));
  EXPECT_FALSE(red(5, 1));
  EXPECT_TRUE(red(6, 1));
  EXPECT_TRUE(red(5, 2));
  EXPECT_TRUE(red(7, 1));  // the second glyph's first pixel; the rest is clipped
  EXPECT_FALSE(red(4, 2));
  int count = 0;
  for (LONG y = 0; y < 4; ++y) {
    for (LONG x = 0; x < 8; ++x) count += red(x, y);
  }
  EXPECT_EQ(count, 4);
}

TEST(EngStrokePath, RefusesAPathItDidNotMake) {
  TBitmap page(4, 4, BMF_8BPP);
  PATHOBJ foreign{};
  BRUSHOBJ brush{};
  EXPECT_EQ(EngStrokePath(page.so, &foreign, nullptr, nullptr, &brush, nullptr, nullptr, 0),
            kFalse);
}

}  // namespace
