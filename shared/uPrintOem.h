// The platform's printer-driver declarations the two drivers use: the device
// mode, the graphics engine's driver interface (records, objects, entry
// points and services), the spooler's printer records and calls, and the
// configuration module's headers. Published names and layouts; pointer-width
// clean, so a 64-bit build gets the published 64-bit layouts.
#pragma once

#include "uWinBase.h"

// ---- Device mode -----------------------------------------------------------

inline constexpr int CCHDEVICENAME = 32;
inline constexpr int CCHFORMNAME = 32;

// The printer variant of the published record; the display variant shares
// these bytes and is never used by a printer driver.
struct DEVMODEW {
  WCHAR dmDeviceName[CCHDEVICENAME];
  WORD dmSpecVersion;
  WORD dmDriverVersion;
  WORD dmSize;
  WORD dmDriverExtra;
  DWORD dmFields;
  SHORT dmOrientation;
  SHORT dmPaperSize;
  SHORT dmPaperLength;
  SHORT dmPaperWidth;
  SHORT dmScale;
  SHORT dmCopies;
  SHORT dmDefaultSource;
  SHORT dmPrintQuality;
  SHORT dmColor;
  SHORT dmDuplex;
  SHORT dmYResolution;
  SHORT dmTTOption;
  SHORT dmCollate;
  WCHAR dmFormName[CCHFORMNAME];
  WORD dmLogPixels;
  DWORD dmBitsPerPel;
  DWORD dmPelsWidth;
  DWORD dmPelsHeight;
  union {
    DWORD dmDisplayFlags;
    DWORD dmNup;
  };
  DWORD dmDisplayFrequency;
  DWORD dmICMMethod;
  DWORD dmICMIntent;
  DWORD dmMediaType;
  DWORD dmDitherType;
  DWORD dmReserved1;
  DWORD dmReserved2;
  DWORD dmPanningWidth;
  DWORD dmPanningHeight;
};
using PDEVMODEW = DEVMODEW*;
using LPDEVMODEW = DEVMODEW*;
static_assert(sizeof(DEVMODEW) == 220);
static_assert(offsetof(DEVMODEW, dmFields) == 72);
static_assert(offsetof(DEVMODEW, dmOrientation) == 76);
static_assert(offsetof(DEVMODEW, dmColor) == 92);
static_assert(offsetof(DEVMODEW, dmFormName) == 102);
static_assert(offsetof(DEVMODEW, dmBitsPerPel) == 168);
static_assert(offsetof(DEVMODEW, dmICMMethod) == 188);

inline constexpr WORD DM_SPECVERSION = 0x0401;

inline constexpr DWORD DM_ORIENTATION = 0x00000001;
inline constexpr DWORD DM_PAPERSIZE = 0x00000002;
inline constexpr DWORD DM_PAPERLENGTH = 0x00000004;
inline constexpr DWORD DM_PAPERWIDTH = 0x00000008;
inline constexpr DWORD DM_SCALE = 0x00000010;
inline constexpr DWORD DM_COPIES = 0x00000100;
inline constexpr DWORD DM_DEFAULTSOURCE = 0x00000200;
inline constexpr DWORD DM_PRINTQUALITY = 0x00000400;
inline constexpr DWORD DM_COLOR = 0x00000800;
inline constexpr DWORD DM_DUPLEX = 0x00001000;
inline constexpr DWORD DM_YRESOLUTION = 0x00002000;
inline constexpr DWORD DM_TTOPTION = 0x00004000;
inline constexpr DWORD DM_COLLATE = 0x00008000;
inline constexpr DWORD DM_FORMNAME = 0x00010000;
inline constexpr DWORD DM_NUP = 0x00000040;
inline constexpr DWORD DM_ICMMETHOD = 0x00800000;
inline constexpr DWORD DM_ICMINTENT = 0x01000000;
inline constexpr DWORD DM_MEDIATYPE = 0x02000000;
inline constexpr DWORD DM_DITHERTYPE = 0x04000000;

