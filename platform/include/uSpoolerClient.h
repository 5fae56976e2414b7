// The spooler calls that applications and the print host make (the drivers
// use only WritePrinter, GetPrinterW and SetPrinterW), and the substitute
// spooler's own switches for keeping printers in a spool folder.
#pragma once

#include "uPrintOem.h"

struct PRINTER_DEFAULTSW {
  LPWSTR pDatatype;
  DEVMODEW* pDevMode;
  DWORD DesiredAccess;
};

struct PRINTER_INFO_2W {
  LPWSTR pServerName;
  LPWSTR pPrinterName;
  LPWSTR pShareName;
  LPWSTR pPortName;
  LPWSTR pDriverName;
  LPWSTR pComment;
  LPWSTR pLocation;
  DEVMODEW* pDevMode;
  LPWSTR pSepFile;
  LPWSTR pPrintProcessor;
  LPWSTR pDatatype;
  LPWSTR pParameters;
  void* pSecurityDescriptor;
  DWORD Attributes;
  DWORD Priority;
  DWORD DefaultPriority;
  DWORD StartTime;
  DWORD UntilTime;
  DWORD Status;
  DWORD cJobs;
  DWORD AveragePPM;
};

struct DOC_INFO_1W {
  LPWSTR pDocName;
  LPWSTR pOutputFile;
  LPWSTR pDatatype;
};

extern "C" {
PIXMOR_EXPORT BOOL WINAPI OpenPrinterW(LPWSTR pPrinterName, HANDLE* phPrinter,
                                       PRINTER_DEFAULTSW* pDefault);
PIXMOR_EXPORT BOOL WINAPI ClosePrinter(HANDLE hPrinter);
PIXMOR_EXPORT DWORD WINAPI StartDocPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pDocInfo);
PIXMOR_EXPORT BOOL WINAPI EndDocPrinterW(HANDLE hPrinter);
PIXMOR_EXPORT BOOL WINAPI AbortPrinter(HANDLE hPrinter);
PIXMOR_EXPORT LONG WINAPI DocumentPropertiesW(HWND hWnd, HANDLE hPrinter, LPWSTR pDeviceName,
                                              DEVMODEW* pDevModeOutput, DEVMODEW* pDevModeInput,
                                              DWORD fMode);
// Asks the printer's configuration driver (DrvDeviceCapabilities); -1 when
// the printer or its driver cannot be reached.
PIXMOR_EXPORT INT WINAPI DeviceCapabilitiesW(LPCWSTR pDevice, LPCWSTR pPort, WORD fwCapability,
                                             LPWSTR pOutput, const DEVMODEW* pDevMode);

// ---- The substitute spooler's own calls (Linux only) ----

// The spool folder: set by the host, else $PIXMOR_SPOOL_DIR, else
// $XDG_DATA_HOME/pixmor, else ~/.local/share/pixmor. A null path resets it.
PIXMOR_EXPORT void PlatformSetSpoolFolder(const char* path);
PIXMOR_EXPORT const char* PlatformSpoolFolder();
// Adds a printer with the module names of its rendering and configuration
// drivers ("pixmor.dll", "pixmorui.dll"). False when it exists already or
// cannot be written, with the last error set.
PIXMOR_EXPORT BOOL PlatformAddPrinter(LPCWSTR name, LPCWSTR driverModule, LPCWSTR configModule);
PIXMOR_EXPORT BOOL PlatformDeletePrinter(LPCWSTR name);
// The names of the printers, each zero-terminated, one after another, and a
// final zero; returns the units needed (call with a null buffer for it).
PIXMOR_EXPORT DWORD PlatformListPrinters(LPWSTR buffer, DWORD units);
// The job output file of the document started last on a handle (UTF-8).
PIXMOR_EXPORT const char* PlatformJobFile(HANDLE hPrinter);
// Makes the n-th WritePrinter from now fail with ERROR_WRITE_FAULT (tests;
// $PIXMOR_FAIL_WRITE_PRINTER=n does the same from the process's start).
PIXMOR_EXPORT void PlatformFailNthWritePrinter(unsigned long n);
// The user whose per-user settings a handle reads and writes: by default the
// login name; tests may set another.
PIXMOR_EXPORT void PlatformSetSpoolUser(const char* user);
}
