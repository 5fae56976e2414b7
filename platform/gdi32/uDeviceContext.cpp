// The device-context front: drives a printer driver through the published
// call order (enable, documents, pages, disable) and routes drawing to the
// driver's hooked entry points, or straight to the engine where the driver
// did not hook a call. One DC is one device; its HDC is also its HDEV.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "uEngObjects.h"
#include "uSpoolerClient.h"

namespace gdi {

namespace {

struct TPen {
  COLORREF Colour;
  LONG Width;
};

struct TDeviceContext {
  TDeviceLink Link;  // what EngAssociateSurface reads
  HMODULE Driver = nullptr;
  HANDLE Printer = nullptr;
  PFN Functions[64] = {};
  GDIINFO Info{};
  DEVINFO DevInfo{};
  HSURF Surface = nullptr;
  bool InDoc = false;
  bool Enabled = false;  // DrvEnablePDEV succeeded
  TPen* Pen = nullptr;
  POINTL Position{0, 0};
};

TRegistry<TDeviceContext>& Contexts() {
  static auto* registry = new TRegistry<TDeviceContext>;
  return *registry;
}
TRegistry<TPen>& Pens() {
  static auto* registry = new TRegistry<TPen>;
  return *registry;
}

TPen StockPen{RGB(0, 0, 0), 1};

template <class Fn>
Fn DriverFn(const TDeviceContext& dc, ULONG index) {
  if (index >= std::size(dc.Functions)) return nullptr;
  Fn fn{};
  static_assert(sizeof(fn) == sizeof(PFN));
  std::memcpy(&fn, &dc.Functions[index], sizeof fn);
  return fn;
}

TDeviceContext* ContextOf(HDC hdc) { return Contexts().Find(hdc); }

TSurface* SurfaceOf(TDeviceContext& dc) { return Surfaces().Find(dc.Surface); }

// Ends the device in the published order, as far as it got.
void Disable(TDeviceContext& dc) {
  if (dc.Surface != nullptr) {
    if (auto fn = DriverFn<PFN_DrvDisableSurface>(dc, INDEX_DrvDisableSurface)) {
      fn(dc.Link.dhpdev);
    }
    // A surface the driver left behind goes with the device.
    if (Surfaces().Find(dc.Surface) != nullptr) EngDeleteSurface(dc.Surface);
    dc.Surface = nullptr;
  }
  if (dc.Enabled) {
    if (auto fn = DriverFn<PFN_DrvDisablePDEV>(dc, INDEX_DrvDisablePDEV)) fn(dc.Link.dhpdev);
    dc.Enabled = false;
  }
  if (dc.Driver != nullptr) {
    if (auto fn = DriverFn<PFN_DrvDisableDriver>(dc, INDEX_DrvDisableDriver)) fn();
    FreeLibrary(dc.Driver);
    dc.Driver = nullptr;
  }
  if (dc.Printer != nullptr) {
    ClosePrinter(dc.Printer);
    dc.Printer = nullptr;
  }
}

void Destroy(TDeviceContext* dc) {
  Contexts().Remove(dc);
  Disable(*dc);
  delete dc;
}

ULONG DeviceColour(TDeviceContext& dc, COLORREF colour) {
  const TSurface* surface = SurfaceOf(dc);
  return DeviceOfRgb(RgbOfColorRef(colour), surface->so.iBitmapFormat, surface->Palette);
}

CLIPOBJ PageClip(const SURFOBJ& so) {
  CLIPOBJ clip{};
  clip.iDComplexity = DC_RECT;
  clip.rclBounds = RECTL{0, 0, so.sizlBitmap.cx, so.sizlBitmap.cy};
  return clip;
}

constexpr MIX CopyPen = 0x0D0D;  // R2_COPYPEN for foreground and background

BOOL Stroke(TDeviceContext& dc, const POINTL* points, std::size_t count) {
  TSurface* surface = SurfaceOf(dc);
  if (surface == nullptr) return kFalse;
  TPath path{};
  path.Points.assign(points, points + count);
  path.po.cCurves = static_cast<ULONG>(count > 0 ? count - 1 : 0);
  LINEATTRS attrs{};
  BRUSHOBJ brush{};
  const TPen& pen = dc.Pen != nullptr ? *dc.Pen : StockPen;
  if (pen.Width > 1) {
    attrs.fl = LA_GEOMETRIC;
    attrs.elWidth.e = static_cast<FLOATL>(pen.Width);
  } else {
    attrs.elWidth.l = 1;
  }
  brush.iSolidColor = DeviceColour(dc, pen.Colour);
  CLIPOBJ clip = PageClip(surface->so);
  POINTL brushOrigin{0, 0};
  Paths().Add(&path);
  BOOL done = kFalse;
  if ((surface->Hooks & HOOK_STROKEPATH) != 0) {
    if (auto fn = DriverFn<PFN_DrvStrokePath>(dc, INDEX_DrvStrokePath)) {
      done = fn(&surface->so, &path.po, &clip, nullptr, &brush, &brushOrigin, &attrs, CopyPen);
    }
  } else {
    done = EngStrokePath(&surface->so, &path.po, &clip, nullptr, &brush, &brushOrigin, &attrs,
                         CopyPen);
  }
  Paths().Remove(&path);
  return done != 0 ? kTrue : kFalse;
}

struct TEngineBitmap {
  HBITMAP Handle = nullptr;
  ~TEngineBitmap() {
    if (Handle != nullptr) EngDeleteSurface(reinterpret_cast<HSURF>(Handle));
  }
};

struct TEnginePalette {
  HPALETTE Handle = nullptr;
  ~TEnginePalette() {
    if (Handle != nullptr) EngDeletePalette(Handle);
  }
};

}  // namespace

TDeviceLink* FindDevice(HDEV hdev) {
  TDeviceContext* dc = Contexts().Find(hdev);
  return dc == nullptr ? nullptr : &dc->Link;
}

}  // namespace gdi

