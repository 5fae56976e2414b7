// GetPrinterW and SetPrinterW of the substitute spooler: the size first,
// then the information with its pointers into the caller's buffer; stored
// device modes per printer, printer-wide and per user, written atomically.
#include <gtest/gtest.h>

#include "uCaseName.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "uTempSpool.h"

namespace {

constexpr DWORD kUntouched = 0xDEADBEEF;

DEVMODEW Record(SHORT paper) {
  DEVMODEW dm{};
  dm.dmSpecVersion = 0x0401;
  dm.dmSize = sizeof(DEVMODEW);
  dm.dmPaperSize = paper;
  return dm;
}

bool Inside(const void* pointer, const std::vector<BYTE>& buffer) {
  const auto* p = static_cast<const BYTE*>(pointer);
  return p >= buffer.data() && p < buffer.data() + buffer.size();
}

// Asks for the size, then fills a buffer of exactly that size.
std::vector<BYTE> Info(HANDLE printer, DWORD level) {
  DWORD needed = 0;
  SetLastError(kUntouched);
  EXPECT_FALSE(GetPrinterW(printer, level, nullptr, 0, &needed));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_GT(needed, 0u);
  std::vector<BYTE> buffer(needed, 0xEE);
  DWORD again = 0;
  EXPECT_TRUE(GetPrinterW(printer, level, buffer.data(), needed, &again));
  EXPECT_EQ(again, needed);
  return buffer;
}

struct TLevelCase {
  const char* name;
  DWORD level;
};

class EveryLevel : public testing::TestWithParam<TLevelCase> {
 protected:
  TTempSpool spool;
};

TEST_P(EveryLevel, SizeFirstThenFillAndAShortBufferFails) {
  DWORD needed = 0;
  GetPrinterW(spool.Printer, GetParam().level, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed, 0xEE);
  DWORD reported = 0;
  SetLastError(kUntouched);
  EXPECT_FALSE(GetPrinterW(spool.Printer, GetParam().level, buffer.data(), needed - 1, &reported));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(reported, needed);
  EXPECT_EQ(buffer[0], 0xEE);  // nothing written into a short buffer
  Info(spool.Printer, GetParam().level);
}

INSTANTIATE_TEST_SUITE_P(Levels, EveryLevel,
                         testing::Values(TLevelCase{"level2", 2}, TLevelCase{"level4", 4},
                                         TLevelCase{"level8", 8}, TLevelCase{"level9", 9}),
                         TCaseName());

TEST(GetPrinterW, NamesAndPointersIntoTheBuffer) {
  TTempSpool spool;
  const std::vector<BYTE> four = Info(spool.Printer, 4);
  const auto* info4 = reinterpret_cast<const PRINTER_INFO_4W*>(four.data());
  EXPECT_TRUE(Inside(info4->pPrinterName, four));
  EXPECT_EQ(std::u16string(info4->pPrinterName), u"Pixmor Test");
  EXPECT_EQ(info4->pServerName, nullptr);

  ASSERT_TRUE(spool.Store(8, Record(8)));
  const std::vector<BYTE> two = Info(spool.Printer, 2);
  const auto* info2 = reinterpret_cast<const PRINTER_INFO_2W*>(two.data());
  EXPECT_EQ(std::u16string(info2->pPrinterName), u"Pixmor Test");
  EXPECT_EQ(std::u16string(info2->pDriverName), u"pixmor.dll");
  ASSERT_TRUE(Inside(info2->pDevMode, two));
  EXPECT_EQ(info2->pDevMode->dmPaperSize, 8);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(info2->pDevMode) % alignof(DEVMODEW), 0u);
}

TEST(GetPrinterW, NothingStoredGivesANullRecord) {
  TTempSpool spool;
  for (DWORD level : {8u, 9u}) {
    const std::vector<BYTE> buffer = Info(spool.Printer, level);
    EXPECT_EQ(buffer.size(), sizeof(PRINTER_INFO_9W));
    EXPECT_EQ(reinterpret_cast<const PRINTER_INFO_9W*>(buffer.data())->pDevMode, nullptr);
  }
}

