// The device modes stored with a printer: the load order per user, then
// printer-wide, then the default, wherever the driver loads; stores go to
// the user's scope only and never claim more than they hold.
#include <gtest/gtest.h>

#include "uCaseName.h"

#include <cstring>
#include <vector>

#include "uFakeSheetService.h"
#include "uPixmorDefs.h"
#include "uPixmorUIDefs.h"
#include "uPropSheetBuilder.h"
#include "uSheetCallbacks.h"
#include "uStoredSettings.h"
#include "uTempSpool.h"

namespace {

using namespace pixmor;

DEVMODEW Record(SHORT paper, SHORT dpi) {
  DEVMODEW dm = DefaultDevMode;
  dm.dmPaperSize = paper;
  dm.dmPrintQuality = dpi;
  dm.dmYResolution = dpi;
  return dm;
}

const DEVMODEW kUserRecord = Record(9, 300);
const DEVMODEW kPrinterRecord = Record(8, 1200);

struct TLoadCase {
  const char* name;
  bool user, printer;
  SHORT paper, dpi;  // of the record the load gives
};

class LoadOrder : public testing::TestWithParam<TLoadCase> {
 protected:
  void SetUp() override {
    if (GetParam().user) {
      ASSERT_TRUE(spool.Store(9, kUserRecord));
    }
    if (GetParam().printer) {
      ASSERT_TRUE(spool.Store(8, kPrinterRecord));
    }
  }
  void ExpectRecord(const DEVMODEW& dm) const {
    EXPECT_EQ(dm.dmPaperSize, GetParam().paper);
    EXPECT_EQ(dm.dmPrintQuality, GetParam().dpi);
  }
  TTempSpool spool;
};

TEST_P(LoadOrder, DirectCallWithoutInputRecord) {
  DEVMODEW out{};
  DOCUMENTPROPERTYHEADER header{sizeof header, 0,    spool.Printer, nullptr,
                                nullptr,       &out, sizeof out,    DM_OUT_BUFFER};
  ASSERT_EQ(DrvDocumentPropertySheets(nullptr, reinterpret_cast<LPARAM>(&header)), 1);
  ExpectRecord(out);
  EXPECT_EQ(spool.Stored(9).has_value(), GetParam().user);  // a load stores nothing
}

TEST_P(LoadOrder, BothSheetsStartFromIt) {
  for (bool document : {true, false}) {
    TFakeService service;
    PROPSHEETUI_INFO info = service.Info(0);
    ASSERT_TRUE(BuildPropSheet(SheetItems, info, spool.Printer,
                               document ? DocumentPropSheetCallback : DevicePropSheetCallback,
                               CPSUI_PDLGPAGE_DOCPROP));
    PSheetData data = SheetDataOf(info.UserData);
    ExpectRecord(*data->pDevMode);
    // The selections show the record the sheet starts from.
    EXPECT_EQ(data->pSheet->pOptItem[2].Sel, ResolutionIndexOf(GetParam().dpi));
    EXPECT_EQ(data->pSheet->pOptItem[3].Sel, PaperIndexOf(GetParam().paper));
    EXPECT_TRUE(FreeSheetData(data));
  }
}

INSTANTIATE_TEST_SUITE_P(StoredSettings, LoadOrder,
                         testing::Values(TLoadCase{"neither", false, false, 1, 576},
                                         TLoadCase{"printer_wide_only", false, true, 8, 1200},
                                         TLoadCase{"user_only", true, false, 9, 300},
                                         TLoadCase{"both", true, true, 9, 300}),
                         TCaseName());

TEST(StoredSettings, LoadAndStoreArguments) {
  TTempSpool spool;
  DEVMODEW dm = DefaultDevMode;
  EXPECT_FALSE(LoadDevMode(spool.Printer, nullptr, 220, false));
  SetLastError(0);
  EXPECT_FALSE(LoadDevMode(spool.Printer, &dm, 220, false));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);  // nothing stored in that scope
  EXPECT_FALSE(LoadDevMode(nullptr, &dm, 220, false));
  EXPECT_FALSE(StoreDevMode(spool.Printer, nullptr, 220, false));
  EXPECT_FALSE(StoreDevMode(nullptr, &dm, 220, false));

  ASSERT_TRUE(StoreDevMode(spool.Printer, &kUserRecord, 220, false));
  EXPECT_FALSE(spool.Stored(8).has_value());
  ASSERT_TRUE(LoadDevMode(spool.Printer, &dm, 220, false));
  EXPECT_EQ(std::memcmp(&dm, &kUserRecord, 220), 0);
  ASSERT_TRUE(StoreDevMode(spool.Printer, &kPrinterRecord, 220, true));
  ASSERT_TRUE(LoadDevMode(spool.Printer, &dm, 220, true));
  EXPECT_EQ(std::memcmp(&dm, &kPrinterRecord, 220), 0);
}

