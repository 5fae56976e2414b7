// The page image encoder on its own: the exact bytes of the smallest files,
// row padding, row order, the limits of the 32-bit size fields, and sources
// that do not match the image.
#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <vector>

#include "uPDevData.h"
#include "uPageImage.h"

namespace {

using namespace pixmor;

const std::span<const BYTE> kGrey(reinterpret_cast<const BYTE*>(GreyPalette.data()),
                                  sizeof GreyPalette);

std::vector<BYTE> Encode(const TPageSource& source, std::int64_t w, std::int64_t h,
                         EPageMode mode) {
  const auto layout = PageImageLayout(w, h, mode);
  EXPECT_TRUE(layout.has_value());
  std::vector<BYTE> file(static_cast<std::size_t>(layout->FileSize), 0xCC);
  EXPECT_TRUE(EncodePageImage(source, w, h, mode, kGrey, file));
  return file;
}

// A top-down page of w x h pixels whose bytes count up.
struct TPage {
  std::int64_t Width, Height, Stride;
  std::vector<BYTE> Bits;
  TPage(std::int64_t w, std::int64_t h, std::int64_t stride)
      : Width(w), Height(h), Stride(stride), Bits(static_cast<std::size_t>(stride * h)) {
    std::iota(Bits.begin(), Bits.end(), BYTE{1});
  }
  TPageSource TopDown() const {
    return {Bits.data(), Stride, Width, Height, Bits.data(), Bits.size()};
  }
  // The same page stored with its rows in the reverse order.
  std::vector<BYTE> Reversed() const {
    std::vector<BYTE> out(Bits.size());
    for (std::int64_t r = 0; r < Height; ++r) {
      std::copy_n(Bits.begin() + r * Stride, Stride, out.begin() + (Height - 1 - r) * Stride);
    }
    return out;
  }
};

TEST(EncodePageImage, OnePixelGreyFile) {
  const BYTE pixel = 0x42;
  const auto file = Encode({&pixel, 1, 1, 1, &pixel, 1}, 1, 1, EPageMode::Grey);
  ASSERT_EQ(file.size(), 1082u);
  const std::vector<BYTE> header = {0x42, 0x4D, 0x3A, 0x04, 0, 0, 0, 0, 0, 0, 0x36, 0x04, 0, 0,
                                    40,   0,    0,    0,    1, 0, 0, 0, 1, 0, 0,    0,    1, 0,
                                    8,    0,    0,    0,    0, 0, 4, 0, 0, 0, 0,    0,    0, 0,
                                    0,    0,    0,    0,    0, 1, 0, 0, 0, 0, 0,    0};
  EXPECT_EQ(std::vector<BYTE>(file.begin(), file.begin() + 54), header);
  for (int i = 0; i < 256; ++i) {
    const std::vector<BYTE> entry(file.begin() + 54 + 4 * i, file.begin() + 58 + 4 * i);
    ASSERT_EQ(entry, (std::vector<BYTE>{BYTE(i), BYTE(i), BYTE(i), 0})) << i;
  }
  EXPECT_EQ(std::vector<BYTE>(file.begin() + 1078, file.end()), (std::vector<BYTE>{0x42, 0, 0, 0}));
}

TEST(EncodePageImage, OnePixelColourFileLeftWhite) {
  const std::array<BYTE, 4> white = {0xFF, 0xFF, 0xFF, 0};
  const auto file = Encode({white.data(), 4, 1, 1, white.data(), 4}, 1, 1, EPageMode::Colour);
  const std::vector<BYTE> expected = {
      0x42, 0x4D, 0x3A, 0, 0, 0, 0, 0, 0,  0, 0x36, 0, 0, 0, 40,   0,    0,    0, 1, 0,
      0,    0,    1,    0, 0, 0, 1, 0, 24, 0, 0,    0, 0, 0, 4,    0,    0,    0, 0, 0,
      0,    0,    0,    0, 0, 0, 0, 0, 0,  0, 0,    0, 0, 0, 0xFF, 0xFF, 0xFF, 0};
  EXPECT_EQ(file, expected);
}

// Rows are padded to four bytes with zeros and stored bottom row first.
TEST(EncodePageImage, PaddedRowsBottomUp) {
  for (const EPageMode mode : {EPageMode::Grey, EPageMode::Colour}) {
    const int bpp = mode == EPageMode::Grey ? 1 : 3;
    const std::int64_t w = 5, h = 3;
    const TPage page(w, h, w * bpp);  // rows packed, no padding in the source
    const auto file = Encode(page.TopDown(), w, h, mode);
    const std::size_t rowSize = mode == EPageMode::Grey ? 8 : 16;
    const std::size_t offset = mode == EPageMode::Grey ? 1078 : 54;
    ASSERT_EQ(file.size(), offset + rowSize * h);
    for (std::int64_t r = 0; r < h; ++r) {
      const BYTE* row = file.data() + offset + rowSize * (h - 1 - r);
      EXPECT_TRUE(std::equal(row, row + w * bpp, page.Bits.begin() + r * w * bpp)) << r;
      EXPECT_TRUE(std::all_of(row + w * bpp, row + rowSize, [](BYTE b) { return b == 0; }));
    }
  }
}

TEST(EncodePageImage, BottomUpAndTopDownSurfacesGiveTheSameFile) {
  const std::int64_t w = 7, h = 4, stride = 24;  // rows with slack of their own
  const TPage page(w, h, stride);
  const std::vector<BYTE> reversed = page.Reversed();
  const TPageSource bottomUp{
      reversed.data() + (h - 1) * stride, -stride, w, h, reversed.data(), reversed.size()};
  EXPECT_EQ(Encode(page.TopDown(), w, h, EPageMode::Colour),
            Encode(bottomUp, w, h, EPageMode::Colour));
}

// Only what both the surface and the image hold is copied; the rest of the
// image is white and no byte outside either buffer is touched.
TEST(EncodePageImage, SourceOfAnotherSize) {
  const TPage larger(9, 6, 12);
  auto file = Encode(larger.TopDown(), 4, 2, EPageMode::Grey);
  EXPECT_EQ(std::vector<BYTE>(file.begin() + 1078, file.end()),
            (std::vector<BYTE>{13, 14, 15, 16, 1, 2, 3, 4}));

  const TPage smaller(2, 1, 4);
  file = Encode(smaller.TopDown(), 4, 2, EPageMode::Grey);
  EXPECT_EQ(std::vector<BYTE>(file.begin() + 1078, file.end()),
            (std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 0xFF, 0xFF}));
}

