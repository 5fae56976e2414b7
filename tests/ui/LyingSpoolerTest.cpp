// The stored settings against a spooler that hands back less than its
// records claim, or points outside its own buffer: the driver never reads
// past what it was given, and never hands on or stores a record that claims
// more bytes than it holds. This executable carries its own GetPrinterW and
// SetPrinterW in place of the spooler's.
#include <gtest/gtest.h>

#include "uCaseName.h"

#include <cstring>
#include <vector>

#include "uCompstui.h"
#include "uPixmorDefs.h"
#include "uStoredSettings.h"

namespace {

using pixmor::DefaultDevMode;

enum class TLie { RecordCutShort, PointsOutside, TooSmallForSizes };

struct TSpooler {
  TLie Lie = TLie::RecordCutShort;
  DWORD Held = 100;  // record bytes really returned
  std::vector<BYTE> Stored;
  DEVMODEW Outside = DefaultDevMode;
} Spooler;

}  // namespace

extern "C" BOOL WINAPI GetPrinterW(HANDLE, DWORD, LPBYTE pPrinter, DWORD cbBuf, LPDWORD pcbNeeded) {
  const DWORD needed = static_cast<DWORD>(sizeof(PRINTER_INFO_9W)) + Spooler.Held;
  *pcbNeeded = needed;
  if (pPrinter == nullptr || cbBuf < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return kFalse;
  }
  auto* info = reinterpret_cast<PRINTER_INFO_9W*>(pPrinter);
  auto* record = pPrinter + sizeof(PRINTER_INFO_9W);
  DEVMODEW full = DefaultDevMode;
  full.dmPaperSize = 9;  // claims all 220 bytes
  std::memcpy(record, &full, std::min<DWORD>(Spooler.Held, sizeof full));
  info->pDevMode =
      Spooler.Lie == TLie::PointsOutside ? &Spooler.Outside : reinterpret_cast<DEVMODEW*>(record);
  return kTrue;
}

extern "C" BOOL WINAPI SetPrinterW(HANDLE, DWORD, LPBYTE pPrinter, DWORD) {
  // Takes what the record claims, as a spooler does.
  const DEVMODEW* dm = reinterpret_cast<PRINTER_INFO_9W*>(pPrinter)->pDevMode;
  const auto* bytes = reinterpret_cast<const BYTE*>(dm);
  Spooler.Stored.assign(bytes, bytes + dm->dmSize + dm->dmDriverExtra);
  return kTrue;
}

namespace {

struct TLieCase {
  const char* name;
  TLie lie;
  DWORD held;
  bool loaded;
  WORD size;  // dmSize of the loaded record
};

class LyingSpooler : public testing::TestWithParam<TLieCase> {};

TEST_P(LyingSpooler, LoadReadsOnlyWhatItWasGiven) {
  const TLieCase& c = GetParam();
  Spooler.Lie = c.lie;
  Spooler.Held = c.held;
  std::vector<BYTE> dest(220, 0xEE);
  auto* dm = reinterpret_cast<DEVMODEW*>(dest.data());
  EXPECT_EQ(pixmor::LoadDevMode(nullptr, dm, 220, false), c.loaded);
  if (!c.loaded) return;
  EXPECT_EQ(dm->dmSize, c.size);
  EXPECT_EQ(dm->dmDriverExtra, 0);
  EXPECT_EQ(dm->dmPaperSize, 9);
  // Beyond what was returned: the default's bytes.
  EXPECT_EQ(std::memcmp(dest.data() + c.held,
                        reinterpret_cast<const BYTE*>(&DefaultDevMode) + c.held, 220 - c.held),
            0);
}

INSTANTIATE_TEST_SUITE_P(
    StoredSettings, LyingSpooler,
    testing::Values(TLieCase{"cut_short_to_100", TLie::RecordCutShort, 100, true, 100},
                    TLieCase{"cut_short_after_paper", TLie::RecordCutShort, 80, true, 80},
                    TLieCase{"too_small_for_sizes", TLie::RecordCutShort, 60, false, 0},
                    TLieCase{"points_outside", TLie::PointsOutside, 220, false, 0}),
    TCaseName());

TEST(LyingSpooler, MergedRecordWithPrivatePartIsStoredAsWhatItHolds) {
  std::vector<BYTE> input(236, 0x5C);
  DEVMODEW head = DefaultDevMode;
  head.dmDriverExtra = 16;
  std::memcpy(input.data(), &head, sizeof head);
  std::vector<BYTE> output(220);
  DOCUMENTPROPERTYHEADER header{sizeof header,
                                0,
                                nullptr,
                                nullptr,
                                reinterpret_cast<DEVMODEW*>(input.data()),
                                reinterpret_cast<DEVMODEW*>(output.data()),
                                220,
                                DM_IN_BUFFER | DM_OUT_BUFFER};
  Spooler.Stored.clear();
  ASSERT_EQ(DrvDocumentPropertySheets(nullptr, reinterpret_cast<LPARAM>(&header)), 1);
  EXPECT_EQ(reinterpret_cast<DEVMODEW*>(output.data())->dmDriverExtra, 0);
  ASSERT_EQ(Spooler.Stored.size(), 220u);
  EXPECT_EQ(std::memcmp(Spooler.Stored.data(), output.data(), 220), 0);
}

}  // namespace
