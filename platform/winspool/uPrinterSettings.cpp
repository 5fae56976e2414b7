// The printer's information and stored device modes (GetPrinterW levels 2,
// 4, 8 and 9; SetPrinterW levels 8 and 9) and DocumentPropertiesW, which
// calls the printer's configuration driver as the spooler does.
//
// A stored device mode is one file in the printer's folder: printer-wide
// (level 8) or per user (level 9), each the record's dmSize + dmDriverExtra
// bytes, written atomically.
#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "uCompstui.h"
#include "uPrinterStore.h"

using namespace spool;

namespace {

// The bytes a record must hold before its sizes can be read.
constexpr std::size_t kSizeFieldsEnd = offsetof(DEVMODEW, dmFields);

constexpr DWORD PRINTER_ATTRIBUTE_LOCAL = 0x00000040;
constexpr LONG IDOK = 1;
constexpr LONG IDCANCEL = 2;

std::size_t ClaimedSize(const DEVMODEW& dm) {
  return std::size_t{dm.dmSize} + std::size_t{dm.dmDriverExtra};
}

// A stored record as it stands in its file; empty when none is stored or the
// file does not hold a record (too short for its own sizes).
std::vector<unsigned char> ReadStoredDevMode(const std::string& path) {
  std::vector<unsigned char> bytes;
  if (!ReadWholeFile(path, bytes) || bytes.size() < kSizeFieldsEnd) return {};
  DEVMODEW head{};
  std::memcpy(&head, bytes.data(), kSizeFieldsEnd);
  if (head.dmSize < kSizeFieldsEnd || ClaimedSize(head) > bytes.size()) return {};
  bytes.resize(ClaimedSize(head));
  return bytes;
}

// Lays out a returned structure: the fixed record first, then the strings
// and the device mode it points to, each aligned for its type. The first
// pass only measures (base null).
struct TLayout {
  BYTE* Base;
  std::size_t Used;

  void* Take(std::size_t bytes, std::size_t alignment) {
    Used = (Used + alignment - 1) / alignment * alignment;
    void* at = Base == nullptr ? nullptr : Base + Used;
    Used += bytes;
    return at;
  }
  LPWSTR String(const std::u16string& text) {
    auto* at = static_cast<LPWSTR>(Take((text.size() + 1) * sizeof(WCHAR), alignof(WCHAR)));
    if (at != nullptr) {
      std::memcpy(at, text.data(), text.size() * sizeof(WCHAR));
      at[text.size()] = 0;
    }
    return at;
  }
  DEVMODEW* DevMode(const std::vector<unsigned char>& record) {
    if (record.empty()) return nullptr;
    auto* at = static_cast<DEVMODEW*>(Take(record.size(), alignof(DEVMODEW)));
    if (at != nullptr) std::memcpy(at, record.data(), record.size());
    return at;
  }
};

void FillLevel2(TLayout& out, const TPrinterHandle& printer,
                const std::vector<unsigned char>& devMode) {
  auto* info =
      static_cast<PRINTER_INFO_2W*>(out.Take(sizeof(PRINTER_INFO_2W), alignof(PRINTER_INFO_2W)));
  LPWSTR name = out.String(printer.Name);
  LPWSTR empty = out.String(u"");
  LPWSTR port = out.String(u"FILE:");
  LPWSTR driver = out.String(Utf16(printer.DriverModule));
  LPWSTR processor = out.String(u"winprint");
  LPWSTR datatype = out.String(u"RAW");
  DEVMODEW* dm = out.DevMode(devMode);
  if (info == nullptr) return;
  *info = PRINTER_INFO_2W{};
  info->pPrinterName = name;
  info->pShareName = empty;
  info->pPortName = port;
  info->pDriverName = driver;
  info->pComment = empty;
  info->pLocation = empty;
  info->pDevMode = dm;
  info->pSepFile = empty;
  info->pPrintProcessor = processor;
  info->pDatatype = datatype;
  info->pParameters = empty;
  info->Attributes = PRINTER_ATTRIBUTE_LOCAL;
}

void FillLevel4(TLayout& out, const TPrinterHandle& printer) {
  auto* info =
      static_cast<PRINTER_INFO_4W*>(out.Take(sizeof(PRINTER_INFO_4W), alignof(PRINTER_INFO_4W)));
  LPWSTR name = out.String(printer.Name);
  if (info == nullptr) return;
  info->pPrinterName = name;
  info->pServerName = nullptr;
  info->Attributes = PRINTER_ATTRIBUTE_LOCAL;
}

void FillDevModeLevel(TLayout& out, const std::vector<unsigned char>& devMode) {
  auto* info =
      static_cast<PRINTER_INFO_9W*>(out.Take(sizeof(PRINTER_INFO_9W), alignof(PRINTER_INFO_9W)));
  DEVMODEW* dm = out.DevMode(devMode);
  if (info != nullptr) info->pDevMode = dm;
}

void Fill(TLayout& out, DWORD level, const TPrinterHandle& printer,
          const std::vector<unsigned char>& devMode) {
  switch (level) {
    case 2:
      FillLevel2(out, printer, devMode);
      break;
    case 4:
      FillLevel4(out, printer);
      break;
    default:
      FillDevModeLevel(out, devMode);
      break;
  }
}

std::string DevModePathOf(const TPrinterHandle& printer, DWORD level) {
  return level == 9 ? UserDevModePath(printer) : PrinterDevModePath(printer);
}

using PFN_DocumentSheets = LONG(APIENTRY*)(PPROPSHEETUI_INFO, LPARAM);

// The configuration driver of a printer, loaded for one call.
struct TConfigModule {
  HMODULE Module = nullptr;
  PFN_DocumentSheets DocumentSheets = nullptr;