inline constexpr SHORT DMORIENT_PORTRAIT = 1;
inline constexpr SHORT DMORIENT_LANDSCAPE = 2;
inline constexpr SHORT DMPAPER_LETTER = 1;
inline constexpr SHORT DMBIN_FORMSOURCE = 15;
inline constexpr SHORT DMCOLOR_MONOCHROME = 1;
inline constexpr SHORT DMCOLOR_COLOR = 2;
inline constexpr SHORT DMDUP_SIMPLEX = 1;
inline constexpr SHORT DMTT_SUBDEV = 3;
inline constexpr SHORT DMCOLLATE_FALSE = 0;
inline constexpr DWORD DMNUP_SYSTEM = 1;
inline constexpr DWORD DMICMMETHOD_NONE = 1;
inline constexpr DWORD DMICM_SATURATE = 1;
inline constexpr DWORD DMMEDIA_STANDARD = 1;
inline constexpr DWORD DMDITHER_NONE = 1;
inline constexpr SHORT DMRES_DRAFT = -1;
inline constexpr SHORT DMRES_LOW = -2;
inline constexpr SHORT DMRES_MEDIUM = -3;
inline constexpr SHORT DMRES_HIGH = -4;

// ---- Graphics engine: geometry and handles ---------------------------------

struct POINTL {
  LONG x;
  LONG y;
};
struct SIZEL {
  LONG cx;
  LONG cy;
};
using SIZE = SIZEL;
struct RECTL {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};

struct DHPDEV__;
using DHPDEV = DHPDEV__*;
struct DHSURF__;
using DHSURF = DHSURF__*;
struct HSURF__;
using HSURF = HSURF__*;
struct HDEV__;
using HDEV = HDEV__*;
struct HBITMAP__;
using HBITMAP = HBITMAP__*;
struct HPALETTE__;
using HPALETTE = HPALETTE__*;

using MIX = ULONG;
using ROP4 = ULONG;
using HGLYPH = ULONG;
using LDECI4 = LONG;
using FLOATL = float;
using PFN = LONG_PTR(APIENTRY*)();

// ---- Graphics engine: driver records ---------------------------------------

struct DRVFN {
  ULONG iFunc;
  PFN pfn;
};
struct DRVENABLEDATA {
  ULONG iDriverVersion;
  ULONG c;
  DRVFN* pdrvfn;
};

struct CIECHROMA {
  LDECI4 x;
  LDECI4 y;
  LDECI4 Y;
};
struct COLORINFO {
  CIECHROMA Red;
  CIECHROMA Green;
  CIECHROMA Blue;
  CIECHROMA Cyan;
  CIECHROMA Magenta;
  CIECHROMA Yellow;
  CIECHROMA AlignmentWhite;
  LDECI4 RedGamma;
  LDECI4 GreenGamma;
  LDECI4 BlueGamma;
  LDECI4 MagentaInCyanDye;
  LDECI4 YellowInCyanDye;
  LDECI4 CyanInMagentaDye;
  LDECI4 YellowInMagentaDye;
  LDECI4 CyanInYellowDye;
  LDECI4 MagentaInYellowDye;
};

struct GDIINFO {
  ULONG ulVersion;
  ULONG ulTechnology;
  ULONG ulHorzSize;
  ULONG ulVertSize;
  ULONG ulHorzRes;
  ULONG ulVertRes;
  ULONG cBitsPixel;
  ULONG cPlanes;
  ULONG ulNumColors;
  ULONG flRaster;
  ULONG ulLogPixelsX;
  ULONG ulLogPixelsY;
  ULONG flTextCaps;
  ULONG ulDACRed;
  ULONG ulDACGreen;
  ULONG ulDACBlue;
  ULONG ulAspectX;
  ULONG ulAspectY;
  ULONG ulAspectXY;
  LONG xStyleStep;
  LONG yStyleStep;
  LONG denStyleStep;
  POINTL ptlPhysOffset;
  SIZEL szlPhysSize;
  ULONG ulNumPalReg;
  COLORINFO ciDevice;
  ULONG ulDevicePelsDPI;
  ULONG ulPrimaryOrder;
  ULONG ulHTPatternSize;
  ULONG ulHTOutputFormat;
  ULONG flHTFlags;
  ULONG ulVRefresh;
  ULONG ulBltAlignment;
  ULONG ulPanningHorzRes;
  ULONG ulPanningVertRes;
  ULONG xPanningAlignment;
  ULONG yPanningAlignment;
  ULONG cxHTPat;
  ULONG cyHTPat;
  LPBYTE pHTPatA;
  LPBYTE pHTPatB;
  LPBYTE pHTPatC;
  ULONG flShadeBlend;
  ULONG ulPhysicalPixelCharacteristics;
  ULONG ulPhysicalPixelGamma;
};

