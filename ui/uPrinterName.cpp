#include "uPrinterName.h"

namespace pixmor {

TLocalBlock<> ReadPrinterInfo4(HANDLE hPrinter) {
  DWORD needed = 0;
  if (GetPrinterW(hPrinter, 4, nullptr, 0, &needed) ||
      GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed < sizeof(PRINTER_INFO_4W)) {
    return nullptr;
  }
  TLocalBlock<> buffer = AllocZeroed(needed);
  if (!buffer) return nullptr;
  DWORD filled = 0;
  if (!GetPrinterW(hPrinter, 4, buffer.get(), needed, &filled)) return nullptr;
  return buffer;
}

}  // namespace pixmor