TEST(EncodePageImage, CopyEndsAtARowOutsideTheSurface) {
  const TPage page(4, 3, 4);
  TPageSource source = page.TopDown();
  source.BitsSize = 8;  // the third row lies beyond the buffer
  const auto file = Encode(source, 4, 3, EPageMode::Grey);
  EXPECT_EQ(std::vector<BYTE>(file.begin() + 1078, file.end()),
            (std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF, 5, 6, 7, 8, 1, 2, 3, 4}));
  source.Scan0 = page.Bits.data() + 4;
  source.Delta = -4;  // bottom-up: the third row would lie before the buffer
  const auto upward = Encode(source, 4, 3, EPageMode::Grey);
  EXPECT_EQ(std::vector<BYTE>(upward.begin() + 1078, upward.end()),
            (std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(EncodePageImage, RefusesABufferOfTheWrongSize) {
  const BYTE pixel = 0;
  std::vector<BYTE> file(57);
  EXPECT_FALSE(
      EncodePageImage({&pixel, 1, 1, 1, nullptr, 0}, 1, 1, EPageMode::Colour, kGrey, file));
  file.resize(59);
  EXPECT_FALSE(
      EncodePageImage({&pixel, 1, 1, 1, nullptr, 0}, 1, 1, EPageMode::Colour, kGrey, file));
}

struct TLayoutCase {
  std::int64_t width, height;
  EPageMode mode;
  std::uint64_t rowSize, fileSize;  // fileSize 0: refused
};

TEST(PageImageLayout, SizesAndLimits) {
  const TLayoutCase cases[] = {
      // A4 at 600 dpi: widths that are not a multiple of four.
      {4961, 7016, EPageMode::Grey, 4964, 1078ull + 4964 * 7016},
      {4961, 7016, EPageMode::Colour, 14884, 54ull + 14884 * 7016},
      {2480, 3508, EPageMode::Grey, 2480, 1078ull + 2480 * 3508},
      {20400, 26400, EPageMode::Colour, 61200, 54ull + 61200ull * 26400},
      // The D size sheet at 1200 dpi fits the 32-bit fields in both modes.
      {26400, 40800, EPageMode::Grey, 26400, 1078ull + 26400ull * 40800},
      {26400, 40800, EPageMode::Colour, 79200, 54ull + 79200ull * 40800},
      {0, 0, EPageMode::Colour, 0, 54},
      // The largest file that fits, and one byte more.
      {65536, 65535, EPageMode::Grey, 65536, 1078ull + 65536ull * 65535},
      {65536, 65536, EPageMode::Grey, 65536, 0},
      {26400, 54232, EPageMode::Colour, 79200, 0},
      {4227071, 4227071, EPageMode::Colour, 12681216, 0},
      {-1, 10, EPageMode::Grey, 0, 0},
      {10, -1, EPageMode::Grey, 0, 0},
      {MaxPageExtent + 1, 1, EPageMode::Grey, 0, 0},
  };
  for (const TLayoutCase& c : cases) {
    const auto layout = PageImageLayout(c.width, c.height, c.mode);
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    if (c.fileSize == 0) {
      EXPECT_FALSE(layout.has_value());
      continue;
    }
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->RowSize, c.rowSize);
    EXPECT_EQ(layout->FileSize, c.fileSize);
  }
}

}  // namespace
