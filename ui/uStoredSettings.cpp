#include "uStoredSettings.h"

#include <algorithm>
#include <cstring>

#include "uLocalBlock.h"
#include "uPixmorDefs.h"

namespace pixmor {

namespace {

// The bytes up to and including dmDriverExtra: what a record must hold
// before its sizes can be read.
constexpr DWORD SizeFieldsEnd = offsetof(DEVMODEW, dmFields);

DWORD ClaimedSize(const DEVMODEW& devMode) {
  return DWORD{devMode.dmSize} + DWORD{devMode.dmDriverExtra};
}

}  // namespace

void ClampClaimedSize(DEVMODEW& devMode, DWORD held) {
  if (held < SizeFieldsEnd) return;
  if (devMode.dmSize > held) {
    devMode.dmSize = static_cast<WORD>(held);
    devMode.dmDriverExtra = 0;
  } else if (ClaimedSize(devMode) > held) {
    devMode.dmDriverExtra = static_cast<WORD>(held - devMode.dmSize);
  }
}

bool LoadDevMode(HANDLE hPrinter, DEVMODEW* dest, DWORD size, bool printerWide) {
  if (dest == nullptr) return false;
  const DWORD level = printerWide ? 8 : 9;
  DWORD needed = 0;
  if (GetPrinterW(hPrinter, level, nullptr, 0, &needed) ||
      GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
    return false;
  }
  if (needed < sizeof(PRINTER_INFO_9W)) return false;
  TLocalBlock<> buffer = AllocZeroed(needed);
  if (!buffer) return false;
  DWORD filled = 0;
  if (!GetPrinterW(hPrinter, level, buffer.get(), needed, &filled)) return false;
  const auto* info = reinterpret_cast<const PRINTER_INFO_9W*>(buffer.get());
  if (info->pDevMode == nullptr) {
    SetLastError(ERROR_INVALID_DATA);
    return false;
  }
  // The record must lie in the buffer; it is never read past the buffer's
  // end, whatever its sizes claim.
  const auto begin = reinterpret_cast<std::uintptr_t>(buffer.get());
  const auto record = reinterpret_cast<std::uintptr_t>(info->pDevMode);
  if (record < begin || record >= begin + needed) return false;
  const auto available = static_cast<DWORD>(begin + needed - record);
  if (available < SizeFieldsEnd || info->pDevMode->dmSize < SizeFieldsEnd) return false;
  const DWORD copied = std::min({size, available, ClaimedSize(*info->pDevMode)});

  // What the stored record does not cover keeps the default's bytes.
  const DWORD publicPart = std::min<DWORD>(size, DevModeSize);
  if (copied < publicPart) {
    std::memcpy(reinterpret_cast<BYTE*>(dest) + copied,
                reinterpret_cast<const BYTE*>(&DefaultDevMode) + copied, publicPart - copied);
  }
  std::memcpy(dest, info->pDevMode, copied);
  if (size >= SizeFieldsEnd) ClampClaimedSize(*dest, copied);
  return true;
}

bool StoreDevMode(HANDLE hPrinter, const DEVMODEW* devMode, DWORD held, bool printerWide) {
  if (devMode == nullptr || held < SizeFieldsEnd) return false;
  const DWORD publicPart = std::min({DWORD{devMode->dmSize}, held, DWORD{DevModeSize}});
  if (publicPart < SizeFieldsEnd) return false;
  DEVMODEW record{};
  std::memcpy(&record, devMode, publicPart);
  record.dmSize = static_cast<WORD>(publicPart);
  record.dmDriverExtra = 0;
  PRINTER_INFO_9W info{&record};  // level 8 has the same layout
  return SetPrinterW(hPrinter, printerWide ? 8 : 9, reinterpret_cast<LPBYTE>(&info), 0) != 0;
}

}  // namespace pixmor
