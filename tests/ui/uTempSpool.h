// A printer in a spool folder of the test's own, removed afterwards, so a
// test never touches the user's printers.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "uSpoolerClient.h"

struct TTempSpool {
  std::string Folder;
  HANDLE Printer = nullptr;

  explicit TTempSpool(const char16_t* configModule = u"pixmorui.dll") {
    char pattern[] = "/tmp/pixmor-spool-XXXXXX";
    const char* made = mkdtemp(pattern);
    EXPECT_NE(made, nullptr);
    Folder = made != nullptr ? made : "";
    PlatformSetSpoolFolder(Folder.c_str());
    PlatformSetSpoolUser("tester");
    EXPECT_TRUE(PlatformAddPrinter(u"Pixmor Test", u"pixmor.dll", configModule));
    EXPECT_TRUE(OpenPrinterW(const_cast<LPWSTR>(u"Pixmor Test"), &Printer, nullptr));
  }
  ~TTempSpool() {
    if (Printer != nullptr) ClosePrinter(Printer);
    PlatformSetSpoolUser(nullptr);
    PlatformSetSpoolFolder(nullptr);
    std::error_code ignored;
    if (!Folder.empty()) std::filesystem::remove_all(Folder, ignored);
  }
  TTempSpool(const TTempSpool&) = delete;
  TTempSpool& operator=(const TTempSpool&) = delete;

  // The stored record of one level (8 printer-wide, 9 per user) as the
  // spooler returns it, if any: its dmSize + dmDriverExtra bytes.
  std::optional<std::vector<unsigned char>> StoredBytes(DWORD level) const {
    DWORD needed = 0;
    if (GetPrinterW(Printer, level, nullptr, 0, &needed)) return std::nullopt;
    std::vector<unsigned char> buffer(needed);
    if (!GetPrinterW(Printer, level, buffer.data(), needed, &needed)) return std::nullopt;
    const DEVMODEW* dm = reinterpret_cast<PRINTER_INFO_9W*>(buffer.data())->pDevMode;
    if (dm == nullptr) return std::nullopt;
    const auto* begin = reinterpret_cast<const unsigned char*>(dm);
    return std::vector<unsigned char>(begin, begin + dm->dmSize + dm->dmDriverExtra);
  }

  std::optional<DEVMODEW> Stored(DWORD level) const {
    auto bytes = StoredBytes(level);
    if (!bytes) return std::nullopt;
    DEVMODEW out{};
    std::memcpy(&out, bytes->data(), std::min(sizeof out, bytes->size()));
    return out;
  }

  bool Store(DWORD level, const DEVMODEW& record) const {
    PRINTER_INFO_9W info{const_cast<DEVMODEW*>(&record)};
    return SetPrinterW(Printer, level, reinterpret_cast<LPBYTE>(&info), 0) != 0;
  }
};
