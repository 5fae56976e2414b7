// The substitute graphics engine's device-context front, under GDI's names:
// what an application (the print host) calls to print through a printer
// driver. The engine services a driver binds (Eng*) are declared in
// uPrintOem.h. Linux only.
#pragma once

#include "uPrintOem.h"

struct HDC__;
using HDC = HDC__*;
struct HGDIOBJ__;
using HGDIOBJ = HGDIOBJ__*;
using HPEN = HGDIOBJ;
using COLORREF = DWORD;

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
         (static_cast<COLORREF>(b) << 16);
}

struct POINT {
  LONG x;
  LONG y;
};

struct DOCINFOW {
  INT cbSize;
  LPCWSTR lpszDocName;
  LPCWSTR lpszOutput;
  LPCWSTR lpszDatatype;
  DWORD fwType;
};

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
  WORD bfType;
  DWORD bfSize;
  WORD bfReserved1;
  WORD bfReserved2;
  DWORD bfOffBits;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPFILEHEADER) == 14);

struct BITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};

struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};

inline constexpr DWORD BI_RGB = 0;
inline constexpr UINT DIB_RGB_COLORS = 0;
inline constexpr DWORD SRCCOPY = 0x00CC0020;
inline constexpr INT PS_SOLID = 0;
inline constexpr INT SP_ERROR = -1;

// GetDeviceCaps indices.
inline constexpr INT TECHNOLOGY = 2;
inline constexpr INT HORZSIZE = 4;
inline constexpr INT VERTSIZE = 6;
inline constexpr INT HORZRES = 8;
inline constexpr INT VERTRES = 10;
inline constexpr INT BITSPIXEL = 12;
inline constexpr INT PLANES = 14;
inline constexpr INT NUMCOLORS = 24;
inline constexpr INT LOGPIXELSX = 88;
inline constexpr INT LOGPIXELSY = 90;
inline constexpr INT PHYSICALWIDTH = 110;
inline constexpr INT PHYSICALHEIGHT = 111;
inline constexpr INT PHYSICALOFFSETX = 112;
inline constexpr INT PHYSICALOFFSETY = 113;

// One glyph already rendered by the caller: a 1-bit bitmap, most significant
// bit first, rows of (cx + 7) / 8 bytes, top row first. Its top-left pixel
// lies at ptlOrigin + ptlBitmapOffset (the offset is usually negative in y:
// the glyph rises above its baseline origin).
struct PLATFORM_GLYPH {
  POINTL ptlOrigin;
  POINTL ptlBitmapOffset;
  SIZEL sizlBitmap;
  const BYTE* pjBits;
};

extern "C" {

// The engine services a printer driver binds by name.
PIXMOR_EXPORT HPALETTE APIENTRY EngCreatePalette(ULONG iMode, ULONG cColors, ULONG* pulColors,
                                                 FLONG flRed, FLONG flGreen, FLONG flBlue);
PIXMOR_EXPORT ULONG APIENTRY EngQueryPalette(HPALETTE hpal, ULONG* piMode, ULONG cColors,
                                             ULONG* pulColors);
PIXMOR_EXPORT BOOL APIENTRY EngDeletePalette(HPALETTE hpal);
PIXMOR_EXPORT HBITMAP APIENTRY EngCreateBitmap(SIZEL sizl, LONG lWidth, ULONG iFormat, FLONG fl,
                                               PVOID pvBits);
PIXMOR_EXPORT BOOL APIENTRY EngAssociateSurface(HSURF hsurf, HDEV hdev, FLONG flHooks);
PIXMOR_EXPORT BOOL APIENTRY EngDeleteSurface(HSURF hsurf);
PIXMOR_EXPORT SURFOBJ* APIENTRY EngLockSurface(HSURF hsurf);
PIXMOR_EXPORT void APIENTRY EngUnlockSurface(SURFOBJ* pso);
PIXMOR_EXPORT BOOL APIENTRY EngCopyBits(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco,
                                        XLATEOBJ* pxlo, RECTL* prclDest, POINTL* pptlSrc);
PIXMOR_EXPORT BOOL APIENTRY EngTextOut(SURFOBJ* pso, STROBJ* pstro, FONTOBJ* pfo, CLIPOBJ* pco,
                                       RECTL* prclExtra, RECTL* prclOpaque, BRUSHOBJ* pboFore,
                                       BRUSHOBJ* pboOpaque, POINTL* pptlOrg, MIX mix);
PIXMOR_EXPORT BOOL APIENTRY EngStrokePath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ* pxo,
                                          BRUSHOBJ* pbo, POINTL* pptlBrushOrg,
                                          LINEATTRS* plineattrs, MIX mix);