inline constexpr int LF_FACESIZE = 32;
struct LOGFONTW {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  WCHAR lfFaceName[LF_FACESIZE];
};

struct DEVINFO {
  FLONG flGraphicsCaps;
  LOGFONTW lfDefaultFont;
  LOGFONTW lfAnsiVarFont;
  LOGFONTW lfAnsiFixFont;
  ULONG cFonts;
  ULONG iDitherFormat;
  USHORT cxDither;
  USHORT cyDither;
  HPALETTE hpalDefault;
  FLONG flGraphicsCaps2;
};

// ---- Graphics engine: objects passed to drawing calls ----------------------

struct SURFOBJ {
  DHSURF dhsurf;
  HSURF hsurf;
  DHPDEV dhpdev;
  HDEV hdev;
  SIZEL sizlBitmap;
  ULONG cjBits;
  PVOID pvBits;
  PVOID pvScan0;
  LONG lDelta;
  ULONG iUniq;
  ULONG iBitmapFormat;
  USHORT iType;
  USHORT fjBitmap;
};

struct CLIPOBJ {
  ULONG iUniq;
  RECTL rclBounds;
  BYTE iDComplexity;
  BYTE iFComplexity;
  BYTE iMode;
  BYTE fjOptions;
};

struct XLATEOBJ {
  ULONG iUniq;
  FLONG flXlate;
  USHORT iSrcType;
  USHORT iDstType;
  ULONG cEntries;
  ULONG* pulXlate;
};

struct BRUSHOBJ {
  ULONG iSolidColor;
  PVOID pvRbrush;
  FLONG flColorType;
};

struct GLYPHBITS {
  POINTL ptlOrigin;
  SIZEL sizlBitmap;
  BYTE aj[1];
};
struct PATHOBJ {
  FLONG fl;
  ULONG cCurves;
};
union GLYPHDEF {
  GLYPHBITS* pgb;
  PATHOBJ* ppo;
};
struct GLYPHPOS {
  HGLYPH hg;
  GLYPHDEF* pgdf;
  POINTL ptl;
};

struct STROBJ {
  ULONG cGlyphs;
  FLONG flAccel;
  ULONG ulCharInc;
  RECTL rclBkGround;
  GLYPHPOS* pgp;
  LPWSTR pwszOrg;
};

struct FONTOBJ {
  ULONG iUniq;
  ULONG iFace;
  ULONG cxMax;
  FLONG flFontType;
  ULONG_PTR iTTUniq;
  ULONG_PTR iFile;
  SIZE sizLogResPpi;
  ULONG ulStyleSize;
  PVOID pvConsumer;
  PVOID pvProducer;
};

struct XFORMOBJ {
  ULONG ulReserved;
};

union FLOAT_LONG {
  FLOATL e;
  LONG l;
};
struct LINEATTRS {
  FLONG fl;
  ULONG iJoin;
  ULONG iEndCap;
  FLOAT_LONG elWidth;
  FLOATL eMiterLimit;
  ULONG cstyle;
  FLOAT_LONG* pstyle;
  FLOAT_LONG elStyleState;
};

// ---- Graphics engine: constants --------------------------------------------

inline constexpr ULONG DDI_DRIVER_VERSION_NT5_01_SP1 = 0x00030101;

inline constexpr ULONG INDEX_DrvEnablePDEV = 0;
inline constexpr ULONG INDEX_DrvCompletePDEV = 1;
inline constexpr ULONG INDEX_DrvDisablePDEV = 2;
inline constexpr ULONG INDEX_DrvEnableSurface = 3;
inline constexpr ULONG INDEX_DrvDisableSurface = 4;
inline constexpr ULONG INDEX_DrvResetPDEV = 7;
inline constexpr ULONG INDEX_DrvDisableDriver = 8;
inline constexpr ULONG INDEX_DrvStrokePath = 14;
inline constexpr ULONG INDEX_DrvCopyBits = 19;
inline constexpr ULONG INDEX_DrvTextOut = 23;
inline constexpr ULONG INDEX_DrvSendPage = 32;
inline constexpr ULONG INDEX_DrvStartPage = 33;
inline constexpr ULONG INDEX_DrvEndDoc = 34;
inline constexpr ULONG INDEX_DrvStartDoc = 35;

inline constexpr DWORD DRVQUERY_USERMODE = 1;

