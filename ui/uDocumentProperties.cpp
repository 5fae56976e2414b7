// Shows the document sheet for a printer on its own.
#include "uCommonPropertySheet.h"
#include "uBoundary.h"
#include "uPrinterName.h"

extern "C" PIXMOR_EXPORT LONG APIENTRY DocumentProperties(HWND hWnd, HANDLE hPrinter) {
  return pixmor::Guarded(LONG{0}, [&] {
    pixmor::TLocalBlock<> info = pixmor::ReadPrinterInfo4(hPrinter);
    if (!info) return LONG{0};
    DOCUMENTPROPERTYHEADER header{};
    header.cbSize = sizeof(DOCUMENTPROPERTYHEADER);
    header.hPrinter = hPrinter;
    header.pszPrinterName = reinterpret_cast<PRINTER_INFO_4W*>(info.get())->pPrinterName;
    DWORD result = 0;  // what the service reports is not used
    pixmor::RunCommonPropertySheetUI(hWnd, DrvDocumentPropertySheets,
                                     reinterpret_cast<LPARAM>(&header), &result);
    return LONG{-1};
  });
}
