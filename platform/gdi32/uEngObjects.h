// The substitute engine's objects. Each published object that crosses into a
// driver (SURFOBJ, XLATEOBJ, PATHOBJ, STROBJ) sits at the start of a larger
// private record, so an engine service handed the published pointer back
// finds the rest; a registry of live records tells our objects from any
// other pointer before a private field is read.
#pragma once

#include <mutex>
#include <unordered_set>
#include <vector>

#include "uGdiClient.h"

namespace gdi {

inline constexpr FLONG LA_GEOMETRIC = 0x2;
inline constexpr USHORT STYPE_BITMAP = 0;
inline constexpr FLONG ED_ABORTDOC = 1;

// A set of live records of one kind, safe across threads.
template <class T>
class TRegistry {
 public:
  void Add(T* p) {
    std::lock_guard<std::mutex> guard(Lock);
    Live.insert(p);
  }
  void Remove(T* p) {
    std::lock_guard<std::mutex> guard(Lock);
    Live.erase(p);
  }
  T* Find(const void* p) {
    std::lock_guard<std::mutex> guard(Lock);
    auto it = Live.find(static_cast<T*>(const_cast<void*>(p)));
    return it == Live.end() ? nullptr : *it;
  }

 private:
  std::mutex Lock;
  std::unordered_set<T*> Live;
};

// Palettes and surfaces are plain records in LocalAlloc blocks, like every
// other allocation of the substitute platform (so a test can make them fail).
inline constexpr ULONG MaxPaletteEntries = 256;
struct TPalette {
  ULONG Mode;  // PAL_INDEXED, PAL_BGR, PAL_RGB or PAL_BITFIELDS
  ULONG Count;
  ULONG Colours[MaxPaletteEntries];  // indexed: red, green, blue, flags bytes in memory
  bool GreyRamp;                     // indexed with entry i = (i, i, i)
};

struct TSurface {
  SURFOBJ so;  // first: the driver's SURFOBJ* is this record
  FLONG Hooks;
  TPalette* Palette;  // the associated device's palette, or null
  void* OwnBits;      // pixels the engine allocated (LocalAlloc), or null
};

// Colour translation from a source to a destination: the published object
// carries the index table of an indexed source; the palettes stay here.
struct TXlate {
  XLATEOBJ xo;
  TPalette* Source;
  TPalette* Dest;
  std::vector<ULONG> Table;
};

// A path of points in device pixels, stroked segment by segment.
struct TPath {
  PATHOBJ po;
  std::vector<POINTL> Points;
};

TRegistry<TPalette>& Palettes();
TRegistry<TSurface>& Surfaces();
TRegistry<TXlate>& Xlates();
TRegistry<TPath>& Paths();

// The engine side of a device (what HDEV stands for), registered by the DC
// front; EngAssociateSurface takes the driver's handle and palette from it.
struct TDeviceLink {
  DHPDEV dhpdev;
  HPALETTE Palette;
};
TDeviceLink* FindDevice(HDEV hdev);

// Colours. A device colour is what a surface pixel holds: an index for 8
// bits, 0x00RRGGBB (stored blue, green, red) for 24 and 32 bits.
struct TRgb {
  BYTE Red;
  BYTE Green;
  BYTE Blue;
};
inline BYTE Luminance(TRgb c) {
  return static_cast<BYTE>((77u * c.Red + 150u * c.Green + 29u * c.Blue + 128u) >> 8);
}
// The colour a device colour stands for on a surface of the given format.
TRgb RgbOfDevice(ULONG colour, ULONG format, const TPalette* palette);
// The device colour nearest to an RGB colour.
ULONG DeviceOfRgb(TRgb c, ULONG format, const TPalette* palette);
inline TRgb RgbOfColorRef(COLORREF c) {
  return TRgb{static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16)};
}

// Whether drawing may take its fast paths (tests compare them with the
// general path by turning them off).
bool FastPathsOn();

int BytesPerPixel(ULONG format);  // 1, 3 or 4; 0 for a format we do not draw
void PutPixel(SURFOBJ& so, LONG x, LONG y, ULONG colour);  // no bounds test
inline BYTE* RowOf(SURFOBJ& so, LONG y) {
  return static_cast<BYTE*>(so.pvScan0) + static_cast<std::ptrdiff_t>(y) * so.lDelta;
}

// The rectangle drawing may touch: the surface, narrowed by a clip object.
RECTL ClipBounds(const SURFOBJ& so, const CLIPOBJ* pco);
inline bool Intersect(RECTL& r, const RECTL& with) {
  r.left = r.left > with.left ? r.left : with.left;
  r.top = r.top > with.top ? r.top : with.top;
  r.right = r.right < with.right ? r.right : with.right;
  r.bottom = r.bottom < with.bottom ? r.bottom : with.bottom;
  return r.left < r.right && r.top < r.bottom;
}

}  // namespace gdi
