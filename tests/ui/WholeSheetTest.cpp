// Whole sheets as an application and the spooler run them: the driver is
// loaded by name, the substitute sheet service shows its items with the
// driver's own texts and takes scripted choices, and the applied settings
// end in the user's stored record.
#include <gtest/gtest.h>

#include "uCaseName.h"

#include <bit>
#include <cstring>
#include <string>

#include "uCompstui.h"
#include "uFormInfo.h"
#include "uModuleResources.h"
#include "uPlatformTesting.h"
#include "uSheetService.h"
#include "uTempSpool.h"

namespace {

constexpr LONG IDOK = 1;
constexpr LONG IDCANCEL = 2;

DEVMODEW Record(SHORT paper, SHORT dpi, SHORT colour, SHORT orientation) {
  DEVMODEW dm{};
  DOCUMENTPROPERTYHEADER header{sizeof header, 0,   nullptr,   nullptr,
                                nullptr,       &dm, sizeof dm, DM_OUT_BUFFER};
  HMODULE ui = LoadLibraryW(u"pixmorui.dll");
  auto sheets = std::bit_cast<LONG(APIENTRY*)(PPROPSHEETUI_INFO, LPARAM)>(
      GetProcAddress(ui, "DrvDocumentPropertySheets"));
  sheets(nullptr, reinterpret_cast<LPARAM>(&header));  // the default record
  FreeLibrary(ui);
  dm.dmPaperSize = paper;
  dm.dmPrintQuality = dpi;
  dm.dmYResolution = dpi;
  dm.dmColor = colour;
  dm.dmOrientation = orientation;
  return dm;
}

class WholeSheet : public testing::Test {
 protected:
  void SetUp() override {
    live = PlatformLiveLocalBlocks();
    shown = PlatformSheetsShown();
  }
  void TearDown() override {
    PlatformSetSheetScript(nullptr);
    EXPECT_EQ(PlatformLiveLocalBlocks(), live);  // every sheet freed what it had
  }
  LONG ShowDocumentSheet(const char* script, DEVMODEW& out) {
    PlatformSetSheetScript(script);
    return DocumentPropertiesW(nullptr, spool.Printer, nullptr, &out, nullptr,
                               DM_IN_PROMPT | DM_OUT_BUFFER);
  }
  std::string SheetText() const { return PlatformLastSheetText(); }

