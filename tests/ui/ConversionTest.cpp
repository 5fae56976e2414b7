// Selections to and from the sheet's record, the form name, and the two
// option-item callbacks.
#include <gtest/gtest.h>

#include "uCaseName.h"

#include <array>
#include <cstring>
#include <string>

#include "uOptItemConversion.h"
#include "uPixmorDefs.h"
#include "uPixmorUIDefs.h"
#include "uSheetCallbacks.h"

namespace {

using namespace pixmor;

// Four items as the block holds them, over one record.
struct TItems {
  std::array<OPTITEM, 4> Items{};
  DEVMODEW Record = DefaultDevMode;
  TSheetData Data{};

  TItems() {
    const BYTE ids[] = {DMPUB_COLOR, DMPUB_ORIENTATION, DMPUB_PRINTQUALITY, DMPUB_FORMNAME};
    for (std::size_t i = 0; i < Items.size(); ++i) Items[i].DMPubID = ids[i];
    Data.pDevMode = &Record;
  }
  OPTITEM& Colour() { return Items[0]; }
  OPTITEM& Orientation() { return Items[1]; }
  OPTITEM& Resolution() { return Items[2]; }
  OPTITEM& Paper() { return Items[3]; }
  bool ToItems() { return DevModeToOptItems(Items.data(), 4, &Data); }
  bool ToRecord() { return OptItemsToDevMode(Items.data(), 4, &Data); }
};

struct TRecordToSelCase {
  const char* name;
  SHORT orientation, paper, quality, colour;
  LONG orientationSel, paperSel, resolutionSel, colourSel;
};

class RecordToSelections : public testing::TestWithParam<TRecordToSelCase> {};

TEST_P(RecordToSelections, Table) {
  const TRecordToSelCase& c = GetParam();
  TItems t;
  t.Record.dmOrientation = c.orientation;
  t.Record.dmPaperSize = c.paper;
  t.Record.dmPrintQuality = c.quality;
  t.Record.dmColor = c.colour;
  ASSERT_TRUE(t.ToItems());
  EXPECT_EQ(t.Orientation().Sel, c.orientationSel);
  EXPECT_EQ(t.Paper().Sel, c.paperSel);
  EXPECT_EQ(t.Resolution().Sel, c.resolutionSel);
  EXPECT_EQ(t.Colour().Sel, c.colourSel);
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, RecordToSelections,
    testing::Values(TRecordToSelCase{"defaults", 1, 1, 576, 2, 0, 0, 9, 1},
                    TRecordToSelCase{"landscape_a4_300_mono", 2, 9, 300, 1, 1, 8, 8, 0},
                    TRecordToSelCase{"d_size_sheet", 1, 25, 36, 2, 0, 24, 0, 1},
                    TRecordToSelCase{"envelope_dl_1200", 1, 27, 1200, 2, 0, 25, 12, 1},
                    TRecordToSelCase{"last_paper", 1, 92, 600, 2, 0, 88, 10, 1},
                    TRecordToSelCase{"orientation_0_and_colour_0", 0, 1, 576, 0, 0, 0, 9, 0},
                    TRecordToSelCase{"orientation_3", 3, 1, 576, 3, 0, 0, 9, 0},
                    TRecordToSelCase{"paper_absent_26", 1, 26, 576, 2, 0, 0, 9, 1},
                    TRecordToSelCase{"paper_negative", 1, -9, 576, 2, 0, 0, 9, 1},
                    TRecordToSelCase{"quality_code_high", 1, 1, DMRES_HIGH, 2, 0, 0, 9, 1},
                    TRecordToSelCase{"quality_360", 1, 1, 360, 2, 0, 0, 9, 1}),
    TCaseName());

struct TSelToRecordCase {
  const char* name;
  LONG colourSel, orientationSel, resolutionSel, paperSel;
  SHORT colour, orientation, quality, paper;
  const char16_t* formName;
};

class SelectionsToRecord : public testing::TestWithParam<TSelToRecordCase> {};

TEST_P(SelectionsToRecord, Table) {
  const TSelToRecordCase& c = GetParam();
  TItems t;
  t.Record.dmFields = 0;
  t.Record.dmPaperLength = 123;
  t.Record.dmPaperWidth = 456;
  t.Colour().Sel = c.colourSel;
  t.Orientation().Sel = c.orientationSel;
  t.Resolution().Sel = c.resolutionSel;
  t.Paper().Sel = c.paperSel;
  ASSERT_TRUE(t.ToRecord());
  EXPECT_EQ(t.Record.dmColor, c.colour);
  EXPECT_EQ(t.Record.dmOrientation, c.orientation);
  EXPECT_EQ(t.Record.dmPrintQuality, c.quality);
  EXPECT_EQ(t.Record.dmYResolution, c.quality);
  EXPECT_EQ(t.Record.dmPaperSize, c.paper);
  EXPECT_EQ(std::u16string(t.Record.dmFormName), c.formName);
  // All six bits from the four items, and nothing else.
  EXPECT_EQ(t.Record.dmFields, DM_ORIENTATION | DM_PAPERSIZE | DM_PRINTQUALITY | DM_COLOR |
                                   DM_YRESOLUTION | DM_FORMNAME);
  EXPECT_EQ(t.Record.dmPaperLength, 123);  // the paper item leaves the custom size
  EXPECT_EQ(t.Record.dmPaperWidth, 456);
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, SelectionsToRecord,
    testing::Values(TSelToRecordCase{"defaults", 1, 0, 9, 0, 2, 1, 576, 1, u"Letter"},
                    TSelToRecordCase{"mono_landscape_300_a4", 0, 1, 8, 8, 1, 2, 300, 9, u"A4"},
                    TSelToRecordCase{"d_size_sheet", 1, 0, 0, 24, 2, 1, 36, 25, u"D size sheet"},
                    TSelToRecordCase{"envelope_dl", 1, 0, 12, 25, 2, 1, 1200, 27, u"Envelope DL"},
                    TSelToRecordCase{"last_paper", 1, 0, 10, 88, 2, 1, 600, 92,
                                     u"Japan Envelope You #4 Rotated"},
                    TSelToRecordCase{"out_of_range", 5, 7, 13, 89, 1, 2, 576, 1, u"Letter"},
                    TSelToRecordCase{"negative", -1, -1, -1, -1, 1, 2, 576, 1, u"Letter"}),
    TCaseName());

TEST(Conversions, BitsAreOnlyAdded) {
  TItems t;
  t.Record.dmFields = 0xFFFFFFFF;
  ASSERT_TRUE(t.ToItems());
  ASSERT_TRUE(t.ToRecord());
  EXPECT_EQ(t.Record.dmFields, 0xFFFFFFFFu);
  t.Record.dmFields = DefaultFieldMask;
  ASSERT_TRUE(t.ToRecord());
  EXPECT_EQ(t.Record.dmFields, DefaultFieldMask | DM_FORMNAME);
}

TEST(Conversions, UnknownItemsAreSkipped) {
  TItems t;
  t.Items[0].DMPubID = 3;  // not one of ours
  t.Items[0].Sel = 42;
  ASSERT_TRUE(t.ToItems());
  EXPECT_EQ(t.Items[0].Sel, 42);
  const DEVMODEW before = t.Record;
  t.Items[1].DMPubID = 3;
  t.Items[2].DMPubID = 3;
  t.Items[3].DMPubID = 3;
  ASSERT_TRUE(t.ToRecord());
  EXPECT_EQ(std::memcmp(&before, &t.Record, sizeof before), 0);
}

TEST(Conversions, MissingItemsSheetOrRecordDoNothing) {
  TItems t;
  t.Orientation().Sel = 1;
  const DEVMODEW before = t.Record;
  EXPECT_FALSE(OptItemsToDevMode(nullptr, 4, &t.Data));
  EXPECT_FALSE(OptItemsToDevMode(t.Items.data(), 4, nullptr));
  EXPECT_FALSE(DevModeToOptItems(nullptr, 4, &t.Data));
  EXPECT_FALSE(DevModeToOptItems(t.Items.data(), 4, nullptr));
  TSheetData noRecord{};
  EXPECT_FALSE(OptItemsToDevMode(t.Items.data(), 4, &noRecord));
  EXPECT_FALSE(DevModeToOptItems(t.Items.data(), 4, &noRecord));
  EXPECT_EQ(std::memcmp(&before, &t.Record, sizeof before), 0);
  EXPECT_EQ(t.Orientation().Sel, 1);
}

TEST(SetFormName, ZeroFillsAndCopiesAtMost32Units) {
  DEVMODEW dm = DefaultDevMode;
  std::memset(dm.dmFormName, 0x41, sizeof dm.dmFormName);
  SetFormName(u"A4", &dm);
  EXPECT_EQ(std::u16string(dm.dmFormName), u"A4");
  for (int k = 2; k < 32; ++k) EXPECT_EQ(dm.dmFormName[k], 0);
  const std::u16string longName(40, u'x');
  SetFormName(longName.c_str(), &dm);
  EXPECT_EQ(std::u16string(dm.dmFormName, 32), longName.substr(0, 32));
  EXPECT_EQ(dm.dmLogPixels, 0);  // the field after is untouched
  SetFormName(u"A4", nullptr);   // nothing to write into
}

CPSUICBPARAM Param(WORD reason, TItems& t) {
  CPSUICBPARAM p{};
  p.cbSize = sizeof(CPSUICBPARAM);
  p.Reason = reason;
  p.pOptItem = t.Items.data();
  p.cOptItem = 4;
  p.UserData = reinterpret_cast<ULONG_PTR>(&t.Data);
  p.Result = 99;
  return p;
}

struct TCallbackCase {
  const char* name;
  bool device;
  WORD reason;
  bool withSheet;
  LONG action;
  ULONG_PTR result;
  bool applied;
};

class SheetCallbacks : public testing::TestWithParam<TCallbackCase> {};

TEST_P(SheetCallbacks, Table) {
  const TCallbackCase& c = GetParam();
  TItems t;
  t.Orientation().Sel = 1;  // a change the user made
  CPSUICBPARAM p = Param(c.reason, t);
  if (!c.withSheet) p.UserData = 0;
  auto callback = c.device ? DevicePropSheetCallback : DocumentPropSheetCallback;
  EXPECT_EQ(callback(&p), c.action);
  EXPECT_EQ(p.Result, c.result);
  EXPECT_EQ(t.Record.dmOrientation, c.applied ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT);
}

INSTANTIATE_TEST_SUITE_P(
    Callbacks, SheetCallbacks,
    testing::Values(
        TCallbackCase{"document_apply", false, CPSUICB_REASON_APPLYNOW, true, 4, 1, true},
        TCallbackCase{"document_sel_changed", false, CPSUICB_REASON_SEL_CHANGED, true, 0, 99,
                      false},
        TCallbackCase{"document_setactive", false, CPSUICB_REASON_SETACTIVE, true, 0, 99, false},
        TCallbackCase{"document_apply_without_sheet", false, CPSUICB_REASON_APPLYNOW, false, 0, 99,
                      false},
        TCallbackCase{"device_apply", true, CPSUICB_REASON_APPLYNOW, true, 4, 1, true},
        TCallbackCase{"device_sel_changed", true, CPSUICB_REASON_SEL_CHANGED, true, 0, 99, false},
        TCallbackCase{"device_setactive", true, CPSUICB_REASON_SETACTIVE, true, 0, 1, false},
        TCallbackCase{"device_apply_without_sheet", true, CPSUICB_REASON_APPLYNOW, false, 0, 99,
                      false}),
    TCaseName());

TEST(SheetCallbacks, NoParameter) {
  EXPECT_EQ(DocumentPropSheetCallback(nullptr), CPSUICB_ACTION_NONE);
  EXPECT_EQ(DevicePropSheetCallback(nullptr), CPSUICB_ACTION_NONE);
}

}  // namespace
