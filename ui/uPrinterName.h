// Reads the printer's PRINTER_INFO_4 (for its name) the way the spooler
// wants to be asked: the size first, then the information.
#pragma once

#include "uLocalBlock.h"
#include "uPrintOem.h"

namespace pixmor {

// The buffer holding the PRINTER_INFO_4W, or null when it cannot be read.
TLocalBlock<> ReadPrinterInfo4(HANDLE hPrinter);

}  // namespace pixmor
