#include "uDocument.h"

#include <jpeglib.h>
#include <png.h>
#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-image.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "uCommandLine.h"
#include "uFont.h"

namespace host {

namespace {

LONG Round(double value) { return static_cast<LONG>(std::lround(value)); }

// ---- Reading files ----

std::string ReadHead(const std::string& path, std::size_t bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw TCommandError("cannot read '" + path + "': " + std::strerror(errno));
  }
  std::string head(bytes, '\0');
  in.read(head.data(), static_cast<std::streamsize>(bytes));
  head.resize(static_cast<std::size_t>(in.gcount()));
  return head;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TCommandError("cannot read '" + path + "': " + std::strerror(errno));
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool LooksLikeText(const std::string& head) {
  for (unsigned char c : head) {
    if (c == 0) return false;
    if (c < 0x20 && c != '\n' && c != '\r' && c != '\t' && c != '\f' && c != 0x1B) return false;
  }
  return true;
}

void LoadPng(const std::string& path, TImage& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) {
    throw TCommandError("'" + path + "' is not a readable PNG image: " + png.message);
  }
  png.format = PNG_FORMAT_BGRA;
  image.Width = static_cast<LONG>(png.width);
  image.Height = static_cast<LONG>(png.height);
  image.Pixels.resize(PNG_IMAGE_SIZE(png));
  // Transparent parts print as white paper.
  png_color white{255, 255, 255};
  if (!png_image_finish_read(&png, &white, image.Pixels.data(), 0, nullptr)) {
    const std::string why = png.message;
    png_image_free(&png);
    throw TCommandError("'" + path + "' is a damaged PNG image: " + why);
  }
}

struct TJpegError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegFailed(j_common_ptr info) {
  auto* error = reinterpret_cast<TJpegError*>(info->err);
  (*info->err->format_message)(info, error->Message);
  std::longjmp(error->Jump, 1);
}

// libjpeg reports errors by longjmp; nothing with a destructor is created
// between the setjmp and the reads.
bool DecodeJpeg(FILE* file, TImage& image, TJpegError& error) {
  jpeg_decompress_struct info{};
  info.err = jpeg_std_error(&error.Manager);
  error.Manager.error_exit = JpegFailed;
  if (setjmp(error.Jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_BGRX;
  jpeg_start_decompress(&info);
  image.Width = static_cast<LONG>(info.output_width);
  image.Height = static_cast<LONG>(info.output_height);
  image.Pixels.resize(static_cast<std::size_t>(image.Width) * image.Height * 4);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row =
        image.Pixels.data() + static_cast<std::size_t>(info.output_scanline) * image.Width * 4;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

void LoadJpeg(const std::string& path, TImage& image) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw TCommandError("cannot read '" + path + "': " + std::strerror(errno));
  TJpegError error{};
  const bool ok = DecodeJpeg(file, image, error);
  std::fclose(file);
  if (!ok) throw TCommandError("'" + path + "' is a damaged JPEG image: " + error.Message);
}

// ---- Drawing helpers ----

BITMAPINFO TopDownInfo(LONG width, LONG height, WORD bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = bits;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

void Check(bool ok, const char* what) {
  if (!ok) throw TCommandError(std::string("drawing failed: ") + what);
}

// The largest rectangle of the given physical aspect that fits the page,
// centred; sizes in device pixels.
struct TFit {
  LONG X, Y, Width, Height;
};

TFit FitOnPage(double widthInches, double heightInches, const TPageGeometry& page) {
  const double scale =
      std::min(page.Width / (widthInches * page.DpiX), page.Height / (heightInches * page.DpiY));
  TFit fit{};
  fit.Width = std::max<LONG>(1, Round(widthInches * scale * page.DpiX));
  fit.Height = std::max<LONG>(1, Round(heightInches * scale * page.DpiY));
  fit.Width = std::min(fit.Width, page.Width);
  fit.Height = std::min(fit.Height, page.Height);
  fit.X = (page.Width - fit.Width) / 2;
  fit.Y = (page.Height - fit.Height) / 2;
  return fit;
}

void DrawPdfPage(HDC hdc, const TDocument& document, int index, const TPageGeometry& page) {
  std::unique_ptr<poppler::page> pdfPage(document.Pdf->create_page(index));
  if (!pdfPage)
    throw TCommandError("'" + document.Path + "': page " + std::to_string(index + 1) +
                        " cannot be read");
  poppler::rectf box = pdfPage->page_rect(poppler::media_box);
  double width = box.width(), height = box.height();
  const auto orientation = pdfPage->orientation();
  if (orientation == poppler::page::landscape || orientation == poppler::page::seascape) {
    std::swap(width, height);
  }
  if (width <= 0 || height <= 0) return;  // nothing to draw
  const TFit fit = FitOnPage(width / 72.0, height / 72.0, page);
  const double xres = 72.0 * fit.Width / width;
  const double yres = 72.0 * fit.Height / height;
  poppler::page_renderer renderer;
  renderer.set_render_hints(poppler::page_renderer::antialiasing |
                            poppler::page_renderer::text_antialiasing);
  // Blue-green-red rows padded to 4 bytes: a 24-bit DIB as it stands, and
  // poppler's fastest way out.
  renderer.set_image_format(poppler::image::format_bgr24);
  renderer.set_paper_color(0xFFFFFFFF);
  // Band by band: only one band of the page is ever held beside the surface.
  for (LONG top = 0; top < fit.Height; top += kPdfBandRows) {
    const LONG rows = std::min(kPdfBandRows, fit.Height - top);
    poppler::image band = renderer.render_page(pdfPage.get(), xres, yres, 0, top, fit.Width, rows);
    if (!band.is_valid() || band.width() != fit.Width || band.height() != rows ||
        band.bytes_per_row() != ((fit.Width * 3 + 3) & ~3)) {
      throw TCommandError("'" + document.Path + "': page " + std::to_string(index + 1) +
                          " cannot be rendered");
    }
    const BITMAPINFO info = TopDownInfo(fit.Width, rows, 24);
    Check(StretchDIBits(hdc, fit.X, fit.Y + top, fit.Width, rows, 0, 0, fit.Width, rows,
                        band.const_data(), &info, DIB_RGB_COLORS, SRCCOPY) != 0,
          "StretchDIBits");
  }
}

void DrawImagePage(HDC hdc, const TDocument& document, const TPageGeometry& page) {
  const TImage& image = document.Image;
  // Image pixels are taken as square.
  const TFit fit = FitOnPage(image.Width / 96.0, image.Height / 96.0, page);
  const BITMAPINFO info = TopDownInfo(image.Width, image.Height, 32);
  Check(StretchDIBits(hdc, fit.X, fit.Y, fit.Width, fit.Height, 0, 0, image.Width, image.Height,
                      image.Pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY) != 0,
        "StretchDIBits");
}

LONG PointsToPixels(double points, LONG dpi) {
  return std::max<LONG>(1, Round(points * dpi / 72.0));
}
LONG MmToPixels(double mm, LONG dpi) { return Round(mm * dpi / 25.4); }

constexpr double kTextPoints = 10.0;
constexpr double kTextMarginMm = 12.7;

void DrawTextPage(HDC hdc, const TDocument& document, int index, const TPageGeometry& page) {
  TFont& font = *document.Font;  // opened once, with its glyphs, by LayoutDocument
  const LONG left = MmToPixels(kTextMarginMm, page.DpiX);
  LONG baseline = MmToPixels(kTextMarginMm, page.DpiY) + font.Ascender;
  for (const std::u32string& line : document.TextPages[static_cast<std::size_t>(index)]) {
    if (!line.empty()) DrawText(hdc, font, left, baseline, line, RGB(0, 0, 0));
    baseline += font.LineHeight;
  }
}

struct TPen {
  HPEN Pen;
  HGDIOBJ Previous;
  HDC Dc;
  TPen(HDC hdc, INT width, COLORREF color)
      : Pen(CreatePen(PS_SOLID, width, color)), Previous(SelectObject(hdc, Pen)), Dc(hdc) {}
  ~TPen() {
    SelectObject(Dc, Previous);
    DeleteObject(Pen);
  }
};

void Line(HDC hdc, LONG x0, LONG y0, LONG x1, LONG y1) {
  Check(MoveToEx(hdc, x0, y0, nullptr) && LineTo(hdc, x1, y1), "LineTo");
}

// The test page: the settings in force as text, a millimetre grid drawn as
// lines, and colour and grey ramps drawn as a bitmap, so all three drawing
// calls the driver hooks are used.
void DrawTestPage(HDC hdc, const TPageGeometry& page) {
  const LONG left = MmToPixels(20, page.DpiX);
  TFont title;
  OpenFont(title, PointsToPixels(20, page.DpiY));
  LONG y = MmToPixels(15, page.DpiY) + title.Ascender;
  DrawText(hdc, title, left, y, U"Pixmor test page", RGB(0, 0, 0));
  TFont body;
  OpenFont(body, PointsToPixels(10, page.DpiY));
  y += title.LineHeight;
  std::size_t start = 0;
  while (start < page.Settings.size()) {
    std::size_t end = page.Settings.find('\n', start);
    if (end == std::string::npos) end = page.Settings.size();
    DrawText(hdc, body, left, y, Utf32(page.Settings.substr(start, end - start)), RGB(0, 0, 0));
    y += body.LineHeight;
    start = end + 1;
  }
  y += body.LineHeight;
  DrawText(hdc, body, left, y, U"Ramps: red, green, blue and grey in 256 steps.", RGB(0, 0, 0));
  y += body.LineHeight / 2;

  // Ramps: red, green, blue and grey, 256 steps each, as one bitmap.
  std::vector<BYTE> ramp(256 * 4 * 4);
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<BYTE>(i);
    const BYTE rows[4][3] = {{0, 0, v}, {0, v, 0}, {v, 0, 0}, {v, v, v}};  // blue, green, red
    for (int r = 0; r < 4; ++r) {
      BYTE* pixel = &ramp[(static_cast<std::size_t>(r) * 256 + i) * 4];
      pixel[0] = rows[r][0];
      pixel[1] = rows[r][1];
      pixel[2] = rows[r][2];
    }
  }
  const LONG rampW = std::max<LONG>(1, std::min(page.Width - 2 * left, MmToPixels(160, page.DpiX)));
  const LONG rampH = std::max<LONG>(4, MmToPixels(32, page.DpiY));
  const BITMAPINFO info = TopDownInfo(256, 4, 32);
  Check(StretchDIBits(hdc, left, y, rampW, rampH, 0, 0, 256, 4, ramp.data(), &info, DIB_RGB_COLORS,
                      SRCCOPY) != 0,
        "StretchDIBits");
  y += rampH + MmToPixels(6, page.DpiY) + body.Ascender;
  DrawText(hdc, body, left, y, U"Grid: fine lines every millimetre, bold lines every 10 mm.",
           RGB(0, 0, 0));

  // The millimetre grid fills the rest of the page, 10 mm from its edges.
  const int topMm =
      static_cast<int>(std::ceil((y + body.LineHeight) * 25.4 / page.DpiY / 10.0)) * 10;
  const LONG top = MmToPixels(topMm, page.DpiY);
  const LONG gridLeft = MmToPixels(10, page.DpiX);
  const int rightMm = static_cast<int>((page.Width * 25.4 / page.DpiX - 10) / 10) * 10;
  const int bottomMm = static_cast<int>((page.Height * 25.4 / page.DpiY - 10) / 10) * 10;
  if (rightMm <= 10 || bottomMm <= topMm) return;  // a page too small for a grid
  const LONG right = MmToPixels(rightMm, page.DpiX), bottom = MmToPixels(bottomMm, page.DpiY);
  for (int pass = 0; pass < 2; ++pass) {
    const bool bold = pass == 1;
    TPen pen(hdc, bold ? std::max<INT>(1, MmToPixels(0.3, page.DpiX)) : 1,
             bold ? RGB(40, 60, 140) : RGB(190, 200, 230));
    for (int mm = 10; mm <= rightMm; ++mm) {
      if ((mm % 10 == 0) == bold)
        Line(hdc, MmToPixels(mm, page.DpiX), top, MmToPixels(mm, page.DpiX), bottom);
    }
    for (int mm = topMm; mm <= bottomMm; ++mm) {
      if ((mm % 10 == 0) == bold)
        Line(hdc, gridLeft, MmToPixels(mm, page.DpiY), right, MmToPixels(mm, page.DpiY));
    }
  }
}

}  // namespace

TDocument LoadDocument(const std::string& path) {
  TDocument document;
  document.Path = path;
  const std::string head = ReadHead(path, 4096);
  if (head.rfind("%PDF-", 0) == 0) {
    document.Kind = EDocumentKind::Pdf;
    // poppler's own complaints would only repeat the error reported below.
    poppler::set_debug_error_function([](const std::string&, void*) {}, nullptr);
    document.Pdf.reset(poppler::document::load_from_file(path));
    if (!document.Pdf) throw TCommandError("'" + path + "' is a damaged PDF file");
    if (document.Pdf->is_locked())
      throw TCommandError("'" + path + "' is a PDF file locked with a password");
    document.PageCount = document.Pdf->pages();
    if (document.PageCount <= 0) throw TCommandError("'" + path + "' is a PDF file without pages");
    for (int i = 0; i < document.PageCount; ++i) {
      std::unique_ptr<poppler::page> page(document.Pdf->create_page(i));
      if (!page)
        throw TCommandError("'" + path + "': page " + std::to_string(i + 1) + " is damaged");
    }
  } else if (head.rfind("\x89PNG\r\n\x1a\n", 0) == 0) {
    document.Kind = EDocumentKind::Image;
    LoadPng(path, document.Image);
    document.PageCount = 1;
  } else if (head.size() >= 3 && static_cast<unsigned char>(head[0]) == 0xFF &&
             static_cast<unsigned char>(head[1]) == 0xD8 &&
             static_cast<unsigned char>(head[2]) == 0xFF) {
    document.Kind = EDocumentKind::Image;
    LoadJpeg(path, document.Image);
    document.PageCount = 1;
  } else if (LooksLikeText(head)) {
    document.Kind = EDocumentKind::Text;
    document.Text = ReadAll(path);
  } else {
    throw TCommandError("'" + path + "' is neither PDF, PNG, JPEG nor plain text");
  }
  if (document.Kind == EDocumentKind::Image &&
      (document.Image.Width <= 0 || document.Image.Height <= 0)) {
    throw TCommandError("'" + path + "' is an empty image");
  }
  return document;
}

TDocument TestPageDocument() {
  TDocument document;
  document.Kind = EDocumentKind::TestPage;
  document.Path = "test page";
  document.PageCount = 1;
  return document;
}

void LayoutDocument(TDocument& document, const TPageGeometry& page) {
  if (document.Kind != EDocumentKind::Text) return;
  document.Font = std::make_shared<TFont>();
  TFont& font = *document.Font;
  OpenFont(font, PointsToPixels(kTextPoints, page.DpiY));
  const LONG usableWidth = page.Width - 2 * MmToPixels(kTextMarginMm, page.DpiX);
  const LONG usableHeight = page.Height - 2 * MmToPixels(kTextMarginMm, page.DpiY);
  const std::size_t columns =
      static_cast<std::size_t>(std::max<LONG>(1, usableWidth / font.Advance));
  const std::size_t rows =
      static_cast<std::size_t>(std::max<LONG>(1, usableHeight / font.LineHeight));
  document.TextPages.assign(1, {});
  std::u32string line;
  auto endLine = [&] {
    if (document.TextPages.back().size() == rows) document.TextPages.emplace_back();
    document.TextPages.back().push_back(line);
    line.clear();
  };
  for (char32_t c : Utf32(document.Text)) {
    if (c == U'\r') continue;
    if (c == U'\n') {
      endLine();
    } else if (c == U'\f') {
      if (!line.empty()) endLine();
      document.TextPages.emplace_back();
    } else {
      if (c == U'\t') {
        line.append(8 - line.size() % 8, U' ');
      } else {
        line.push_back(c < 0x20 ? U'?' : c);
      }
      while (line.size() > columns) {  // long lines wrap
        std::u32string rest = line.substr(columns);
        line.resize(columns);
        endLine();
        line = std::move(rest);
      }
    }
  }
  if (!line.empty()) endLine();
  // A form feed at the very end does not make an empty last page.
  if (document.TextPages.size() > 1 && document.TextPages.back().empty())
    document.TextPages.pop_back();
  document.PageCount = static_cast<int>(document.TextPages.size());
}

void DrawDocumentPage(HDC hdc, const TDocument& document, int index, const TPageGeometry& page) {
  switch (document.Kind) {
    case EDocumentKind::Pdf:
      DrawPdfPage(hdc, document, index, page);
      break;
    case EDocumentKind::Image:
      DrawImagePage(hdc, document, page);
      break;
    case EDocumentKind::Text:
      DrawTextPage(hdc, document, index, page);
      break;
    case EDocumentKind::TestPage:
      DrawTestPage(hdc, page);
      break;
  }
}

}  // namespace host
