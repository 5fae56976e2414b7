// DrvSendPage: the finished page leaves as one BMP file, written to the
// spooler whole in one call. The file is built in a single buffer straight
// from the surface.
#include <optional>

#include "uDriverFunctions.h"
#include "uEntryPoint.h"
#include "uLocalBlock.h"
#include "uPDevData.h"
#include "uPageImage.h"

namespace pixmor {

BOOL APIENTRY DrvSendPage(SURFOBJ* pso) {
  return RunEntryPoint<BOOL>(kFalse, [&]() -> BOOL {
    if (pso == nullptr || pso->dhpdev == nullptr) return kFalse;
    const TPDevData& dev = *DevDataOf(pso->dhpdev);
    const EPageMode mode = IsGreyDevice(dev.DevMode) ? EPageMode::Grey : EPageMode::Colour;
    const std::optional<TPageLayout> layout = PageImageLayout(dev.PageWidth, dev.PageHeight, mode);
    if (!layout) return kFalse;  // beyond the file's 32-bit sizes: never encoded
    const auto size = static_cast<SIZE_T>(layout->FileSize);
    if (size != layout->FileSize) return kFalse;  // cannot be addressed here
    // Every byte is written by the encoder: no zero fill needed.
    TLocalBlock<BYTE> file = AllocLocal<BYTE>(LMEM_FIXED, size);
    if (!file) return kFalse;

    // The colour table is the ramp the device palette was made from, so a
    // device whose palette could not be created still gets the grey table.
    const TPageSource source{
        // Without the buffer's extent nothing could be checked: nothing is read.
        static_cast<const BYTE*>(pso->pvBits != nullptr ? pso->pvScan0 : nullptr),
        pso->lDelta,
        pso->sizlBitmap.cx,
        pso->sizlBitmap.cy,
        static_cast<const BYTE*>(pso->pvBits),
        pso->cjBits};
    const std::span<const BYTE> palette(reinterpret_cast<const BYTE*>(GreyPalette.data()),
                                        sizeof GreyPalette);
    if (!EncodePageImage(source, dev.PageWidth, dev.PageHeight, mode, palette,
                         std::span<BYTE>(file.get(), size))) {
      return kFalse;
    }
    DWORD written = 0;  // not examined: a short write is not sent again
    if (WritePrinter(dev.hPrinter, file.get(), static_cast<DWORD>(size), &written) == 0) {
      return kFalse;  // the spooler's last error stands
    }
    SetLastError(ERROR_SUCCESS);
    return kTrue;
  });
}

}  // namespace pixmor