// pwszDriver names the rendering driver's module ("pixmor.dll"); pwszDevice is
// the printer, opened with OpenPrinterW; a null device mode takes the
// printer's document defaults.
PIXMOR_EXPORT HDC WINAPI CreateDCW(LPCWSTR pwszDriver, LPCWSTR pwszDevice, LPCWSTR pszPort,
                                   const DEVMODEW* pdm);
PIXMOR_EXPORT BOOL WINAPI DeleteDC(HDC hdc);
PIXMOR_EXPORT INT WINAPI GetDeviceCaps(HDC hdc, INT index);

// Documents and pages: positive on success, SP_ERROR (or 0) on failure.
PIXMOR_EXPORT INT WINAPI StartDocW(HDC hdc, const DOCINFOW* pdi);
PIXMOR_EXPORT INT WINAPI StartPage(HDC hdc);
PIXMOR_EXPORT INT WINAPI EndPage(HDC hdc);
PIXMOR_EXPORT INT WINAPI EndDoc(HDC hdc);
PIXMOR_EXPORT INT WINAPI AbortDoc(HDC hdc);

// Solid pens; a new DC draws with a black pen one pixel wide.
PIXMOR_EXPORT HPEN WINAPI CreatePen(INT iStyle, INT cWidth, COLORREF color);
PIXMOR_EXPORT HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h);
PIXMOR_EXPORT BOOL WINAPI DeleteObject(HGDIOBJ ho);
PIXMOR_EXPORT BOOL WINAPI MoveToEx(HDC hdc, INT x, INT y, POINT* lppt);
PIXMOR_EXPORT BOOL WINAPI LineTo(HDC hdc, INT x, INT y);
PIXMOR_EXPORT BOOL WINAPI Polyline(HDC hdc, const POINT* apt, INT cpt);

// An 8, 24 or 32-bit BI_RGB DIB, scaled (nearest neighbour) to the
// destination rectangle and clipped to the page; SRCCOPY and DIB_RGB_COLORS
// only, positive extents only. For a bottom-up DIB ySrc counts from its
// bottom row, as GDI does. Only the visible part of the destination is
// staged, so a page drawn band by band needs band-sized memory. Returns the
// number of source lines, 0 on failure.
PIXMOR_EXPORT INT WINAPI StretchDIBits(HDC hdc, INT xDest, INT yDest, INT DestWidth, INT DestHeight,
                                       INT xSrc, INT ySrc, INT SrcWidth, INT SrcHeight,
                                       const void* lpBits, const BITMAPINFO* lpbmi, UINT iUsage,
                                       DWORD rop);

// ---- The substitute's own calls (no GDI counterpart) ----

// Draws pre-rendered glyphs in one colour through the driver's text output.
PIXMOR_EXPORT BOOL WINAPI PlatformGlyphTextOut(HDC hdc, const PLATFORM_GLYPH* pGlyphs,
                                               ULONG cGlyphs, COLORREF color);
// For tests: the page surface as the driver sees it, the driver's device
// handle, the device description it gave, and the hooks of a surface.
PIXMOR_EXPORT SURFOBJ* PlatformDCSurface(HDC hdc);
PIXMOR_EXPORT DHPDEV PlatformDCDevice(HDC hdc);
PIXMOR_EXPORT BOOL PlatformDCDeviceInfo(HDC hdc, GDIINFO* pgi, DEVINFO* pdi);
PIXMOR_EXPORT FLONG PlatformSurfaceHooks(HSURF hsurf);
}
