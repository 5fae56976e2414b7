// The engine services a printer driver binds: palettes, engine bitmaps and
// the drawing the driver hands back (bit copies with colour translation and
// clipping, solid line strokes, glyph bitmaps in one colour). Services the
// driver binds but never calls answer as an engine without them would.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "uEngObjects.h"
#include "uEngineTesting.h"
#include "uSpoolerClient.h"

namespace gdi {

TRegistry<TPalette>& Palettes() {
  static auto* registry = new TRegistry<TPalette>;
  return *registry;
}
TRegistry<TSurface>& Surfaces() {
  static auto* registry = new TRegistry<TSurface>;
  return *registry;
}
TRegistry<TXlate>& Xlates() {
  static auto* registry = new TRegistry<TXlate>;
  return *registry;
}
TRegistry<TPath>& Paths() {
  static auto* registry = new TRegistry<TPath>;
  return *registry;
}

int BytesPerPixel(ULONG format) {
  switch (format) {
    case BMF_8BPP:
      return 1;
    case BMF_24BPP:
      return 3;
    case BMF_32BPP:
      return 4;
    default:
      return 0;
  }
}

TRgb RgbOfDevice(ULONG colour, ULONG format, const TPalette* palette) {
  if (format == BMF_8BPP) {
    const ULONG index = colour & 0xFF;
    if (palette != nullptr && palette->Mode == PAL_INDEXED && index < palette->Count) {
      const ULONG entry = palette->Colours[index];
      return TRgb{static_cast<BYTE>(entry), static_cast<BYTE>(entry >> 8),
                  static_cast<BYTE>(entry >> 16)};
    }
    const auto level = static_cast<BYTE>(index);  // no palette: a grey ramp
    return TRgb{level, level, level};
  }
  if (palette != nullptr && palette->Mode == PAL_RGB) {
    return TRgb{static_cast<BYTE>(colour), static_cast<BYTE>(colour >> 8),
                static_cast<BYTE>(colour >> 16)};
  }
  return TRgb{static_cast<BYTE>(colour >> 16), static_cast<BYTE>(colour >> 8),
              static_cast<BYTE>(colour)};
}

ULONG DeviceOfRgb(TRgb c, ULONG format, const TPalette* palette) {
  if (format == BMF_8BPP) {
    if (palette == nullptr || palette->Mode != PAL_INDEXED || palette->GreyRamp) {
      return Luminance(c);
    }
    ULONG best = 0;
    long bestDistance = -1;
    for (ULONG i = 0; i < palette->Count; ++i) {
      const TRgb e = RgbOfDevice(i, BMF_8BPP, palette);
      const long dr = long{e.Red} - c.Red, dg = long{e.Green} - c.Green, db = long{e.Blue} - c.Blue;
      const long distance = dr * dr + dg * dg + db * db;
      if (bestDistance < 0 || distance < bestDistance) {
        best = i;
        bestDistance = distance;
      }
    }
    return best;
  }
  if (palette != nullptr && palette->Mode == PAL_RGB) {
    return ULONG{c.Red} | (ULONG{c.Green} << 8) | (ULONG{c.Blue} << 16);
  }
  return ULONG{c.Blue} | (ULONG{c.Green} << 8) | (ULONG{c.Red} << 16);
}

namespace {

// Fast paths are on unless a test turns them off to compare them with the
// general per-pixel translation.
std::atomic<bool> FastPaths{true};

}  // namespace

bool FastPathsOn() { return FastPaths.load(std::memory_order_relaxed); }

namespace {

ULONG ReadPixel(const BYTE* row, LONG x, int bpp) {
  const BYTE* p = row + static_cast<std::ptrdiff_t>(x) * bpp;
  switch (bpp) {
    case 1:
      return p[0];
    case 3:
      return ULONG{p[0]} | (ULONG{p[1]} << 8) | (ULONG{p[2]} << 16);
    default:
      return ULONG{p[0]} | (ULONG{p[1]} << 8) | (ULONG{p[2]} << 16);
  }
}

void WritePixel(BYTE* row, LONG x, int bpp, ULONG colour) {
  BYTE* p = row + static_cast<std::ptrdiff_t>(x) * bpp;
  p[0] = static_cast<BYTE>(colour);
  if (bpp == 1) return;
  p[1] = static_cast<BYTE>(colour >> 8);
  p[2] = static_cast<BYTE>(colour >> 16);
  if (bpp == 4) p[3] = 0;
}

void FillRect(SURFOBJ& so, RECTL r, const RECTL& clip, ULONG colour) {
  if (!Intersect(r, clip)) return;
  const int bpp = BytesPerPixel(so.iBitmapFormat);
  for (LONG y = r.top; y < r.bottom; ++y) {
    BYTE* row = RowOf(so, y);
    if (bpp == 1) {
      std::memset(row + r.left, static_cast<int>(colour & 0xFF),
                  static_cast<std::size_t>(r.right - r.left));
    } else {
      for (LONG x = r.left; x < r.right; ++x) WritePixel(row, x, bpp, colour);
    }
  }
}

TPalette* PaletteOfSurface(const SURFOBJ* so) {
  const TSurface* surface = Surfaces().Find(so);
  return surface == nullptr ? nullptr : surface->Palette;
}

bool IsRgbOrder(const TPalette* palette) { return palette != nullptr && palette->Mode == PAL_RGB; }

// The bytes a surface's rows occupy, from its first to its last row.
struct TSpan {
  std::uintptr_t Low, High;
};
TSpan SpanOf(const SURFOBJ& so) {
  const auto scan0 = reinterpret_cast<std::uintptr_t>(so.pvScan0);
  const std::int64_t last = std::int64_t{so.sizlBitmap.cy - 1} * so.lDelta;
  const auto rowBytes = static_cast<std::uintptr_t>(std::abs(std::int64_t{so.lDelta}));
  const std::uintptr_t low = last < 0 ? scan0 - static_cast<std::uintptr_t>(-last) : scan0;
  const std::uintptr_t high = (last < 0 ? scan0 : scan0 + static_cast<std::uintptr_t>(last)) +
                              std::max<std::uintptr_t>(rowBytes, 1);
  return TSpan{low, high};
}
bool Overlap(const SURFOBJ& a, const SURFOBJ& b) {
  const TSpan x = SpanOf(a), y = SpanOf(b);
  return x.Low < y.High && y.Low < x.High;
}

// How a row is translated without looking up each pixel's colour: the
// results equal RgbOfDevice followed by DeviceOfRgb.
enum class ERowCopy {
  General,  // per pixel through the palettes
  Table,    // 8-bit source through an index table
  Direct,   // 24 or 32 bits to 24 or 32 bits, red and blue swapped or not
  Grey,     // 24 or 32 bits to grey levels by luminance
};

struct TRowPlan {
  ERowCopy Kind = ERowCopy::General;
  int SrcBpp = 0, DstBpp = 0;
  bool Swap = false;  // the source's red byte is the destination's blue byte
  const ULONG* Table = nullptr;
};

void CopyRowByTable(BYTE* out, const BYTE* in, LONG width, const TRowPlan& plan) {
  const ULONG* table = plan.Table;
  switch (plan.DstBpp) {
    case 1:
      for (LONG i = 0; i < width; ++i) out[i] = static_cast<BYTE>(table[in[i]]);
      break;
    case 3:
      for (LONG i = 0; i < width; ++i, out += 3) {
        const ULONG c = table[in[i]];
        out[0] = static_cast<BYTE>(c);
        out[1] = static_cast<BYTE>(c >> 8);
        out[2] = static_cast<BYTE>(c >> 16);
      }
      break;
    default:
      for (LONG i = 0; i < width; ++i, out += 4) {
        const ULONG c = table[in[i]];
        out[0] = static_cast<BYTE>(c);
        out[1] = static_cast<BYTE>(c >> 8);
        out[2] = static_cast<BYTE>(c >> 16);
        out[3] = 0;
      }
      break;
  }
}

template <int SrcBpp, int DstBpp, bool Swap>
void CopyRowDirect(BYTE* out, const BYTE* in, LONG width) {
  for (LONG i = 0; i < width; ++i, in += SrcBpp, out += DstBpp) {
    out[0] = Swap ? in[2] : in[0];
    out[1] = in[1];
    out[2] = Swap ? in[0] : in[2];
    if constexpr (DstBpp == 4) out[3] = 0;
  }
}

void CopyRowDirect(BYTE* out, const BYTE* in, LONG width, const TRowPlan& plan) {
  const int key = plan.SrcBpp * 10 + plan.DstBpp;
  if (plan.Swap) {
    switch (key) {
      case 33:
        return CopyRowDirect<3, 3, true>(out, in, width);
      case 34:
        return CopyRowDirect<3, 4, true>(out, in, width);
      case 43:
        return CopyRowDirect<4, 3, true>(out, in, width);
      default:
        return CopyRowDirect<4, 4, true>(out, in, width);
    }
  }
  switch (key) {
    case 33:
      std::memcpy(out, in, static_cast<std::size_t>(width) * 3);
      return;
    case 34:
      return CopyRowDirect<3, 4, false>(out, in, width);
    case 43:
      return CopyRowDirect<4, 3, false>(out, in, width);
    default:
      return CopyRowDirect<4, 4, false>(out, in, width);
  }
}

// Luminance() per pixel, with the source's bytes taken as blue, green, red
// (or red, green, blue when swapped).
template <int SrcBpp, bool Swap>
void CopyRowGrey(BYTE* out, const BYTE* in, LONG width) {
  for (LONG i = 0; i < width; ++i, in += SrcBpp) {
    const unsigned blue = Swap ? in[2] : in[0], red = Swap ? in[0] : in[2];
    out[i] = static_cast<BYTE>((77u * red + 150u * in[1] + 29u * blue + 128u) >> 8);
  }
}

void CopyRowGrey(BYTE* out, const BYTE* in, LONG width, const TRowPlan& plan) {
  if (plan.SrcBpp == 3) {
    plan.Swap ? CopyRowGrey<3, true>(out, in, width) : CopyRowGrey<3, false>(out, in, width);
  } else {
    plan.Swap ? CopyRowGrey<4, true>(out, in, width) : CopyRowGrey<4, false>(out, in, width);
  }
}

TRowPlan PlanRows(const SURFOBJ& dst, const SURFOBJ& src, const TPalette* dstPalette,
                  const TPalette* srcPalette, const ULONG* table) {
  TRowPlan plan;
  plan.SrcBpp = BytesPerPixel(src.iBitmapFormat);
  plan.DstBpp = BytesPerPixel(dst.iBitmapFormat);
  // Rows read after others were written must stay as the general path
  // leaves them: memory shared by both surfaces keeps to it.
  if (!FastPathsOn() || Overlap(dst, src)) return plan;
  if (plan.SrcBpp == 1) {
    plan.Kind = ERowCopy::Table;
    plan.Table = table;
  } else if (plan.DstBpp != 1) {
    plan.Kind = ERowCopy::Direct;
    plan.Swap = IsRgbOrder(srcPalette) != IsRgbOrder(dstPalette);
  } else if (dstPalette == nullptr || dstPalette->Mode != PAL_INDEXED || dstPalette->GreyRamp) {
    plan.Kind = ERowCopy::Grey;  // what DeviceOfRgb does for such an 8-bit destination
    plan.Swap = IsRgbOrder(srcPalette);
  }
  return plan;
}

bool Drawable(const SURFOBJ* so) {
  return so != nullptr && so->pvScan0 != nullptr && BytesPerPixel(so->iBitmapFormat) != 0 &&
         so->sizlBitmap.cx > 0 && so->sizlBitmap.cy > 0;
}

}  // namespace

void PutPixel(SURFOBJ& so, LONG x, LONG y, ULONG colour) {
  WritePixel(RowOf(so, y), x, BytesPerPixel(so.iBitmapFormat), colour);
}

RECTL ClipBounds(const SURFOBJ& so, const CLIPOBJ* pco) {
  RECTL bounds{0, 0, so.sizlBitmap.cx, so.sizlBitmap.cy};
  // Complex regions are taken by their bounds: the front makes none.
  if (pco != nullptr && pco->iDComplexity != DC_TRIVIAL) {
    if (!Intersect(bounds, pco->rclBounds)) return RECTL{0, 0, 0, 0};
  }
  return bounds;
}

}  // namespace gdi

