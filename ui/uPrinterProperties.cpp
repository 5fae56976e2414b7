// Shows the printer sheet for a printer.
#include "uCommonPropertySheet.h"
#include "uBoundary.h"
#include "uPrinterName.h"

extern "C" PIXMOR_EXPORT LONG APIENTRY PrinterProperties(HWND hWnd, HANDLE hPrinter) {
  return pixmor::Guarded(LONG{0}, [&] {
    pixmor::TLocalBlock<> info = pixmor::ReadPrinterInfo4(hPrinter);
    if (!info) return LONG{0};
    DEVICEPROPERTYHEADER header{};
    header.cbSize = sizeof(DEVICEPROPERTYHEADER);
    header.Flags = 0;
    header.hPrinter = hPrinter;
    header.pszPrinterName = reinterpret_cast<PRINTER_INFO_4W*>(info.get())->pPrinterName;
    DWORD result = 0;  // what the service reports is not used
    pixmor::RunCommonPropertySheetUI(hWnd, DrvDevicePropertySheets,
                                     reinterpret_cast<LPARAM>(&header), &result);
    return LONG{-1};
  });
}