inline constexpr ULONG BMF_1BPP = 1;
inline constexpr ULONG BMF_4BPP = 2;
inline constexpr ULONG BMF_8BPP = 3;
inline constexpr ULONG BMF_16BPP = 4;
inline constexpr ULONG BMF_24BPP = 5;
inline constexpr ULONG BMF_32BPP = 6;
inline constexpr FLONG BMF_TOPDOWN = 0x0001;

inline constexpr FLONG HOOK_BITBLT = 0x0001;
inline constexpr FLONG HOOK_TEXTOUT = 0x0008;
inline constexpr FLONG HOOK_STROKEPATH = 0x0020;
inline constexpr FLONG HOOK_COPYBITS = 0x0400;

inline constexpr ULONG PAL_INDEXED = 0x00000001;
inline constexpr ULONG PAL_BITFIELDS = 0x00000002;
inline constexpr ULONG PAL_RGB = 0x00000004;
inline constexpr ULONG PAL_BGR = 0x00000008;

inline constexpr ULONG DT_RASPRINTER = 2;
inline constexpr ULONG GDI_DRIVER_VERSION = 0x500;
inline constexpr ULONG PRIMARY_ORDER_CBA = 4;
inline constexpr ULONG HT_PATSIZE_2x2 = 0;
inline constexpr ULONG HT_FORMAT_1BPP = 0;
inline constexpr ULONG HT_FLAG_ADDITIVE_PRIMS = 4;
inline constexpr ULONG PPC_BGR_ORDER_HORIZONTAL_STRIPES = 5;
inline constexpr LONG FW_NORMAL = 400;
inline constexpr BYTE DEFAULT_CHARSET = 1;

inline constexpr BYTE DC_TRIVIAL = 0;
inline constexpr BYTE DC_RECT = 1;
inline constexpr BYTE DC_COMPLEX = 3;
inline constexpr FLONG XO_TRIVIAL = 0x0001;
inline constexpr FLONG XO_TABLE = 0x0002;

// ---- Graphics engine: entry points and services ----------------------------

#ifndef PIXMOR_LAYOUT_ONLY  // records only, for the layout check
extern "C" {
PIXMOR_EXPORT BOOL APIENTRY DrvEnableDriver(ULONG iEngineVersion, ULONG cj, DRVENABLEDATA* pded);
PIXMOR_EXPORT BOOL APIENTRY DrvQueryDriverInfo(DWORD dwMode, PVOID pBuffer, DWORD cbBuf,
                                               PDWORD pcbNeeded);
PIXMOR_EXPORT void APIENTRY DrvDisableDriver();
}
#endif

using PFN_DrvEnableDriver = BOOL(APIENTRY*)(ULONG, ULONG, DRVENABLEDATA*);
using PFN_DrvEnablePDEV = DHPDEV(APIENTRY*)(DEVMODEW*, LPWSTR, ULONG, HSURF*, ULONG, GDIINFO*,
                                            ULONG, DEVINFO*, HDEV, LPWSTR, HANDLE);
using PFN_DrvCompletePDEV = void(APIENTRY*)(DHPDEV, HDEV);
using PFN_DrvResetPDEV = BOOL(APIENTRY*)(DHPDEV, DHPDEV);
using PFN_DrvDisablePDEV = void(APIENTRY*)(DHPDEV);
using PFN_DrvEnableSurface = HSURF(APIENTRY*)(DHPDEV);
using PFN_DrvDisableSurface = void(APIENTRY*)(DHPDEV);
using PFN_DrvDisableDriver = void(APIENTRY*)();
using PFN_DrvStartDoc = BOOL(APIENTRY*)(SURFOBJ*, LPWSTR, DWORD);
using PFN_DrvEndDoc = BOOL(APIENTRY*)(SURFOBJ*, FLONG);
using PFN_DrvStartPage = BOOL(APIENTRY*)(SURFOBJ*);
using PFN_DrvSendPage = BOOL(APIENTRY*)(SURFOBJ*);
using PFN_DrvCopyBits = BOOL(APIENTRY*)(SURFOBJ*, SURFOBJ*, CLIPOBJ*, XLATEOBJ*, RECTL*, POINTL*);
using PFN_DrvTextOut = BOOL(APIENTRY*)(SURFOBJ*, STROBJ*, FONTOBJ*, CLIPOBJ*, RECTL*, RECTL*,
                                       BRUSHOBJ*, BRUSHOBJ*, POINTL*, MIX);
