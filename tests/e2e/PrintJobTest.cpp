// Print jobs end to end: documents of several pages drawn with lines, glyphs
// and images, read back from the job file by file through each bfSize.
#include <vector>

#include "uDriverHarness.h"

namespace {

using namespace harness;

// A6 at 72 dpi: 298 x 420 pixels, a width that is not a multiple of four.
constexpr LONG kWidth = 298, kHeight = 420;

class PrintJob : public TSpoolTest {
 protected:
  // The pixel (x, y) of the page, counted from the top, in a page file.
  static std::vector<BYTE> PixelOf(const std::vector<BYTE>& file, LONG x, LONG y) {
    const std::uint32_t offset = Le32(file, 10);
    const WORD bits = static_cast<WORD>(file[28] | (file[29] << 8));
    const std::size_t bpp = bits / 8;
    const std::size_t row = (kWidth * bpp + 3) & ~std::size_t{3};
    const std::size_t at = offset + row * static_cast<std::size_t>(kHeight - 1 - y) + x * bpp;
    return std::vector<BYTE>(file.begin() + at, file.begin() + at + bpp);
  }

  static void DrawPage(HDC hdc, int page) {
    ASSERT_EQ(StartPage(hdc), 1);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(hdc, pen);
    MoveToEx(hdc, 10, 10 + page, nullptr);
    EXPECT_EQ(LineTo(hdc, 200, 10 + page), kTrue);
    SelectObject(hdc, old);
    DeleteObject(pen);
    const BYTE bar[4] = {0xFF, 0xFF, 0xFF, 0xFF};  // an 8 x 4 block
    const PLATFORM_GLYPH glyph{{50, 100}, {0, -4}, {8, 4}, bar};
    EXPECT_EQ(PlatformGlyphTextOut(hdc, &glyph, 1, RGB(0, 0, 255)), kTrue);
    // A 1 x 1 green image stretched over a 20 x 20 square.
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, 1, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const BYTE green[4] = {0, 255, 0, 0};
    EXPECT_EQ(
        StretchDIBits(hdc, 100, 200, 20, 20, 0, 0, 1, 1, green, &bmi, DIB_RGB_COLORS, SRCCOPY), 1);
    ASSERT_EQ(EndPage(hdc), 1);
  }
};

TEST_F(PrintJob, ThreeColourPagesBackToBack) {
  HDC hdc = CreateDC(DevMode(70, 72));
  ASSERT_NE(hdc, nullptr);
  EXPECT_EQ(GetDeviceCaps(hdc, HORZRES), kWidth);
  EXPECT_EQ(GetDeviceCaps(hdc, VERTRES), kHeight);
  EXPECT_EQ(GetDeviceCaps(hdc, LOGPIXELSX), 72);
  const std::string path = StartJob(hdc);
  for (int page = 0; page < 3; ++page) DrawPage(hdc, page);
  ASSERT_EQ(EndDoc(hdc), 1);
  ASSERT_NE(DeleteDC(hdc), 0);

  const std::vector<BYTE> job = ReadFile(path);
  const auto pages = SplitJob(job);
  ASSERT_EQ(pages.size(), 3u);
  const std::uint32_t size = 54 + 896 * kHeight;  // rows of 3 x 298 bytes padded to 896
  EXPECT_EQ(job.size(), 3u * size);
  EXPECT_EQ(Le32(job, size + 2), size);  // the second file begins at the first's bfSize
  for (int page = 0; page < 3; ++page) {
    const auto& file = pages[page];
    SCOPED_TRACE(page);
    EXPECT_EQ(Le32(file, 2), size);
    EXPECT_EQ(file[28], 24);
    EXPECT_EQ(PixelOf(file, 100, 10 + page), (std::vector<BYTE>{0, 0, 255}));  // red line
    EXPECT_EQ(PixelOf(file, 100, 13 + page), (std::vector<BYTE>{255, 255, 255}));
    EXPECT_EQ(PixelOf(file, 53, 97), (std::vector<BYTE>{255, 0, 0}));  // blue glyph
    EXPECT_EQ(PixelOf(file, 110, 210), (std::vector<BYTE>{0, 255, 0}));
    EXPECT_EQ(PixelOf(file, 125, 210), (std::vector<BYTE>{255, 255, 255}));
    // The previous page's line does not survive into this one.
    if (page > 0) {
      EXPECT_EQ(PixelOf(file, 100, 9 + page), (std::vector<BYTE>{255, 255, 255}));
    }
  }
}

TEST_F(PrintJob, GreyPagesShareTheirColourTableAcrossDocuments) {
  HDC hdc = CreateDC(DevMode(70, 72, DMCOLOR_MONOCHROME));
  ASSERT_NE(hdc, nullptr);
  std::vector<std::vector<BYTE>> pages;
  for (const char* name : {"first.bmp", "second.bmp"}) {
    const std::string path = StartJob(hdc, name);
    DrawPage(hdc, 0);
    DrawPage(hdc, 1);
    ASSERT_EQ(EndDoc(hdc), 1);
    for (auto& page : SplitJob(ReadFile(path))) pages.push_back(std::move(page));
  }
  ASSERT_NE(DeleteDC(hdc), 0);
  ASSERT_EQ(pages.size(), 4u);
  for (const auto& file : pages) {
    EXPECT_EQ(file.size(), 1078u + 300 * kHeight);
    EXPECT_TRUE(std::equal(file.begin() + 54, file.begin() + 1078, pages[0].begin() + 54));
    EXPECT_EQ(PixelOf(file, 100, 11), (std::vector<BYTE>{77}));  // red as grey
    EXPECT_EQ(PixelOf(file, 110, 210), (std::vector<BYTE>{149}));
  }
  EXPECT_EQ(pages[0][54 + 4 * 200], 200);  // entry 200 is grey 200
}

TEST_F(PrintJob, APageTheSpoolerRefusesIsLeftOut) {
  HDC hdc = CreateDC(DevMode(70, 72));
  ASSERT_NE(hdc, nullptr);
  const std::string path = StartJob(hdc);
  DrawPage(hdc, 0);
  ASSERT_EQ(StartPage(hdc), 1);
  PlatformFailNthWritePrinter(1);
  EXPECT_EQ(EndPage(hdc), SP_ERROR);
  EXPECT_EQ(GetLastError(), ERROR_WRITE_FAULT);
  DrawPage(hdc, 2);
  ASSERT_EQ(EndDoc(hdc), 1);
  ASSERT_NE(DeleteDC(hdc), 0);
  const auto pages = SplitJob(ReadFile(path));
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(PixelOf(pages[1], 100, 12), (std::vector<BYTE>{0, 0, 255}));
}

TEST_F(PrintJob, NothingLeftBehind) {
  const long live = PlatformLiveLocalBlocks();
  HDC hdc = CreateDC(DevMode(70, 72));
  ASSERT_NE(hdc, nullptr);
  StartJob(hdc);
  DrawPage(hdc, 0);
  ASSERT_EQ(EndDoc(hdc), 1);
  ASSERT_NE(DeleteDC(hdc), 0);
  EXPECT_EQ(PlatformLiveLocalBlocks(), live);
}

}  // namespace