using namespace gdi;

extern "C" {

PIXMOR_EXPORT void PlatformEngineFastPaths(BOOL on) {
  FastPaths.store(on != 0, std::memory_order_relaxed);
}

// ---- Palettes ----

PIXMOR_EXPORT HPALETTE APIENTRY EngCreatePalette(ULONG iMode, ULONG cColors, ULONG* pulColors,
                                                 FLONG, FLONG, FLONG) {
  if (iMode == PAL_INDEXED &&
      (cColors == 0 || cColors > MaxPaletteEntries || pulColors == nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (iMode != PAL_INDEXED && iMode != PAL_BGR && iMode != PAL_RGB && iMode != PAL_BITFIELDS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto* palette = static_cast<TPalette*>(LocalAlloc(LPTR, sizeof(TPalette)));
  if (palette == nullptr) return nullptr;
  palette->Mode = iMode;
  if (iMode == PAL_INDEXED) {
    palette->Count = cColors;
    std::memcpy(palette->Colours, pulColors, cColors * sizeof(ULONG));
    bool ramp = cColors == 256;
    for (ULONG i = 0; ramp && i < cColors; ++i) {
      ramp = (palette->Colours[i] & 0xFFFFFF) == (i | (i << 8) | (i << 16));
    }
    palette->GreyRamp = ramp;
  }
  Palettes().Add(palette);
  return reinterpret_cast<HPALETTE>(palette);
}

PIXMOR_EXPORT ULONG APIENTRY EngQueryPalette(HPALETTE hpal, ULONG* piMode, ULONG cColors,
                                             ULONG* pulColors) {
  const TPalette* palette = Palettes().Find(hpal);
  if (palette == nullptr) return 0;
  if (piMode != nullptr) *piMode = palette->Mode;
  if (pulColors == nullptr) return palette->Count;
  const ULONG n = std::min(cColors, palette->Count);
  std::memcpy(pulColors, palette->Colours, n * sizeof(ULONG));
  return n;
}

PIXMOR_EXPORT BOOL APIENTRY EngDeletePalette(HPALETTE hpal) {
  TPalette* palette = Palettes().Find(hpal);
  if (palette == nullptr) return kFalse;
  Palettes().Remove(palette);
  LocalFree(palette);
  return kTrue;
}

// ---- Surfaces ----

// Rows are laid out bottom-up (negative lDelta), as GDI does, unless the
// caller asks for BMF_TOPDOWN. With pvBits null the engine allocates the
// pixels, zero-filled, with rows rounded up to four bytes, and lWidth is only
// a hint; with caller memory lWidth is the row distance.
PIXMOR_EXPORT HBITMAP APIENTRY EngCreateBitmap(SIZEL sizl, LONG lWidth, ULONG iFormat, FLONG fl,
                                               PVOID pvBits) {
  const int bpp = BytesPerPixel(iFormat);
  if (bpp == 0 || sizl.cx <= 0 || sizl.cy <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::uint64_t minimum = static_cast<std::uint64_t>(sizl.cx) * bpp;
  const std::uint64_t stride = pvBits != nullptr
                                   ? static_cast<std::uint64_t>(std::abs(std::int64_t{lWidth}))
                                   : (minimum + 3) & ~std::uint64_t{3};
  const std::uint64_t bytes = stride * static_cast<std::uint64_t>(sizl.cy);
  if (stride < minimum || stride > 0x7FFFFFFF || bytes > 0xFFFFFFFFull || bytes > SIZE_MAX) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto* surface = static_cast<TSurface*>(LocalAlloc(LPTR, sizeof(TSurface)));
  if (surface == nullptr) return nullptr;
  BYTE* bits = static_cast<BYTE*>(pvBits);
  if (bits == nullptr) {
    bits = static_cast<BYTE*>(LocalAlloc(LPTR, static_cast<SIZE_T>(bytes)));
    if (bits == nullptr) {
      LocalFree(surface);
      return nullptr;
    }
    surface->OwnBits = bits;
  }
  SURFOBJ& so = surface->so;
  so.hsurf = reinterpret_cast<HSURF>(surface);
  so.sizlBitmap = sizl;
  so.cjBits = static_cast<ULONG>(bytes);
  so.pvBits = bits;
  const auto delta = static_cast<LONG>(stride);
  if ((fl & BMF_TOPDOWN) != 0) {
    so.pvScan0 = bits;
    so.lDelta = delta;
  } else {
    so.pvScan0 = bits + static_cast<std::size_t>(stride) * static_cast<std::size_t>(sizl.cy - 1);
    so.lDelta = -delta;
  }
  so.iUniq = 1;
  so.iBitmapFormat = iFormat;
  so.iType = STYPE_BITMAP;
  so.fjBitmap = static_cast<USHORT>(fl & BMF_TOPDOWN);
  Surfaces().Add(surface);
  return reinterpret_cast<HBITMAP>(surface);
}

PIXMOR_EXPORT BOOL APIENTRY EngAssociateSurface(HSURF hsurf, HDEV hdev, FLONG flHooks) {
  TSurface* surface = Surfaces().Find(hsurf);
  if (surface == nullptr) return kFalse;
  surface->so.hdev = hdev;
  surface->Hooks = flHooks;
  if (const TDeviceLink* device = FindDevice(hdev)) {
    surface->so.dhpdev = device->dhpdev;
    surface->Palette = Palettes().Find(device->Palette);
  }
  return kTrue;
}

PIXMOR_EXPORT BOOL APIENTRY EngDeleteSurface(HSURF hsurf) {
  TSurface* surface = Surfaces().Find(hsurf);
  if (surface == nullptr) return kFalse;
  Surfaces().Remove(surface);
  LocalFree(surface->OwnBits);
  LocalFree(surface);
  return kTrue;
}

PIXMOR_EXPORT SURFOBJ* APIENTRY EngLockSurface(HSURF hsurf) {
  TSurface* surface = Surfaces().Find(hsurf);
  return surface == nullptr ? nullptr : &surface->so;
}

PIXMOR_EXPORT void APIENTRY EngUnlockSurface(SURFOBJ*) {}

PIXMOR_EXPORT HSURF APIENTRY EngCreateDeviceSurface(DHSURF, SIZEL, ULONG) {
  SetLastError(ERROR_NOT_SUPPORTED);  // only engine-managed bitmaps here
  return nullptr;
}

PIXMOR_EXPORT HBITMAP APIENTRY EngCreateDeviceBitmap(DHSURF, SIZEL, ULONG) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return nullptr;
}

PIXMOR_EXPORT BOOL APIENTRY EngModifySurface(HSURF, HDEV, FLONG, FLONG, DHSURF, void*, LONG,
                                             void*) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return kFalse;
}

PIXMOR_EXPORT BOOL APIENTRY EngWritePrinter(HANDLE hPrinter, LPVOID pBuf, DWORD cbBuf,
                                            LPDWORD pcWritten) {
  return WritePrinter(hPrinter, pBuf, cbBuf, pcWritten);
}

// ---- Drawing ----

PIXMOR_EXPORT BOOL APIENTRY EngCopyBits(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco,
                                        XLATEOBJ* pxlo, RECTL* prclDest, POINTL* pptlSrc) {
  if (!Drawable(psoDest) || !Drawable(psoSrc) || prclDest == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return kFalse;
  }
  const int dstBpp = BytesPerPixel(psoDest->iBitmapFormat);
  const int srcBpp = BytesPerPixel(psoSrc->iBitmapFormat);
  const POINTL origin = pptlSrc != nullptr ? *pptlSrc : POINTL{0, 0};
  RECTL dst = *prclDest;
  RECTL visible = dst;
  if (!Intersect(visible, ClipBounds(*psoDest, pco))) return kTrue;
  // The source rectangle that the visible part reads, kept inside the
  // source surface; the destination shrinks with it.
  std::int64_t sx = std::int64_t{origin.x} + visible.left - dst.left;
  std::int64_t sy = std::int64_t{origin.y} + visible.top - dst.top;
  if (sx < 0) visible.left += static_cast<LONG>(-sx), sx = 0;
  if (sy < 0) visible.top += static_cast<LONG>(-sy), sy = 0;
  visible.right = static_cast<LONG>(
      std::min<std::int64_t>(visible.right, visible.left + (psoSrc->sizlBitmap.cx - sx)));
  visible.bottom = static_cast<LONG>(
      std::min<std::int64_t>(visible.bottom, visible.top + (psoSrc->sizlBitmap.cy - sy)));
  if (visible.left >= visible.right || visible.top >= visible.bottom) return kTrue;
  const LONG width = visible.right - visible.left;

  const TXlate* xlate = pxlo != nullptr ? Xlates().Find(pxlo) : nullptr;
  const TPalette* srcPalette = xlate != nullptr ? xlate->Source : PaletteOfSurface(psoSrc);
  const TPalette* dstPalette = xlate != nullptr ? xlate->Dest : PaletteOfSurface(psoDest);
  const bool trivial = psoSrc->iBitmapFormat == psoDest->iBitmapFormat &&
                       (pxlo == nullptr || (pxlo->flXlate & XO_TRIVIAL) != 0);

  ULONG table[256];
  if (!trivial && srcBpp == 1) {
    const bool given = pxlo != nullptr && (pxlo->flXlate & XO_TABLE) != 0 && pxlo->pulXlate;
    for (ULONG i = 0; i < 256; ++i) {
      if (given) {
        table[i] = i < pxlo->cEntries ? pxlo->pulXlate[i] : 0;
      } else {
        table[i] =
            DeviceOfRgb(RgbOfDevice(i, BMF_8BPP, srcPalette), psoDest->iBitmapFormat, dstPalette);
      }
    }
  }
  const TRowPlan plan =
      trivial ? TRowPlan{} : PlanRows(*psoDest, *psoSrc, dstPalette, srcPalette, table);
  // Within one bitmap the rectangles may overlap: rows are taken from the
  // end the destination moves away from, so each source row is read before
  // it is overwritten, and a translated row is read whole before it is
  // written.
  const bool shared = Overlap(*psoDest, *psoSrc);
  bool backwards = false;
  std::vector<BYTE> rowCopy;
  if (shared) {
    const BYTE* firstOut = RowOf(*psoDest, visible.top);
    const BYTE* firstIn = RowOf(*psoSrc, static_cast<LONG>(sy));
    backwards = (firstOut > firstIn) == (psoDest->lDelta > 0);
    if (!trivial)
      rowCopy.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(srcBpp));
  }
  for (LONG n = 0; n < visible.bottom - visible.top; ++n) {
    const LONG y = backwards ? visible.bottom - 1 - n : visible.top + n;
    BYTE* out = RowOf(*psoDest, y);
    const BYTE* in = RowOf(*psoSrc, static_cast<LONG>(sy + (y - visible.top)));
    LONG sx0 = static_cast<LONG>(sx);
    if (!trivial && shared) {
      std::memcpy(rowCopy.data(), in + static_cast<std::ptrdiff_t>(sx0) * srcBpp, rowCopy.size());
      in = rowCopy.data();
      sx0 = 0;
    }
    if (trivial) {
      std::memmove(out + static_cast<std::ptrdiff_t>(visible.left) * dstBpp,
                   in + static_cast<std::ptrdiff_t>(sx0) * srcBpp,
                   static_cast<std::size_t>(width) * static_cast<std::size_t>(dstBpp));
      continue;
    }
    BYTE* first = out + static_cast<std::ptrdiff_t>(visible.left) * dstBpp;
    const BYTE* from = in + static_cast<std::ptrdiff_t>(sx0) * srcBpp;
    switch (plan.Kind) {
      case ERowCopy::Table:
        CopyRowByTable(first, from, width, plan);
        continue;
      case ERowCopy::Direct:
        CopyRowDirect(first, from, width, plan);
        continue;
      case ERowCopy::Grey:
        CopyRowGrey(first, from, width, plan);
        continue;
      case ERowCopy::General:
        break;
    }
    for (LONG i = 0; i < width; ++i) {
      const ULONG source = ReadPixel(in, sx0 + i, srcBpp);
      const ULONG colour = srcBpp == 1
                               ? table[source]
                               : DeviceOfRgb(RgbOfDevice(source, psoSrc->iBitmapFormat, srcPalette),
                                             psoDest->iBitmapFormat, dstPalette);
      WritePixel(out, visible.left + i, dstBpp, colour);
    }
  }
  return kTrue;
}

PIXMOR_EXPORT BOOL APIENTRY EngStrokePath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ*,
                                          BRUSHOBJ* pbo, POINTL*, LINEATTRS* plineattrs, MIX) {
  const TPath* path = ppo != nullptr ? Paths().Find(ppo) : nullptr;
  if (!Drawable(pso) || path == nullptr || pbo == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return kFalse;
  }
  LONG width = 1;
  if (plineattrs != nullptr) {
    width = (plineattrs->fl & LA_GEOMETRIC) != 0
                ? static_cast<LONG>(std::lround(plineattrs->elWidth.e))
                : plineattrs->elWidth.l;
  }
  width = std::clamp<LONG>(width, 1, 4096);
  const RECTL clip = ClipBounds(*pso, pco);
  const ULONG colour = pbo->iSolidColor;
  const LONG before = (width - 1) / 2;  // a square pen centred on the line
  for (std::size_t i = 1; i < path->Points.size(); ++i) {
    // Bresenham from one point to the next, both ends drawn.
    std::int64_t x = path->Points[i - 1].x, y = path->Points[i - 1].y;
    const std::int64_t x1 = path->Points[i].x, y1 = path->Points[i].y;
    const std::int64_t dx = std::llabs(x1 - x), dy = -std::llabs(y1 - y);
    const std::int64_t stepX = x < x1 ? 1 : -1, stepY = y < y1 ? 1 : -1;
    std::int64_t error = dx + dy;
    for (;;) {
      if (x >= clip.left - width && x < clip.right + width && y >= clip.top - width &&
          y < clip.bottom + width) {
        const auto px = static_cast<LONG>(x) - before, py = static_cast<LONG>(y) - before;
        FillRect(*pso, RECTL{px, py, px + width, py + width}, clip, colour);
      }
      if (x == x1 && y == y1) break;
      const std::int64_t twice = 2 * error;
      if (twice >= dy) error += dy, x += stepX;
      if (twice <= dx) error += dx, y += stepY;
    }
  }
  return kTrue;
}

PIXMOR_EXPORT BOOL APIENTRY EngTextOut(SURFOBJ* pso, STROBJ* pstro, FONTOBJ*, CLIPOBJ* pco, RECTL*,
                                       RECTL* prclOpaque, BRUSHOBJ* pboFore, BRUSHOBJ* pboOpaque,
                                       POINTL*, MIX) {
  if (!Drawable(pso) || pstro == nullptr || pboFore == nullptr ||
      (pstro->cGlyphs != 0 && pstro->pgp == nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return kFalse;
  }
  const RECTL clip = ClipBounds(*pso, pco);
  if (prclOpaque != nullptr && pboOpaque != nullptr) {
    FillRect(*pso, *prclOpaque, clip, pboOpaque->iSolidColor);
  }
  const ULONG colour = pboFore->iSolidColor;
  for (ULONG g = 0; g < pstro->cGlyphs; ++g) {
    const GLYPHPOS& pos = pstro->pgp[g];
    if (pos.pgdf == nullptr || pos.pgdf->pgb == nullptr) continue;
    const GLYPHBITS& bits = *pos.pgdf->pgb;
    const std::int64_t left = std::int64_t{pos.ptl.x} + bits.ptlOrigin.x;
    const std::int64_t top = std::int64_t{pos.ptl.y} + bits.ptlOrigin.y;
    const LONG cx = bits.sizlBitmap.cx, cy = bits.sizlBitmap.cy;
    if (cx <= 0 || cy <= 0) continue;
    const std::size_t rowBytes = (static_cast<std::size_t>(cx) + 7) / 8;
    for (LONG r = 0; r < cy; ++r) {
      const std::int64_t y = top + r;
      if (y < clip.top || y >= clip.bottom) continue;
      const BYTE* row = bits.aj + rowBytes * static_cast<std::size_t>(r);
      for (LONG c = 0; c < cx; ++c) {
        const std::int64_t x = left + c;
        if (x < clip.left || x >= clip.right) continue;
        if ((row[c >> 3] & (0x80 >> (c & 7))) != 0) {
          PutPixel(*pso, static_cast<LONG>(x), static_cast<LONG>(y), colour);
        }
      }
    }
  }
  return kTrue;
}

// Only the plain source copy (ROP 0xCCCC) is done, through EngCopyBits.
PIXMOR_EXPORT BOOL APIENTRY EngBitBlt(SURFOBJ* psoTrg, SURFOBJ* psoSrc, SURFOBJ* psoMask,
                                      CLIPOBJ* pco, XLATEOBJ* pxlo, RECTL* prclTrg, POINTL* pptlSrc,
                                      POINTL*, BRUSHOBJ*, POINTL*, ROP4 rop4) {
  if (rop4 != 0xCCCC || psoMask != nullptr) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return kFalse;
  }
  return EngCopyBits(psoTrg, psoSrc, pco, pxlo, prclTrg, pptlSrc);
}

}  // extern "C"