using PFN_DrvStrokePath = BOOL(APIENTRY*)(SURFOBJ*, PATHOBJ*, CLIPOBJ*, XFORMOBJ*, BRUSHOBJ*,
                                          POINTL*, LINEATTRS*, MIX);

// The engine services, as the driver binds them by name at run time.
using PFN_EngCreatePalette = HPALETTE(APIENTRY*)(ULONG iMode, ULONG cColors, ULONG* pulColors,
                                                 FLONG flRed, FLONG flGreen, FLONG flBlue);
using PFN_EngQueryPalette = ULONG(APIENTRY*)(HPALETTE, ULONG*, ULONG, ULONG*);
using PFN_EngDeletePalette = BOOL(APIENTRY*)(HPALETTE);
using PFN_EngWritePrinter = BOOL(APIENTRY*)(HANDLE, LPVOID, DWORD, LPDWORD);
using PFN_EngCreateDeviceSurface = HSURF(APIENTRY*)(DHSURF, SIZEL, ULONG);
using PFN_EngModifySurface = BOOL(APIENTRY*)(HSURF, HDEV, FLONG, FLONG, DHSURF, void*, LONG, void*);
using PFN_EngAssociateSurface = BOOL(APIENTRY*)(HSURF, HDEV, FLONG);
using PFN_EngDeleteSurface = BOOL(APIENTRY*)(HSURF);
using PFN_EngCreateBitmap = HBITMAP(APIENTRY*)(SIZEL sizl, LONG lWidth, ULONG iFormat, FLONG fl,
                                               PVOID pvBits);
using PFN_EngCreateDeviceBitmap = HBITMAP(APIENTRY*)(DHSURF, SIZEL, ULONG);
using PFN_EngBitBlt = BOOL(APIENTRY*)(SURFOBJ*, SURFOBJ*, SURFOBJ*, CLIPOBJ*, XLATEOBJ*, RECTL*,
                                      POINTL*, POINTL*, BRUSHOBJ*, POINTL*, ROP4);
using PFN_EngLockSurface = SURFOBJ*(APIENTRY*)(HSURF);
using PFN_EngUnlockSurface = void(APIENTRY*)(SURFOBJ*);
using PFN_EngCopyBits = PFN_DrvCopyBits;
using PFN_EngTextOut = PFN_DrvTextOut;
using PFN_EngStrokePath = PFN_DrvStrokePath;

// ---- Spooler ---------------------------------------------------------------

struct PRINTER_INFO_4W {
  LPWSTR pPrinterName;
  LPWSTR pServerName;
  DWORD Attributes;
};
struct PRINTER_INFO_8W {
  DEVMODEW* pDevMode;
};
struct PRINTER_INFO_9W {
  DEVMODEW* pDevMode;
};

#ifndef PIXMOR_LAYOUT_ONLY  // records only, for the layout check
extern "C" {
BOOL WINAPI WritePrinter(HANDLE hPrinter, LPVOID pBuf, DWORD cbBuf, LPDWORD pcWritten);
BOOL WINAPI GetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD cbBuf,
                        LPDWORD pcbNeeded);
BOOL WINAPI SetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD Command);
}
#endif

// ---- Configuration module --------------------------------------------------

struct DOCUMENTPROPERTYHEADER {
  WORD cbSize;
  WORD Reserved;
  HANDLE hPrinter;
  LPWSTR pszPrinterName;
  DEVMODEW* pdmIn;
  DEVMODEW* pdmOut;
  DWORD cbOut;
  DWORD fMode;
};
using PDOCUMENTPROPERTYHEADER = DOCUMENTPROPERTYHEADER*;

struct DEVICEPROPERTYHEADER {
  WORD cbSize;
  WORD Flags;
  HANDLE hPrinter;
  LPWSTR pszPrinterName;
};
using PDEVICEPROPERTYHEADER = DEVICEPROPERTYHEADER*;

struct DEVQUERYPRINT_INFO {
  WORD cbSize;
  WORD Level;
  HANDLE hPrinter;
  DEVMODEW* pDevMode;
  LPWSTR pszErrorStr;
  DWORD cchErrorStr;
  DWORD cchNeeded;
};
using PDEVQUERYPRINT_INFO = DEVQUERYPRINT_INFO*;