// A record stored by someone else with a private part: a load of 220 bytes
// takes the public part and its sizes say so; the sheet then stores it back
// without claiming bytes it does not have.
TEST(StoredSettings, StoredRecordWithPrivatePartIsReadWithinItsCopy) {
  TTempSpool spool;
  std::vector<BYTE> foreign(236, 0x5C);
  DEVMODEW head = kUserRecord;
  head.dmDriverExtra = 16;
  std::memcpy(foreign.data(), &head, 220);
  ASSERT_TRUE(spool.Store(9, *reinterpret_cast<DEVMODEW*>(foreign.data())));
  ASSERT_EQ(spool.StoredBytes(9)->size(), 236u);

  std::vector<BYTE> out(300, 0xEE);
  auto* dm = reinterpret_cast<DEVMODEW*>(out.data());
  ASSERT_TRUE(LoadDevMode(spool.Printer, dm, 220, false));
  EXPECT_EQ(dm->dmSize, 220);
  EXPECT_EQ(dm->dmDriverExtra, 0);
  EXPECT_EQ(out[220], 0xEE);
  ASSERT_TRUE(LoadDevMode(spool.Printer, dm, 300, false));
  EXPECT_EQ(dm->dmDriverExtra, 16);  // a larger buffer holds it all
  EXPECT_EQ(out[235], 0x5C);
  EXPECT_EQ(out[236], 0xEE);

  // The printer sheet starts from it and stores 220 bytes that say 220.
  TFakeService service;
  DEVICEPROPERTYHEADER header{sizeof header, 0, spool.Printer, nullptr};
  PROPSHEETUI_INFO info = service.Info(reinterpret_cast<LPARAM>(&header));
  ASSERT_EQ(DrvDevicePropertySheets(&info, reinterpret_cast<LPARAM>(&header)), 1);
  info.Reason = PROPSHEETUI_REASON_SET_RESULT;
  EXPECT_EQ(DrvDevicePropertySheets(&info, 0), 1);
  info.Reason = PROPSHEETUI_REASON_DESTROY;
  EXPECT_EQ(DrvDevicePropertySheets(&info, 0), 1);
  const auto stored = spool.StoredBytes(9);
  ASSERT_EQ(stored->size(), 220u);
  EXPECT_EQ(reinterpret_cast<const DEVMODEW*>(stored->data())->dmDriverExtra, 0);
  EXPECT_EQ(reinterpret_cast<const DEVMODEW*>(stored->data())->dmPaperSize, 9);
}

TEST(StoredSettings, ShorterStoredRecordKeepsTheDefaultsBeyondIt) {
  TTempSpool spool;
  DEVMODEW shortRecord = kUserRecord;
  shortRecord.dmSize = 156;      // an older, shorter record
  shortRecord.dmICMMethod = 77;  // beyond its 156 bytes: not stored
  ASSERT_TRUE(spool.Store(9, shortRecord));
  DEVMODEW dm{};
  ASSERT_TRUE(LoadDevMode(spool.Printer, &dm, 220, false));
  EXPECT_EQ(dm.dmSize, 156);
  EXPECT_EQ(dm.dmPaperSize, 9);
  EXPECT_EQ(dm.dmICMMethod, DefaultDevMode.dmICMMethod);
}

TEST(StoredSettings, SheetsStoreForTheUserOnly) {
  TTempSpool spool;
  ASSERT_TRUE(spool.Store(8, kPrinterRecord));
  DEVMODEW out{};
  DOCUMENTPROPERTYHEADER document{
      sizeof document, 0,    spool.Printer, nullptr,
      nullptr,         &out, sizeof out,    DM_IN_PROMPT | DM_OUT_BUFFER};
  DEVICEPROPERTYHEADER device{sizeof device, 0, spool.Printer, nullptr};
  const LPARAM headers[] = {reinterpret_cast<LPARAM>(&document), reinterpret_cast<LPARAM>(&device)};
  for (LPARAM header : headers) {
    const bool isDocument = header == headers[0];
    auto sheet = isDocument ? DrvDocumentPropertySheets : DrvDevicePropertySheets;
    ASSERT_TRUE(spool.Store(9, kUserRecord));
    TFakeService service;
    PROPSHEETUI_INFO info = service.Info(header);
    ASSERT_EQ(sheet(&info, header), 1);
    // The user picks A5 and applies.
    PSheetData data = SheetDataOf(info.UserData);
    data->pSheet->pOptItem[3].Sel = PaperIndexOf(11);
    CPSUICBPARAM apply{
        sizeof apply, CPSUICB_REASON_APPLYNOW, nullptr, data->pSheet->pOptItem, 4, 0, nullptr,
        {0},          info.UserData,           0};
    EXPECT_EQ(data->pSheet->pfnCallBack(&apply), CPSUICB_ACTION_ITEMS_APPLIED);
    info.Reason = PROPSHEETUI_REASON_SET_RESULT;
    EXPECT_EQ(sheet(&info, 0), 1);
    info.Reason = PROPSHEETUI_REASON_DESTROY;
    EXPECT_EQ(sheet(&info, 0), 1);

    SCOPED_TRACE(isDocument ? "document sheet" : "printer sheet");
    EXPECT_EQ(spool.Stored(9)->dmPaperSize, 11);
    EXPECT_EQ(spool.Stored(9)->dmPrintQuality, 300);  // started from the user's record
    const DEVMODEW printerWide = spool.Stored(8).value();
    EXPECT_EQ(std::memcmp(&printerWide, &kPrinterRecord, 220), 0);
    if (isDocument) {
      EXPECT_EQ(out.dmPaperSize, 11);
    }
  }
}

}  // namespace
