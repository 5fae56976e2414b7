// The page image: one BMP file from the pixels of a page. Pure functions,
// free of any platform service, so the layout is tested byte for byte and the
// caller decides where the file's memory comes from.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "uWinBase.h"

namespace pixmor {

enum class EPageMode { Grey, Colour };

inline constexpr std::uint32_t FileHeaderSize = 14;
inline constexpr std::uint32_t InfoHeaderSize = 40;
inline constexpr std::uint32_t ColourTableSize = 256 * 4;
// The size fields of the file are 32-bit: no larger file is ever made.
inline constexpr std::uint64_t MaxFileSize = 0xFFFFFFFFu;
// Longest side of a page: keeps every row figure of the surface (up to four
// bytes a pixel) within a 32-bit signed value.
inline constexpr std::int64_t MaxPageExtent = 0x7FFFFFFF / 4;

struct TPageLayout {
  std::uint32_t BytesPerPixel;
  std::uint64_t RowSize;      // pixel bytes of a row rounded up to four
  std::uint64_t PixelOffset;  // bfOffBits
  std::uint64_t FileSize;     // bfSize
};

// The layout of a page's file, or nothing when the extents are negative or
// beyond MaxPageExtent, or the file would not fit its 32-bit size fields.
std::optional<TPageLayout> PageImageLayout(std::int64_t width, std::int64_t height, EPageMode mode);

// The pixels to take into the file. Row r of the page starts at
// Scan0 + r * Delta (Delta is negative for a bottom-up surface). When Bits is
// given, no byte outside [Bits, Bits + BitsSize) is read: the copy stops at
// the first row that does not lie inside.
struct TPageSource {
  const BYTE* Scan0;
  std::int64_t Delta;
  std::int64_t Width;   // pixels a row holds
  std::int64_t Height;  // rows
  const BYTE* Bits;
  std::uint64_t BitsSize;
};

// Writes the whole file of a width x height page into `file`, which must be
// exactly the layout's FileSize long; `palette` (grey only) holds 256 entries
// of red, green, blue and a flag byte. What the source does not cover stays
// white. False, with nothing written, when the layout cannot be made or the
// buffer does not fit it.
bool EncodePageImage(const TPageSource& source, std::int64_t width, std::int64_t height,
                     EPageMode mode, std::span<const BYTE> palette, std::span<BYTE> file);

}  // namespace pixmor