inline constexpr DWORD DM_UPDATE = 1;
inline constexpr DWORD DM_COPY = 2;
inline constexpr DWORD DM_PROMPT = 4;
inline constexpr DWORD DM_MODIFY = 8;
inline constexpr DWORD DM_OUT_BUFFER = DM_COPY;
inline constexpr DWORD DM_IN_PROMPT = DM_PROMPT;
inline constexpr DWORD DM_IN_BUFFER = DM_MODIFY;

inline constexpr INT PRINTER_EVENT_INITIALIZE = 3;
inline constexpr INT PRINTER_EVENT_DELETE = 4;

inline constexpr WORD DC_FIELDS = 1;
inline constexpr WORD DC_PAPERS = 2;
inline constexpr WORD DC_PAPERSIZE = 3;
inline constexpr WORD DC_MINEXTENT = 4;
inline constexpr WORD DC_MAXEXTENT = 5;
inline constexpr WORD DC_BINS = 6;
inline constexpr WORD DC_DUPLEX = 7;
inline constexpr WORD DC_SIZE = 8;
inline constexpr WORD DC_EXTRA = 9;
inline constexpr WORD DC_VERSION = 10;
inline constexpr WORD DC_DRIVER = 11;
inline constexpr WORD DC_BINNAMES = 12;
inline constexpr WORD DC_ENUMRESOLUTIONS = 13;
inline constexpr WORD DC_FILEDEPENDENCIES = 14;
inline constexpr WORD DC_TRUETYPE = 15;
inline constexpr WORD DC_PAPERNAMES = 16;
inline constexpr WORD DC_ORIENTATION = 17;
inline constexpr WORD DC_COPIES = 18;
inline constexpr WORD DC_BINADJUST = 19;
inline constexpr WORD DC_EMF_COMPLIANT = 20;
inline constexpr WORD DC_DATATYPE_PRODUCED = 21;
inline constexpr WORD DC_COLLATE = 22;
inline constexpr WORD DC_MANUFACTURER = 23;
inline constexpr WORD DC_MODEL = 24;
inline constexpr WORD DC_PERSONALITY = 25;
inline constexpr WORD DC_PRINTRATE = 26;
inline constexpr WORD DC_PRINTRATEUNIT = 27;
inline constexpr WORD DC_PRINTERMEM = 28;
inline constexpr WORD DC_MEDIAREADY = 29;
inline constexpr WORD DC_STAPLE = 30;
inline constexpr WORD DC_PRINTRATEPPM = 31;
inline constexpr WORD DC_COLORDEVICE = 32;
inline constexpr WORD DC_NUP = 33;
inline constexpr WORD DC_MEDIATYPENAMES = 34;
inline constexpr WORD DC_MEDIATYPES = 35;
inline constexpr DWORD GDI_ERROR = 0xFFFFFFFFu;
inline constexpr DWORD PRINTRATEUNIT_PPM = 1;

// ---- Published 32-bit sizes ------------------------------------------------

#if PIXMOR_32BIT
static_assert(sizeof(DRVFN) == 8);
static_assert(sizeof(DRVENABLEDATA) == 12);
static_assert(sizeof(COLORINFO) == 120);
static_assert(sizeof(GDIINFO) == 304);
static_assert(offsetof(GDIINFO, ciDevice) == 108);
static_assert(sizeof(LOGFONTW) == 92);
static_assert(sizeof(DEVINFO) == 300);
static_assert(offsetof(DEVINFO, hpalDefault) == 292);
static_assert(sizeof(SURFOBJ) == 52);
static_assert(sizeof(CLIPOBJ) == 24);
static_assert(sizeof(XLATEOBJ) == 20);
static_assert(sizeof(BRUSHOBJ) == 12);
static_assert(sizeof(STROBJ) == 36);
static_assert(sizeof(FONTOBJ) == 44);
static_assert(sizeof(LINEATTRS) == 32);
static_assert(sizeof(GLYPHPOS) == 16);
static_assert(sizeof(PRINTER_INFO_4W) == 12);
static_assert(sizeof(PRINTER_INFO_8W) == 4);
static_assert(sizeof(PRINTER_INFO_9W) == 4);
static_assert(sizeof(DOCUMENTPROPERTYHEADER) == 28);
static_assert(sizeof(DEVICEPROPERTYHEADER) == 12);
static_assert(sizeof(DEVQUERYPRINT_INFO) == 24);
#endif