  explicit TConfigModule(const TPrinterHandle& printer) {
    Module = LoadLibraryW(Utf16(printer.ConfigModule).c_str());
    if (Module == nullptr) return;
    if (FARPROC proc = GetProcAddress(Module, "DrvDocumentPropertySheets")) {
      DocumentSheets = std::bit_cast<PFN_DocumentSheets>(proc);
    }
  }
  ~TConfigModule() {
    if (Module != nullptr) FreeLibrary(Module);
  }
  TConfigModule(const TConfigModule&) = delete;
  TConfigModule& operator=(const TConfigModule&) = delete;
};

// Runs the document sheet through the sheet service, as the spooler does
// for DM_IN_PROMPT: 1 when the user applied it, 0 when cancelled, < 0 on
// failure.
LONG RunDocumentSheet(HWND hWnd, PFN_DocumentSheets sheets, DOCUMENTPROPERTYHEADER& header) {
  HMODULE service = LoadLibraryW(u"compstui.dll");
  if (service == nullptr) return -1;
  LONG result = -1;
  if (FARPROC proc = GetProcAddress(service, "CommonPropertySheetUIW")) {
    DWORD sheetResult = 0;
    result = std::bit_cast<PFN_CommonPropertySheetUIW>(proc)(
        hWnd, sheets, reinterpret_cast<LPARAM>(&header), &sheetResult);
  }
  FreeLibrary(service);
  return result;
}

}  // namespace

extern "C" {

PIXMOR_EXPORT BOOL WINAPI GetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD cbBuf,
                                      LPDWORD pcbNeeded) {
  TPrinterHandle* printer = HandleOf(hPrinter);
  if (printer == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return kFalse;
  }
  if (pcbNeeded == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return kFalse;
  }
  if (Level != 2 && Level != 4 && Level != 8 && Level != 9) {
    SetLastError(ERROR_INVALID_LEVEL);
    return kFalse;
  }
  // Level 2 carries the printer-wide record, as level 8 does.
  std::vector<unsigned char> devMode;
  if (Level != 4) devMode = ReadStoredDevMode(DevModePathOf(*printer, Level));

  TLayout measure{nullptr, 0};
  Fill(measure, Level, *printer, devMode);
  *pcbNeeded = static_cast<DWORD>(measure.Used);
  if (pPrinter == nullptr || cbBuf < measure.Used) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return kFalse;
  }
  TLayout out{pPrinter, 0};
  Fill(out, Level, *printer, devMode);
  return kTrue;
}

PIXMOR_EXPORT BOOL WINAPI SetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter,
                                      DWORD Command) {
  TPrinterHandle* printer = HandleOf(hPrinter);
  if (printer == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return kFalse;
  }
  if (Level != 8 && Level != 9) {
    SetLastError(ERROR_INVALID_LEVEL);
    return kFalse;
  }
  if (pPrinter == nullptr || Command != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return kFalse;
  }
  const std::string path = DevModePathOf(*printer, Level);
  const DEVMODEW* dm = reinterpret_cast<const PRINTER_INFO_9W*>(pPrinter)->pDevMode;
  if (dm == nullptr) {  // clears the stored record
    if (std::remove(path.c_str()) != 0 && errno != ENOENT) {
      SetLastError(ERROR_ACCESS_DENIED);
      return kFalse;
    }
    return kTrue;
  }
  if (dm->dmSize < kSizeFieldsEnd) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return kFalse;
  }
  if (!MakeFolders(printer->Folder) || !WriteFileAtomic(path, dm, ClaimedSize(*dm))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return kFalse;
  }
  return kTrue;
}

PIXMOR_EXPORT LONG WINAPI DocumentPropertiesW(HWND hWnd, HANDLE hPrinter, LPWSTR pDeviceName,
                                              DEVMODEW* pDevModeOutput, DEVMODEW* pDevModeInput,
                                              DWORD fMode) {
  TPrinterHandle* printer = HandleOf(hPrinter);
  if (printer == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  TConfigModule config(*printer);
  if (config.DocumentSheets == nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return -1;
  }
  std::u16string name = pDeviceName != nullptr ? std::u16string(pDeviceName) : printer->Name;
  DOCUMENTPROPERTYHEADER header{};
  header.cbSize = sizeof(DOCUMENTPROPERTYHEADER);
  header.hPrinter = hPrinter;
  header.pszPrinterName = name.data();

  // The driver's size of a record comes first; it is the whole answer to
  // fMode 0 and the size of the caller's output buffer otherwise.
  const LONG size = config.DocumentSheets(nullptr, reinterpret_cast<LPARAM>(&header));
  if (fMode == 0 || size <= 0) return size;

  header.pdmIn = (fMode & DM_IN_BUFFER) != 0 ? pDevModeInput : nullptr;
  header.pdmOut = (fMode & DM_OUT_BUFFER) != 0 ? pDevModeOutput : nullptr;
  header.cbOut = header.pdmOut != nullptr ? static_cast<DWORD>(size) : 0;
  header.fMode = fMode;

  if ((fMode & DM_IN_PROMPT) != 0) {
    const LONG shown = RunDocumentSheet(hWnd, config.DocumentSheets, header);
    if (shown < 0) return -1;
    return shown == static_cast<LONG>(CPSUI_OK) ? IDOK : IDCANCEL;
  }
  const LONG result = config.DocumentSheets(nullptr, reinterpret_cast<LPARAM>(&header));
  return result < 0 ? -1 : IDOK;
}

}  // extern "C"