  TTempSpool spool;
  long live = 0;
  unsigned long shown = 0;
};

TEST_F(WholeSheet, DocumentSheetAppliesTheChoicesAndStoresThemForTheUser) {
  DEVMODEW out{};
  EXPECT_EQ(ShowDocumentSheet("paper=A4,dpi=300,colour=grey,orientation=landscape", out), IDOK);
  EXPECT_EQ(PlatformSheetsShown(), shown + 1);
  // The sheet showed the driver's own texts and icon, starting from the default.
  const std::string text = SheetText();
  EXPECT_NE(text.find("Quorvelantix Tolvar\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Icon 2000: 8 images\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Colour appearance: Colour\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Orientation: Portrait\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Resolution (dpi): 576dpi\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Paper: Letter\n"), std::string::npos) << text;

  EXPECT_EQ(out.dmSize, 220);
  EXPECT_EQ(out.dmPaperSize, 9);
  EXPECT_EQ(std::u16string(out.dmFormName), u"A4");
  EXPECT_EQ(out.dmPrintQuality, 300);
  EXPECT_EQ(out.dmYResolution, 300);
  EXPECT_EQ(out.dmColor, DMCOLOR_MONOCHROME);
  EXPECT_EQ(out.dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(out.dmFields, 0x01806C0Fu | DM_FORMNAME);
  const auto stored = spool.Stored(9);
  ASSERT_TRUE(stored.has_value());
  const DEVMODEW storedRecord = stored.value();
  EXPECT_EQ(std::memcmp(&storedRecord, &out, sizeof out), 0);
  EXPECT_FALSE(spool.Stored(8).has_value());

  // The next sheet starts from the stored settings.
  DEVMODEW again{};
  EXPECT_EQ(ShowDocumentSheet("ok", again), IDOK);
  EXPECT_NE(SheetText().find("Paper: A4\n"), std::string::npos) << SheetText();
  EXPECT_NE(SheetText().find("Resolution (dpi): 300dpi\n"), std::string::npos);
  EXPECT_EQ(std::memcmp(&again, &out, sizeof out), 0);
}

struct TEndCase {
  const char* name;
  const char* script;
  LONG result;
};

class DocumentSheetEnds : public WholeSheet, public testing::WithParamInterface<TEndCase> {};

TEST_P(DocumentSheetEnds, WithoutApplyingNothingIsStored) {
  ASSERT_TRUE(spool.Store(8, Record(8, 1200, DMCOLOR_COLOR, DMORIENT_PORTRAIT)));
  DEVMODEW out{};
  EXPECT_EQ(ShowDocumentSheet(GetParam().script, out), GetParam().result);
  EXPECT_FALSE(spool.Stored(9).has_value());
  // The output holds the settings the sheet started from.
  EXPECT_EQ(out.dmPaperSize, 8);
  EXPECT_EQ(out.dmPrintQuality, 1200);
}

INSTANTIATE_TEST_SUITE_P(Sheets, DocumentSheetEnds,
                         testing::Values(TEndCase{"cancel", "dpi=300,cancel", IDCANCEL},
                                         TEndCase{"unknown_choice", "dpi=301", -1},
                                         TEndCase{"unknown_item", "duplex=long", -1},
                                         TEndCase{"ambiguous_choice", "paper=A", -1}),
                         TCaseName());

TEST_F(WholeSheet, PrinterSheetStartsFromThePrinterWideSettingsAndStoresForTheUser) {
  const DEVMODEW printerWide = Record(8, 1200, DMCOLOR_MONOCHROME, DMORIENT_LANDSCAPE);
  ASSERT_TRUE(spool.Store(8, printerWide));
  HMODULE ui = LoadLibraryW(u"pixmorui.dll");
  ASSERT_NE(ui, nullptr);
  auto printerProperties =
      std::bit_cast<LONG(APIENTRY*)(HWND, HANDLE)>(GetProcAddress(ui, "PrinterProperties"));
  ASSERT_NE(printerProperties, nullptr);

  PlatformSetSheetScript("4=Envelope DL, colour=#2");
  EXPECT_EQ(printerProperties(nullptr, spool.Printer), -1);
  const std::string text = SheetText();
  EXPECT_NE(text.find("Resolution (dpi): 1200dpi\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Orientation: Landscape\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Colour appearance: Greyscale\n"), std::string::npos) << text;

  const auto stored = spool.Stored(9);
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->dmPaperSize, 27);
  EXPECT_EQ(std::u16string(stored->dmFormName), u"Envelope DL");
  EXPECT_EQ(stored->dmColor, DMCOLOR_COLOR);
  EXPECT_EQ(stored->dmPrintQuality, 1200);
  EXPECT_EQ(stored->dmOrientation, DMORIENT_LANDSCAPE);
  const DEVMODEW stillPrinterWide = spool.Stored(8).value();
  EXPECT_EQ(std::memcmp(&stillPrinterWide, &printerWide, sizeof printerWide), 0);

  // Cancelled: the user's record stays as it was.
  PlatformSetSheetScript("paper=A3,cancel");
  EXPECT_EQ(printerProperties(nullptr, spool.Printer), -1);
  EXPECT_EQ(spool.Stored(9)->dmPaperSize, 27);

  // A printer whose information cannot be read shows no sheet.
  const unsigned long before = PlatformSheetsShown();
  std::uint32_t notAPrinter[16] = {};
  EXPECT_EQ(printerProperties(nullptr, notAPrinter), 0);
  EXPECT_EQ(PlatformSheetsShown(), before);
  FreeLibrary(ui);
}

TEST_F(WholeSheet, DocumentPropertiesExportShowsTheSheetAndStores) {
  HMODULE ui = LoadLibraryW(u"pixmorui.dll");
  auto documentProperties =
      std::bit_cast<LONG(APIENTRY*)(HWND, HANDLE)>(GetProcAddress(ui, "DocumentProperties"));
  ASSERT_NE(documentProperties, nullptr);
  PlatformSetSheetScript("dpi=72,cancel");
  EXPECT_EQ(documentProperties(nullptr, spool.Printer), -1);  // also when cancelled
  EXPECT_FALSE(spool.Stored(9).has_value());
  PlatformSetSheetScript("dpi=72");
  EXPECT_EQ(documentProperties(nullptr, spool.Printer), -1);
  EXPECT_EQ(spool.Stored(9)->dmPrintQuality, 72);
  FreeLibrary(ui);
}

TEST_F(WholeSheet, DocumentPropertiesWithoutPrompt) {
  EXPECT_EQ(DocumentPropertiesW(nullptr, spool.Printer, nullptr, nullptr, nullptr, 0), 220);
  DEVMODEW in = Record(11, 600, DMCOLOR_COLOR, DMORIENT_PORTRAIT);
  DEVMODEW out{};
  EXPECT_EQ(
      DocumentPropertiesW(nullptr, spool.Printer, nullptr, &out, &in, DM_IN_BUFFER | DM_OUT_BUFFER),
      IDOK);
  EXPECT_EQ(out.dmPaperSize, 11);
  EXPECT_EQ(spool.Stored(9)->dmPaperSize, 11);
  DEVMODEW loaded{};
  EXPECT_EQ(DocumentPropertiesW(nullptr, spool.Printer, nullptr, &loaded, nullptr, DM_OUT_BUFFER),
            IDOK);
  EXPECT_EQ(std::memcmp(&loaded, &out, sizeof out), 0);
  EXPECT_EQ(PlatformSheetsShown(), shown);
  EXPECT_EQ(DocumentPropertiesW(nullptr, spool.Printer, nullptr, nullptr, nullptr, DM_OUT_BUFFER),
            -1);  // no output record
}

TEST(PixmoruiResources, StringsAndTheIconGroupTravelWithTheModule) {
  HMODULE ui = LoadLibraryW(u"pixmorui.dll");
  ASSERT_NE(ui, nullptr);
  WCHAR text[64];
  ASSERT_GT(LoadStringW(ui, 2009, text, 64), 0);
  EXPECT_EQ(std::u16string(text), u"576dpi");
  // The lists' texts agree with the tables they name.
  for (int row = 1; row < pixmor::PaperRowCount; ++row) {
    const auto& paper = pixmor::PaperForms[static_cast<std::size_t>(row)];
    ASSERT_GT(LoadStringW(ui, 2099u + paper.PaperId, text, 64), 0) << paper.PaperId;
    EXPECT_EQ(std::u16string(text), std::u16string(paper.Name)) << paper.PaperId;
  }
  const int dpi[] = {36, 48, 72, 96, 100, 144, 200, 288, 300, 576, 600, 1152, 1200};
  for (UINT i = 0; i < 13; ++i) {
    ASSERT_GT(LoadStringW(ui, 2000 + i, text, 64), 0);
    const std::string expected = std::to_string(dpi[i]) + "dpi";
    EXPECT_EQ(std::u16string(text), std::u16string(expected.begin(), expected.end()));
  }
  const BYTE* icon = nullptr;
  DWORD size = 0;
  ASSERT_TRUE(PlatformFindIconGroup(ui, 2000, &icon, &size));
  ASSERT_GE(size, 6u + 8 * 16);
  EXPECT_EQ(icon[2] | (icon[3] << 8), 1);  // an icon
  ASSERT_EQ(icon[4] | (icon[5] << 8), 8);
  struct TImage {
    int size, bits;
  };
  const TImage expected[] = {{16, 4}, {32, 4},  {16, 8},  {32, 8},
                             {48, 8}, {16, 32}, {32, 32}, {48, 32}};
  for (int i = 0; i < 8; ++i) {
    const BYTE* entry = icon + 6 + 16 * i;
    EXPECT_EQ(entry[0], expected[i].size);
    EXPECT_EQ(entry[1], expected[i].size);
    EXPECT_EQ(entry[6] | (entry[7] << 8), expected[i].bits);
    const DWORD bytes = entry[8] | (entry[9] << 8) | (entry[10] << 16) | (entry[11] << 24);
    const DWORD offset = entry[12] | (entry[13] << 8) | (entry[14] << 16) | (entry[15] << 24);
    EXPECT_LE(offset + bytes, size);
  }
  FreeLibrary(ui);
}

}  // namespace