using namespace gdi;

extern "C" {

PIXMOR_EXPORT HDC WINAPI CreateDCW(LPCWSTR pwszDriver, LPCWSTR pwszDevice, LPCWSTR,
                                   const DEVMODEW* pdm) {
  if (pwszDriver == nullptr || pwszDevice == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto* dc = new (std::nothrow) TDeviceContext;
  if (dc == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Contexts().Add(dc);
  std::u16string device(pwszDevice);
  if (OpenPrinterW(device.data(), &dc->Printer, nullptr) == 0) {
    dc->Printer = nullptr;
    Destroy(dc);
    return nullptr;
  }
  DEVMODEW defaults{};
  if (pdm == nullptr && DocumentPropertiesW(nullptr, dc->Printer, device.data(), &defaults, nullptr,
                                            DM_OUT_BUFFER) > 0) {
    pdm = &defaults;  // the printer's document defaults
  }
  dc->Driver = LoadLibraryW(pwszDriver);
  PFN_DrvEnableDriver enable = nullptr;
  if (dc->Driver != nullptr) {
    const FARPROC proc = GetProcAddress(dc->Driver, "DrvEnableDriver");
    static_assert(sizeof(proc) == sizeof(enable));
    std::memcpy(&enable, &proc, sizeof enable);
  }
  DRVENABLEDATA table{};
  if (enable == nullptr ||
      enable(DDI_DRIVER_VERSION_NT5_01_SP1, sizeof(DRVENABLEDATA), &table) == 0) {
    if (dc->Driver != nullptr && enable == nullptr) SetLastError(ERROR_PROC_NOT_FOUND);
    FreeLibrary(dc->Driver);
    dc->Driver = nullptr;
    Destroy(dc);
    return nullptr;
  }
  for (ULONG i = 0; i < table.c; ++i) {
    if (table.pdrvfn[i].iFunc < std::size(dc->Functions)) {
      dc->Functions[table.pdrvfn[i].iFunc] = table.pdrvfn[i].pfn;
    }
  }
  const auto enablePDev = DriverFn<PFN_DrvEnablePDEV>(*dc, INDEX_DrvEnablePDEV);
  const auto completePDev = DriverFn<PFN_DrvCompletePDEV>(*dc, INDEX_DrvCompletePDEV);
  const auto enableSurface = DriverFn<PFN_DrvEnableSurface>(*dc, INDEX_DrvEnableSurface);
  if (enablePDev == nullptr || completePDev == nullptr || enableSurface == nullptr) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    Destroy(dc);
    return nullptr;
  }
  const auto hdev = reinterpret_cast<HDEV>(dc);
  DEVMODEW devMode{};
  if (pdm != nullptr) devMode = *pdm;  // the driver may not write the caller's record
  dc->Link.dhpdev =
      enablePDev(pdm != nullptr ? &devMode : nullptr, nullptr, 0, nullptr, sizeof(GDIINFO),
                 &dc->Info, sizeof(DEVINFO), &dc->DevInfo, hdev, device.data(), dc->Printer);
  if (dc->Link.dhpdev == nullptr) {
    Destroy(dc);
    return nullptr;
  }
  dc->Enabled = true;
  dc->Link.Palette = dc->DevInfo.hpalDefault;
  completePDev(dc->Link.dhpdev, hdev);
  dc->Surface = enableSurface(dc->Link.dhpdev);
  TSurface* surface = Surfaces().Find(dc->Surface);
  if (surface == nullptr) {
    Destroy(dc);
    return nullptr;
  }
  if (surface->so.hdev != hdev) EngAssociateSurface(dc->Surface, hdev, 0);  // draw unhooked
  return reinterpret_cast<HDC>(dc);
}

PIXMOR_EXPORT BOOL WINAPI DeleteDC(HDC hdc) {
  TDeviceContext* dc = ContextOf(hdc);
  if (dc == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return kFalse;
  }
  if (dc->InDoc) AbortDoc(hdc);
  Destroy(dc);
  return kTrue;
}

PIXMOR_EXPORT INT WINAPI GetDeviceCaps(HDC hdc, INT index) {
  const TDeviceContext* dc = ContextOf(hdc);
  if (dc == nullptr) return 0;
  const GDIINFO& gi = dc->Info;
  switch (index) {
    case TECHNOLOGY:
      return static_cast<INT>(gi.ulTechnology);
    case HORZSIZE:
      return static_cast<INT>(gi.ulHorzSize);
    case VERTSIZE:
      return static_cast<INT>(gi.ulVertSize);
    case HORZRES:
      return static_cast<INT>(gi.ulHorzRes);
    case VERTRES:
      return static_cast<INT>(gi.ulVertRes);
    case BITSPIXEL:
      return static_cast<INT>(gi.cBitsPixel);
    case PLANES:
      return static_cast<INT>(gi.cPlanes);
    case NUMCOLORS:
      return gi.ulNumColors != 0 ? static_cast<INT>(gi.ulNumColors) : -1;
    case LOGPIXELSX:
      return static_cast<INT>(gi.ulLogPixelsX);
    case LOGPIXELSY:
      return static_cast<INT>(gi.ulLogPixelsY);
    case PHYSICALWIDTH:
      return gi.szlPhysSize.cx;
    case PHYSICALHEIGHT:
      return gi.szlPhysSize.cy;
    case PHYSICALOFFSETX:
      return gi.ptlPhysOffset.x;
    case PHYSICALOFFSETY:
      return gi.ptlPhysOffset.y;
    default:
      return 0;
  }
}

PIXMOR_EXPORT INT WINAPI StartDocW(HDC hdc, const DOCINFOW* pdi) {
  TDeviceContext* dc = ContextOf(hdc);
  if (dc == nullptr || pdi == nullptr || dc->InDoc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return SP_ERROR;
  }
  std::u16string name(pdi->lpszDocName != nullptr ? pdi->lpszDocName : u"");
  std::u16string output(pdi->lpszOutput != nullptr ? pdi->lpszOutput : u"");
  DOC_INFO_1W info{name.data(), output.empty() ? nullptr : output.data(), nullptr};
  const DWORD job = StartDocPrinterW(dc->Printer, 1, reinterpret_cast<LPBYTE>(&info));
  if (job == 0) return SP_ERROR;
  TSurface* surface = SurfaceOf(*dc);
  if (auto fn = DriverFn<PFN_DrvStartDoc>(*dc, INDEX_DrvStartDoc)) {
    if (fn(&surface->so, name.data(), job) == 0) {
      AbortPrinter(dc->Printer);
      return SP_ERROR;
    }
  }
  dc->InDoc = true;
  return static_cast<INT>(job);
}

PIXMOR_EXPORT INT WINAPI StartPage(HDC hdc) {
  TDeviceContext* dc = ContextOf(hdc);
  if (dc == nullptr || !dc->InDoc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return SP_ERROR;
  }
  if (auto fn = DriverFn<PFN_DrvStartPage>(*dc, INDEX_DrvStartPage)) {
    if (fn(&SurfaceOf(*dc)->so) == 0) return SP_ERROR;
  }
  return 1;
}

PIXMOR_EXPORT INT WINAPI EndPage(HDC hdc) {
  TDeviceContext* dc = ContextOf(hdc);
  if (dc == nullptr || !dc->InDoc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return SP_ERROR;
  }
  if (auto fn = DriverFn<PFN_DrvSendPage>(*dc, INDEX_DrvSendPage)) {
    if (fn(&SurfaceOf(*dc)->so) == 0) return SP_ERROR;
  }
  return 1;
}

PIXMOR_EXPORT INT WINAPI EndDoc(HDC hdc) {
  TDeviceContext* dc = ContextOf(hdc);
  if (dc == nullptr || !dc->InDoc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return SP_ERROR;
  }
  dc->InDoc = false;
  bool ended = true;
  if (auto fn = DriverFn<PFN_DrvEndDoc>(*dc, INDEX_DrvEndDoc)) {
    ended = fn(&SurfaceOf(*dc)->so, 0) != 0;
  }
  if (!ended) {
    AbortPrinter(dc->Printer);
    return SP_ERROR;
  }
  return EndDocPrinterW(dc->Printer) != 0 ? 1 : SP_ERROR;
}

PIXMOR_EXPORT INT WINAPI AbortDoc(HDC hdc) {
  TDeviceContext* dc = ContextOf(hdc);
  if (dc == nullptr || !dc->InDoc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return SP_ERROR;
  }
  dc->InDoc = false;
  if (auto fn = DriverFn<PFN_DrvEndDoc>(*dc, INDEX_DrvEndDoc)) fn(&SurfaceOf(*dc)->so, ED_ABORTDOC);
  return AbortPrinter(dc->Printer) != 0 ? 1 : SP_ERROR;
}

// ---- Pens and lines ----

PIXMOR_EXPORT HPEN WINAPI CreatePen(INT iStyle, INT cWidth, COLORREF color) {
  if (iStyle != PS_SOLID) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  auto* pen = new (std::nothrow) TPen{color & 0xFFFFFF, std::max<INT>(cWidth, 1)};
  if (pen == nullptr) return nullptr;
  Pens().Add(pen);
  return reinterpret_cast<HPEN>(pen);
}

PIXMOR_EXPORT HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
  TDeviceContext* dc = ContextOf(hdc);
  TPen* pen = Pens().Find(h);
  if (dc == nullptr || (pen == nullptr && h != reinterpret_cast<HGDIOBJ>(&StockPen))) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  TPen* previous = dc->Pen != nullptr ? dc->Pen : &StockPen;
  dc->Pen = pen;
  return reinterpret_cast<HGDIOBJ>(previous);
}

PIXMOR_EXPORT BOOL WINAPI DeleteObject(HGDIOBJ ho) {
  TPen* pen = Pens().Find(ho);
  if (pen == nullptr) return kFalse;
  Pens().Remove(pen);
  delete pen;
  return kTrue;
}

PIXMOR_EXPORT BOOL WINAPI MoveToEx(HDC hdc, INT x, INT y, POINT* lppt) {
  TDeviceContext* dc = ContextOf(hdc);
  if (dc == nullptr) return kFalse;
  if (lppt != nullptr) *lppt = POINT{dc->Position.x, dc->Position.y};
  dc->Position = POINTL{x, y};
  return kTrue;
}

PIXMOR_EXPORT BOOL WINAPI LineTo(HDC hdc, INT x, INT y) {
  TDeviceContext* dc = ContextOf(hdc);
  if (dc == nullptr) return kFalse;
  const POINTL points[2] = {dc->Position, POINTL{x, y}};
  dc->Position = points[1];
  return Stroke(*dc, points, 2);
}

PIXMOR_EXPORT BOOL WINAPI Polyline(HDC hdc, const POINT* apt, INT cpt) {
  TDeviceContext* dc = ContextOf(hdc);
  if (dc == nullptr || apt == nullptr || cpt < 2) return kFalse;
  std::vector<POINTL> points(static_cast<std::size_t>(cpt));
  for (INT i = 0; i < cpt; ++i) points[i] = POINTL{apt[i].x, apt[i].y};
  return Stroke(*dc, points.data(), points.size());
}

// ---- Text ----

PIXMOR_EXPORT BOOL WINAPI PlatformGlyphTextOut(HDC hdc, const PLATFORM_GLYPH* pGlyphs,
                                               ULONG cGlyphs, COLORREF color) {
  TDeviceContext* dc = ContextOf(hdc);
  TSurface* surface = dc != nullptr ? SurfaceOf(*dc) : nullptr;
  if (surface == nullptr || (pGlyphs == nullptr && cGlyphs != 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return kFalse;
  }
  // Each glyph becomes a GLYPHBITS (header, then byte-aligned rows) in one
  // block; offsets are kept aligned for the header's fields.
  std::vector<std::size_t> offsets(cGlyphs);
  std::size_t total = 0;
  for (ULONG i = 0; i < cGlyphs; ++i) {
    const PLATFORM_GLYPH& g = pGlyphs[i];
    if (g.sizlBitmap.cx < 0 || g.sizlBitmap.cy < 0 ||
        (g.pjBits == nullptr && g.sizlBitmap.cx && g.sizlBitmap.cy)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return kFalse;
    }
    offsets[i] = total;
    const std::size_t bits = (static_cast<std::size_t>(g.sizlBitmap.cx) + 7) / 8 *
                             static_cast<std::size_t>(g.sizlBitmap.cy);
    total += (offsetof(GLYPHBITS, aj) + std::max<std::size_t>(bits, 1) + 7) & ~std::size_t{7};
  }
  std::vector<std::uint64_t> storage((total + 7) / 8 + 1);
  auto* base = reinterpret_cast<BYTE*>(storage.data());
  std::vector<GLYPHDEF> defs(cGlyphs);
  std::vector<GLYPHPOS> positions(cGlyphs);
  RECTL box{0, 0, 0, 0};
  for (ULONG i = 0; i < cGlyphs; ++i) {
    const PLATFORM_GLYPH& g = pGlyphs[i];
    auto* gb = reinterpret_cast<GLYPHBITS*>(base + offsets[i]);
    gb->ptlOrigin = g.ptlBitmapOffset;
    gb->sizlBitmap = g.sizlBitmap;
    const std::size_t bits = (static_cast<std::size_t>(g.sizlBitmap.cx) + 7) / 8 *
                             static_cast<std::size_t>(g.sizlBitmap.cy);
    if (bits != 0) std::memcpy(gb->aj, g.pjBits, bits);
    defs[i].pgb = gb;
    positions[i] = GLYPHPOS{i, &defs[i], g.ptlOrigin};
    const RECTL r{g.ptlOrigin.x + g.ptlBitmapOffset.x, g.ptlOrigin.y + g.ptlBitmapOffset.y,
                  g.ptlOrigin.x + g.ptlBitmapOffset.x + g.sizlBitmap.cx,
                  g.ptlOrigin.y + g.ptlBitmapOffset.y + g.sizlBitmap.cy};
    box = i == 0 ? r
                 : RECTL{std::min(box.left, r.left), std::min(box.top, r.top),
                         std::max(box.right, r.right), std::max(box.bottom, r.bottom)};
  }
  STROBJ text{};
  text.cGlyphs = cGlyphs;
  text.rclBkGround = box;
  text.pgp = positions.data();
  FONTOBJ font{};
  font.sizLogResPpi =
      SIZE{static_cast<LONG>(dc->Info.ulLogPixelsX), static_cast<LONG>(dc->Info.ulLogPixelsY)};
  BRUSHOBJ fore{};
  fore.iSolidColor = DeviceColour(*dc, color);
  CLIPOBJ clip = PageClip(surface->so);
  POINTL origin{0, 0};
  if ((surface->Hooks & HOOK_TEXTOUT) != 0) {
    const auto fn = DriverFn<PFN_DrvTextOut>(*dc, INDEX_DrvTextOut);
    return fn != nullptr && fn(&surface->so, &text, &font, &clip, nullptr, nullptr, &fore, nullptr,
                               &origin, CopyPen) != 0
               ? kTrue
               : kFalse;
  }
  return EngTextOut(&surface->so, &text, &font, &clip, nullptr, nullptr, &fore, nullptr, &origin,
                    CopyPen) != 0
             ? kTrue
             : kFalse;
}

// ---- Images ----

PIXMOR_EXPORT INT WINAPI StretchDIBits(HDC hdc, INT xDest, INT yDest, INT DestWidth, INT DestHeight,
                                       INT xSrc, INT ySrc, INT SrcWidth, INT SrcHeight,
                                       const void* lpBits, const BITMAPINFO* lpbmi, UINT iUsage,
                                       DWORD rop) {
  TDeviceContext* dc = ContextOf(hdc);
  TSurface* surface = dc != nullptr ? SurfaceOf(*dc) : nullptr;
  if (surface == nullptr || lpBits == nullptr || lpbmi == nullptr || iUsage != DIB_RGB_COLORS ||
      rop != SRCCOPY || DestWidth <= 0 || DestHeight <= 0 || SrcWidth <= 0 || SrcHeight <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const BITMAPINFOHEADER& bih = lpbmi->bmiHeader;
  const WORD bitCount = bih.biBitCount;
  if (bih.biSize < sizeof(BITMAPINFOHEADER) || bih.biPlanes != 1 || bih.biCompression != BI_RGB ||
      (bitCount != 8 && bitCount != 24 && bitCount != 32) || bih.biWidth <= 0 ||
      bih.biHeight == 0 || bih.biHeight == INT32_MIN) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::int64_t imageWidth = bih.biWidth;
  const std::int64_t imageHeight = bih.biHeight > 0 ? bih.biHeight : -std::int64_t{bih.biHeight};
  const bool bottomUp = bih.biHeight > 0;
  const int bpp = bitCount / 8;
  const std::int64_t stride = (imageWidth * bitCount + 31) / 32 * 4;
  // The source rectangle, counted from the image's top row.
  const std::int64_t srcTop =
      bottomUp ? imageHeight - std::int64_t{ySrc} - SrcHeight : std::int64_t{ySrc};
  if (xSrc < 0 || xSrc + std::int64_t{SrcWidth} > imageWidth || srcTop < 0 ||
      srcTop + SrcHeight > imageHeight) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }

  const SURFOBJ& page = surface->so;
  const RECTL dest{
      xDest, yDest,
      static_cast<LONG>(std::min<std::int64_t>(std::int64_t{xDest} + DestWidth, INT32_MAX)),
      static_cast<LONG>(std::min<std::int64_t>(std::int64_t{yDest} + DestHeight, INT32_MAX))};
  RECTL visible = dest;
  if (!Intersect(visible, RECTL{0, 0, page.sizlBitmap.cx, page.sizlBitmap.cy})) return SrcHeight;

  const ULONG format = bpp == 1 ? BMF_8BPP : bpp == 3 ? BMF_24BPP : BMF_32BPP;
  const auto* bits = static_cast<const BYTE*>(lpBits);
  const LONG width = visible.right - visible.left;
  const LONG height = visible.bottom - visible.top;
  TEngineBitmap staged;
  SURFOBJ* stage = nullptr;
  POINTL origin{0, 0};
  if (SrcWidth == DestWidth && SrcHeight == DestHeight && FastPathsOn() && stride <= INT32_MAX) {
    // Unscaled: the visible rows of the DIB itself are the source, as an
    // engine bitmap on the caller's memory (only ever read), so nothing is
    // staged. Destination pixel (x, y) reads source pixel (x - xDest + xSrc,
    // y - yDest + srcTop), as the scaled path's pixel centres give at 1:1.
    const std::int64_t firstRow = srcTop + (std::int64_t{visible.top} - yDest);
    const std::int64_t lowest = bottomUp ? imageHeight - firstRow - height : firstRow;
    staged.Handle = EngCreateBitmap(
        SIZEL{bih.biWidth, height}, static_cast<LONG>(stride), format, bottomUp ? 0 : BMF_TOPDOWN,
        const_cast<BYTE*>(bits + static_cast<std::size_t>(lowest * stride)));
    stage = EngLockSurface(reinterpret_cast<HSURF>(staged.Handle));
    origin.x = static_cast<LONG>(xSrc + (std::int64_t{visible.left} - xDest));
  }
  if (stage == nullptr) {
    // Stage the visible part of the scaled image in the DIB's own format.
    staged.Handle = EngCreateBitmap(SIZEL{width, height}, 0, format, BMF_TOPDOWN, nullptr);
    stage = EngLockSurface(reinterpret_cast<HSURF>(staged.Handle));
    if (stage == nullptr) return 0;
    std::vector<std::size_t> columns(static_cast<std::size_t>(width));
    for (LONG x = 0; x < width; ++x) {
      const std::int64_t along = std::int64_t{visible.left} - xDest + x;  // pixel centres
      columns[x] = static_cast<std::size_t>(xSrc + (2 * along + 1) * SrcWidth / (2 * DestWidth)) *
                   static_cast<std::size_t>(bpp);
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(bpp);
    std::int64_t previous = -1;
    for (LONG y = visible.top; y < visible.bottom; ++y) {
      const std::int64_t along = std::int64_t{y} - yDest;
      const std::int64_t row = srcTop + (2 * along + 1) * SrcHeight / (2 * DestHeight);
      BYTE* out = RowOf(*stage, y - visible.top);
      if (row == previous && FastPathsOn()) {  // an enlarged image repeats the row just staged
        std::memcpy(out, RowOf(*stage, y - visible.top - 1), rowBytes);
        continue;
      }
      previous = row;
      const std::int64_t stored = bottomUp ? imageHeight - 1 - row : row;
      const BYTE* in = bits + static_cast<std::size_t>(stored * stride);
      switch (bpp) {
        case 1:
          for (LONG x = 0; x < width; ++x) out[x] = in[columns[x]];
          break;
        case 3:
          for (LONG x = 0; x < width; ++x) std::memcpy(out + 3 * x, in + columns[x], 3);
          break;
        default:
          for (LONG x = 0; x < width; ++x) std::memcpy(out + 4 * x, in + columns[x], 4);
          break;
      }
    }
  }

  // Colours: an 8-bit DIB's table becomes its palette and an index table.
  TEnginePalette sourcePalette;
  TXlate xlate{};
  xlate.Dest = surface->Palette;
  if (bpp == 1) {
    const ULONG used = bih.biClrUsed == 0 ? 256 : std::min<DWORD>(bih.biClrUsed, 256);
    const auto* quads =
        reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(lpbmi) + bih.biSize);
    ULONG entries[256];
    for (ULONG i = 0; i < used; ++i) {
      entries[i] = ULONG{quads[i].rgbRed} | (ULONG{quads[i].rgbGreen} << 8) |
                   (ULONG{quads[i].rgbBlue} << 16);
    }
    sourcePalette.Handle = EngCreatePalette(PAL_INDEXED, used, entries, 0, 0, 0);
    xlate.Source = Palettes().Find(sourcePalette.Handle);
    if (xlate.Source == nullptr) return 0;
    xlate.Table.resize(used);
    for (ULONG i = 0; i < used; ++i) {
      xlate.Table[i] =
          DeviceOfRgb(RgbOfDevice(i, BMF_8BPP, xlate.Source), page.iBitmapFormat, xlate.Dest);
    }
    xlate.xo.flXlate = XO_TABLE;
    xlate.xo.iSrcType = PAL_INDEXED;
    xlate.xo.cEntries = used;
    xlate.xo.pulXlate = xlate.Table.data();
  }
  xlate.xo.iDstType = static_cast<USHORT>(xlate.Dest != nullptr ? xlate.Dest->Mode : PAL_BGR);
  CLIPOBJ clip = PageClip(page);
  Xlates().Add(&xlate);
  BOOL done = kFalse;
  if ((surface->Hooks & HOOK_COPYBITS) != 0) {
    if (auto fn = DriverFn<PFN_DrvCopyBits>(*dc, INDEX_DrvCopyBits)) {
      done = fn(&surface->so, stage, &clip, &xlate.xo, &visible, &origin);
    }
  } else {
    done = EngCopyBits(&surface->so, stage, &clip, &xlate.xo, &visible, &origin);
  }
  Xlates().Remove(&xlate);
  return done != 0 ? SrcHeight : 0;
}

// ---- For tests ----

PIXMOR_EXPORT SURFOBJ* PlatformDCSurface(HDC hdc) {
  TDeviceContext* dc = ContextOf(hdc);
  TSurface* surface = dc != nullptr ? SurfaceOf(*dc) : nullptr;
  return surface != nullptr ? &surface->so : nullptr;
}

PIXMOR_EXPORT DHPDEV PlatformDCDevice(HDC hdc) {
  const TDeviceContext* dc = ContextOf(hdc);
  return dc != nullptr ? dc->Link.dhpdev : nullptr;
}

PIXMOR_EXPORT BOOL PlatformDCDeviceInfo(HDC hdc, GDIINFO* pgi, DEVINFO* pdi) {
  const TDeviceContext* dc = ContextOf(hdc);
  if (dc == nullptr) return kFalse;
  if (pgi != nullptr) *pgi = dc->Info;
  if (pdi != nullptr) *pdi = dc->DevInfo;
  return kTrue;
}

PIXMOR_EXPORT FLONG PlatformSurfaceHooks(HSURF hsurf) {
  const TSurface* surface = Surfaces().Find(hsurf);
  return surface != nullptr ? surface->Hooks : 0;
}

}  // extern "C"
