// The substitute spooler's printers: one folder per printer in the spool
// folder, holding its configuration and its stored device modes, each file
// written atomically (temporary file, then rename).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "uSpoolerClient.h"

namespace spool {

struct TPrinterHandle {
  std::uint32_t Magic;
  std::u16string Name;
  std::string Folder;        // the printer's own folder
  std::string DriverModule;  // rendering driver, e.g. "pixmor.dll"
  std::string ConfigModule;  // configuration driver, e.g. "pixmorui.dll"
  // The open document, if any.
  bool JobOpen = false;
  DWORD JobId = 0;
  std::string JobFile;  // where the finished job goes
  std::string JobTemp;  // where it is written until EndDocPrinterW
  int JobFd = -1;
  std::string LastJobFile;
};

// The handle record behind a HANDLE, or null for anything else.
TPrinterHandle* HandleOf(HANDLE handle);

std::string SpoolFolder();
std::string PrinterFolder(const std::u16string& name);
std::string CurrentUser();

std::string Utf8(const std::u16string& text);
std::u16string Utf16(const std::string& text);

// Creates a folder and its parents; true when it exists afterwards.
bool MakeFolders(const std::string& path);
bool WriteFileAtomic(const std::string& path, const void* data, std::size_t size);
bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& out);

// Where a printer keeps its printer-wide and per-user device modes.
std::string PrinterDevModePath(const TPrinterHandle& printer);
std::string UserDevModePath(const TPrinterHandle& printer);

}  // namespace spool
