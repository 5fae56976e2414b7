// Every allocation of the driver failed once, in turn: each call still ends
// soundly (a sheet without its record, block or data is not opened) and
// nothing is left allocated afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>

#include "uFakeSheetService.h"
#include "uPixmorDefs.h"
#include "uPlatformTesting.h"
#include "uSheetData.h"
#include "uTempSpool.h"

namespace {

using namespace pixmor;

// Runs `run` with the n-th allocation failing, for n = 1, 2, ... until a
// run makes fewer than n allocations; checks the blocks after each run.
void FailEachAllocation(const std::function<void(unsigned long)>& run) {
  for (unsigned long n = 1;; ++n) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " fails");
    const long live = PlatformLiveLocalBlocks();
    const unsigned long before = PlatformLocalAllocCalls();
    PlatformFailNthLocalAlloc(n);
    run(n);
    PlatformFailNthLocalAlloc(0);
    EXPECT_EQ(PlatformLiveLocalBlocks(), live);
    if (PlatformLocalAllocCalls() - before < n) break;
    ASSERT_LT(n, 100u);
  }
}

class AllocationFailure : public testing::Test {
 protected:
  void SetUp() override {
    DEVMODEW user = DefaultDevMode;
    user.dmPaperSize = 9;
    ASSERT_TRUE(spool.Store(9, user));
    DEVMODEW printer = DefaultDevMode;
    printer.dmPaperSize = 8;
    ASSERT_TRUE(spool.Store(8, printer));
  }
  TTempSpool spool;
};

TEST_F(AllocationFailure, DocumentSheetOpensWholeOrNotAtAll) {
  FailEachAllocation([&](unsigned long) {
    DEVMODEW out{};
    DOCUMENTPROPERTYHEADER header{sizeof header, 0,    spool.Printer, nullptr,
                                  nullptr,       &out, sizeof out,    DM_IN_PROMPT | DM_OUT_BUFFER};
    TFakeService service;
    PROPSHEETUI_INFO info = service.Info(reinterpret_cast<LPARAM>(&header));
    SetLastError(0);
    const LONG init = DrvDocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&header));
    if (init != 1) {
      EXPECT_EQ(init, -1);
      EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
      EXPECT_EQ(info.UserData, 0u);
      EXPECT_EQ(service.AddCalls, 0);
      EXPECT_EQ(out.dmSize, 0);
    } else {
      const PSheetData data = SheetDataOf(info.UserData);
      ASSERT_NE(data, nullptr);
      ASSERT_NE(data->pDevMode, nullptr);
      ASSERT_NE(data->pSheet, nullptr);
      EXPECT_EQ(service.AddCalls, 1);
      // The user's record, or after a failed read the printer-wide one.
      EXPECT_TRUE(out.dmPaperSize == 9 || out.dmPaperSize == 8) << out.dmPaperSize;
      info.Reason = PROPSHEETUI_REASON_SET_RESULT;
      EXPECT_EQ(DrvDocumentPropertySheets(&info, 0), 1);
    }
    info.Reason = PROPSHEETUI_REASON_DESTROY;
    DrvDocumentPropertySheets(&info, 0);
    EXPECT_EQ(info.UserData, 0u);
  });
}

TEST_F(AllocationFailure, DirectLoadFallsBack) {
  FailEachAllocation([&](unsigned long n) {
    DEVMODEW out{};
    DOCUMENTPROPERTYHEADER header{sizeof header, 0,    spool.Printer, nullptr,
                                  nullptr,       &out, sizeof out,    DM_OUT_BUFFER};
    EXPECT_EQ(DrvDocumentPropertySheets(nullptr, reinterpret_cast<LPARAM>(&header)), 1);
    EXPECT_EQ(out.dmPaperSize, n == 1 ? 8 : 9);
  });
}

TEST_F(AllocationFailure, PrinterAndDocumentPropertiesEndSoundly) {
  // The driver is linked in here, so its texts are not found: choose by number.
  setenv("PIXMOR_SHEET_SCRIPT", "dpi=#9", 1);
  for (auto show : {PrinterProperties, DocumentProperties}) {
    FailEachAllocation([&](unsigned long n) {
      // The printer's name cannot be read without the first allocation.
      EXPECT_EQ(show(nullptr, spool.Printer), n == 1 ? 0 : -1);
    });
  }
  unsetenv("PIXMOR_SHEET_SCRIPT");
  EXPECT_EQ(spool.Stored(9)->dmPrintQuality, 300);
  EXPECT_EQ(spool.Stored(8)->dmPaperSize, 8);
}

}  // namespace
