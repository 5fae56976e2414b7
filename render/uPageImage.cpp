#include "uPageImage.h"

#include <algorithm>
#include <cstring>

namespace pixmor {

namespace {

void Put16(BYTE* at, std::uint32_t value) {
  at[0] = static_cast<BYTE>(value);
  at[1] = static_cast<BYTE>(value >> 8);
}

void Put32(BYTE* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<BYTE>(value >> (8 * i));
}

// Whether [row, row + bytes) lies inside [bits, bits + size), by address
// arithmetic only, so a stray row pointer is never formed or dereferenced.
bool RowInside(std::uintptr_t row, std::uint64_t bytes, std::uintptr_t bits, std::uint64_t size) {
  if (row < bits) return false;
  const std::uint64_t offset = row - bits;
  return offset <= size && bytes <= size - offset;
}

}  // namespace

std::optional<TPageLayout> PageImageLayout(std::int64_t width, std::int64_t height,
                                           EPageMode mode) {
  if (width < 0 || height < 0 || width > MaxPageExtent || height > MaxPageExtent) {
    return std::nullopt;
  }
  TPageLayout layout{};
  layout.BytesPerPixel = mode == EPageMode::Grey ? 1 : 3;
  layout.RowSize =
      (static_cast<std::uint64_t>(width) * layout.BytesPerPixel + 3) & ~std::uint64_t{3};
  layout.PixelOffset =
      FileHeaderSize + InfoHeaderSize + (mode == EPageMode::Grey ? ColourTableSize : 0);
  // Both factors are below 2^31, so the product cannot wrap in 64 bits.
  const std::uint64_t pixelBytes = layout.RowSize * static_cast<std::uint64_t>(height);
  if (pixelBytes > MaxFileSize - layout.PixelOffset) return std::nullopt;
  layout.FileSize = layout.PixelOffset + pixelBytes;
  return layout;
}

bool EncodePageImage(const TPageSource& source, std::int64_t width, std::int64_t height,
                     EPageMode mode, std::span<const BYTE> palette, std::span<BYTE> file) {
  const std::optional<TPageLayout> layout = PageImageLayout(width, height, mode);
  if (!layout || file.size() != layout->FileSize) return false;
  if (mode == EPageMode::Grey && palette.size() != ColourTableSize) return false;

  BYTE* out = file.data();
  const auto pixelBytes = static_cast<std::uint32_t>(layout->FileSize - layout->PixelOffset);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out + 2, static_cast<std::uint32_t>(layout->FileSize));
  Put32(out + 6, 0);  // bfReserved1, bfReserved2
  Put32(out + 10, static_cast<std::uint32_t>(layout->PixelOffset));
  Put32(out + 14, InfoHeaderSize);
  Put32(out + 18, static_cast<std::uint32_t>(width));
  Put32(out + 22, static_cast<std::uint32_t>(height));  // positive: rows stored bottom-up
  Put16(out + 26, 1);
  Put16(out + 28, layout->BytesPerPixel * 8);
  Put32(out + 30, 0);  // BI_RGB
  Put32(out + 34, pixelBytes);
  Put32(out + 38, 0);  // no resolution recorded
  Put32(out + 42, 0);
  Put32(out + 46, mode == EPageMode::Grey ? 256 : 0);
  Put32(out + 50, 0);
  if (mode == EPageMode::Grey) {
    BYTE* table = out + FileHeaderSize + InfoHeaderSize;
    for (std::size_t i = 0; i < 256; ++i) {
      table[4 * i + 0] = palette[4 * i + 2];  // blue
      table[4 * i + 1] = palette[4 * i + 1];  // green
      table[4 * i + 2] = palette[4 * i + 0];  // red
      table[4 * i + 3] = 0;
    }
  }

  // Only as much as both the surface and the image hold is copied.
  const std::uint64_t bpp = layout->BytesPerPixel;
  const std::uint64_t rowBytes = static_cast<std::uint64_t>(width) * bpp;
  const std::int64_t copyRows = std::clamp<std::int64_t>(source.Height, 0, height);
  const std::uint64_t copyBytes =
      static_cast<std::uint64_t>(std::clamp<std::int64_t>(source.Width, 0, width)) * bpp;
  const auto scan0 = reinterpret_cast<std::uintptr_t>(source.Scan0);
  const auto bits = reinterpret_cast<std::uintptr_t>(source.Bits);

  // Every offset below lies inside `file`, whose size is a size_t.
  BYTE* pixels = out + static_cast<std::size_t>(layout->PixelOffset);
  const auto rowSize = static_cast<std::size_t>(layout->RowSize);
  const auto rowCopy = static_cast<std::size_t>(copyBytes);
  const auto rowPixels = static_cast<std::size_t>(rowBytes);
  bool copying = source.Scan0 != nullptr;
  for (std::int64_t r = 0; r < height; ++r) {
    // The first row of the file is the bottom row of the page.
    BYTE* row = pixels + static_cast<std::size_t>(height - 1 - r) * rowSize;
    std::size_t copied = 0;
    if (copying && r < copyRows) {
      // Wraps as the address itself would; checked before it is used.
      const std::uintptr_t from = scan0 + static_cast<std::uintptr_t>(r * source.Delta);
      if (source.Bits == nullptr || RowInside(from, copyBytes, bits, source.BitsSize)) {
        std::memcpy(row, reinterpret_cast<const BYTE*>(from), rowCopy);
        copied = rowCopy;
      } else {
        copying = false;  // a row outside the surface ends the copy; the rest stays white
      }
    }
    std::memset(row + copied, 0xFF, rowPixels - copied);
    std::memset(row + rowPixels, 0, rowSize - rowPixels);
  }
  return true;
}

}  // namespace pixmor