TEST(GetPrinterW, Failures) {
  TTempSpool spool;
  DWORD needed = 0;
  BYTE buffer[64];
  std::uint32_t notAPrinter[16] = {};
  BYTE tooSmallToRead[1] = {};
  HANDLE closed = nullptr;
  ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(u"Pixmor Test"), &closed, nullptr));
  ClosePrinter(closed);
  struct TCase {
    HANDLE printer;
    DWORD level;
    LPDWORD needed;
    DWORD error;
  };
  for (const TCase& c : {TCase{nullptr, 4, &needed, ERROR_INVALID_HANDLE},
                         TCase{notAPrinter, 4, &needed, ERROR_INVALID_HANDLE},
                         TCase{tooSmallToRead, 4, &needed, ERROR_INVALID_HANDLE},
                         TCase{closed, 4, &needed, ERROR_INVALID_HANDLE},
                         TCase{spool.Printer, 4, nullptr, ERROR_INVALID_PARAMETER},
                         TCase{spool.Printer, 1, &needed, ERROR_INVALID_LEVEL},
                         TCase{spool.Printer, 5, &needed, ERROR_INVALID_LEVEL}}) {
    SetLastError(kUntouched);
    EXPECT_FALSE(GetPrinterW(c.printer, c.level, buffer, sizeof buffer, c.needed));
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST(SetPrinterW, ScopesAreSeparateAndPerUser) {
  TTempSpool spool;
  ASSERT_TRUE(spool.Store(9, Record(9)));
  EXPECT_FALSE(spool.Stored(8).has_value());
  ASSERT_TRUE(spool.Store(8, Record(8)));
  EXPECT_EQ(spool.Stored(9)->dmPaperSize, 9);
  EXPECT_EQ(spool.Stored(8)->dmPaperSize, 8);

  PlatformSetSpoolUser("someone-else");
  EXPECT_FALSE(spool.Stored(9).has_value());  // another user has none yet
  EXPECT_EQ(spool.Stored(8)->dmPaperSize, 8);
  ASSERT_TRUE(spool.Store(9, Record(11)));
  PlatformSetSpoolUser("tester");
  EXPECT_EQ(spool.Stored(9)->dmPaperSize, 9);

  // A record with a private part is kept whole.
  std::vector<BYTE> withExtra(236, 0x77);
  DEVMODEW head = Record(5);
  head.dmDriverExtra = 16;
  std::memcpy(withExtra.data(), &head, sizeof head);
  ASSERT_TRUE(spool.Store(9, *reinterpret_cast<DEVMODEW*>(withExtra.data())));
  EXPECT_EQ(spool.StoredBytes(9).value(), withExtra);

  // A null record clears the scope.
  PRINTER_INFO_9W clear{nullptr};
  EXPECT_TRUE(SetPrinterW(spool.Printer, 9, reinterpret_cast<LPBYTE>(&clear), 0));
  EXPECT_FALSE(spool.Stored(9).has_value());
  EXPECT_TRUE(SetPrinterW(spool.Printer, 9, reinterpret_cast<LPBYTE>(&clear), 0));
  EXPECT_EQ(spool.Stored(8)->dmPaperSize, 8);

  // Every write went through a temporary file that is gone.
  for (const auto& entry :
       std::filesystem::directory_iterator(spool.Folder + "/printers/Pixmor Test")) {
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
  }
}

TEST(SetPrinterW, Failures) {
  TTempSpool spool;
  DEVMODEW dm = Record(9);
  PRINTER_INFO_9W info{&dm};
  auto* bytes = reinterpret_cast<LPBYTE>(&info);
  DEVMODEW tiny = Record(9);
  tiny.dmSize = 40;
  PRINTER_INFO_9W tinyInfo{&tiny};
  struct TCase {
    HANDLE printer;
    DWORD level;
    LPBYTE info;
    DWORD command;
    DWORD error;
  };
  for (const TCase& c :
       {TCase{nullptr, 9, bytes, 0, ERROR_INVALID_HANDLE},
        TCase{spool.Printer, 2, bytes, 0, ERROR_INVALID_LEVEL},
        TCase{spool.Printer, 4, bytes, 0, ERROR_INVALID_LEVEL},
        TCase{spool.Printer, 9, nullptr, 0, ERROR_INVALID_PARAMETER},
        TCase{spool.Printer, 9, bytes, 3, ERROR_INVALID_PARAMETER},
        TCase{spool.Printer, 9, reinterpret_cast<LPBYTE>(&tinyInfo), 0, ERROR_INVALID_PARAMETER}}) {
    SetLastError(kUntouched);
    EXPECT_FALSE(SetPrinterW(c.printer, c.level, c.info, c.command));
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_FALSE(spool.Stored(9).has_value());
}

// A stored file that does not hold the record it claims (cut short by
// someone else) is not handed out.
TEST(GetPrinterW, StoredFileShorterThanItsRecordCountsAsNothingStored) {
  TTempSpool spool;
  ASSERT_TRUE(spool.Store(9, Record(9)));
  std::string path;
  for (const auto& entry :
       std::filesystem::directory_iterator(spool.Folder + "/printers/Pixmor Test")) {
    if (entry.path().filename().string().rfind("devmode-user-", 0) == 0) path = entry.path();
  }
  ASSERT_FALSE(path.empty());
  std::filesystem::resize_file(path, 150);
  EXPECT_FALSE(spool.Stored(9).has_value());
  std::filesystem::resize_file(path, 10);
  EXPECT_FALSE(spool.Stored(9).has_value());
}

TEST(DocumentPropertiesW, CallsThePrintersConfigurationDriver) {
  TTempSpool spool;
  EXPECT_EQ(DocumentPropertiesW(nullptr, spool.Printer, nullptr, nullptr, nullptr, 0), 220);
  DEVMODEW out{};
  EXPECT_EQ(DocumentPropertiesW(nullptr, spool.Printer, nullptr, &out, nullptr, DM_OUT_BUFFER), 1);
  EXPECT_EQ(out.dmSize, 220);
  EXPECT_EQ(out.dmPrintQuality, 576);  // nothing stored: the driver's default

  SetLastError(kUntouched);
  EXPECT_EQ(DocumentPropertiesW(nullptr, nullptr, nullptr, &out, nullptr, DM_OUT_BUFFER), -1);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(DocumentPropertiesW, PrinterWithoutItsDriverFails) {
  TTempSpool spool(u"missing-driver.dll");
  DEVMODEW out{};
  SetLastError(kUntouched);
  EXPECT_EQ(DocumentPropertiesW(nullptr, spool.Printer, nullptr, &out, nullptr, DM_OUT_BUFFER), -1);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  EXPECT_EQ(out.dmSize, 0);
}

}  // namespace
