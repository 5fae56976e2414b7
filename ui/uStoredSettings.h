// The device modes the spooler keeps with a printer: per user (level 9,
// written by this driver) and printer-wide (level 8, only read).
#pragma once

#include "uPrintOem.h"

namespace pixmor {

// Copies the stored record of one scope into dest (size bytes). False when
// nothing is stored or it cannot be read; the callers then fall back.
bool LoadDevMode(HANDLE hPrinter, DEVMODEW* dest, DWORD size, bool printerWide);

// Stores the public part of a record that holds `held` bytes. The stored
// record never claims more than it carries and has no private part.
bool StoreDevMode(HANDLE hPrinter, const DEVMODEW* devMode, DWORD held, bool printerWide);

// Makes a record's dmSize + dmDriverExtra claim no more than the `held`
// bytes its buffer really carries.
void ClampClaimedSize(DEVMODEW& devMode, DWORD held);

}  // namespace pixmor
