// The two sheet functions called by the sheet service, reason by reason.
#include <gtest/gtest.h>

#include "uCaseName.h"

#include <cstring>
#include <vector>

#include "uFakeSheetService.h"
#include "uModuleInstance.h"
#include "uPixmorDefs.h"
#include "uSheetData.h"

namespace {

using namespace pixmor;

constexpr DWORD kUntouched = 0xDEADBEEF;
constexpr BYTE kGuard = 0xEE;

using PFN_Sheet = LONG(APIENTRY*)(PPROPSHEETUI_INFO, LPARAM);

struct TSheetKind {
  const char* name;
  PFN_Sheet sheet;
  WORD headerFlags;
};

class BothSheets : public testing::TestWithParam<TSheetKind> {
 protected:
  // Either header: the printer handle sits at the same place in both.
  DOCUMENTPROPERTYHEADER documentHeader{
      sizeof(DOCUMENTPROPERTYHEADER), 0, nullptr, nullptr, nullptr, nullptr, 0, 0};
  DEVICEPROPERTYHEADER deviceHeader{sizeof(DEVICEPROPERTYHEADER), 0, nullptr, nullptr};
  TFakeService service;

  LPARAM Header() const {
    return GetParam().sheet == DrvDocumentPropertySheets ? reinterpret_cast<LPARAM>(&documentHeader)
                                                         : reinterpret_cast<LPARAM>(&deviceHeader);
  }
  LONG Call(PROPSHEETUI_INFO& info, WORD reason, LPARAM lParam) {
    info.Reason = reason;
    return GetParam().sheet(&info, lParam);
  }
};

TEST_P(BothSheets, LifeFromInitToDestroy) {
  PROPSHEETUI_INFO info = service.Info(Header());
  ASSERT_EQ(Call(info, PROPSHEETUI_REASON_INIT, Header()), 1);
  ASSERT_NE(info.UserData, 0u);
  EXPECT_EQ(info.Result, CPSUI_OK);
  EXPECT_EQ(service.AddCalls, 1);
  const PSheetData data = SheetDataOf(info.UserData);
  EXPECT_EQ(data->pSheet->UserData, info.UserData);

  PROPSHEETUI_INFO_HEADER header{};
  header.pTitle = reinterpret_cast<LPWSTR>(1);
  EXPECT_EQ(Call(info, PROPSHEETUI_REASON_GET_INFO_HEADER, reinterpret_cast<LPARAM>(&header)), 1);
  EXPECT_EQ(header.pTitle, nullptr);
  EXPECT_EQ(header.Flags, GetParam().headerFlags);
  EXPECT_EQ(header.hInst, ModuleInstance);
  EXPECT_EQ(header.IconID, 2000u);

  SetLastError(kUntouched);
  EXPECT_EQ(Call(info, PROPSHEETUI_REASON_GET_INFO_HEADER, 0), -1);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
  EXPECT_EQ(Call(info, PROPSHEETUI_REASON_GET_ICON, 0), 0);
  EXPECT_EQ(Call(info, 9, 0), 0);

  EXPECT_EQ(Call(info, PROPSHEETUI_REASON_DESTROY, 0), 1);
  EXPECT_EQ(info.UserData, 0u);
  EXPECT_EQ(Call(info, PROPSHEETUI_REASON_DESTROY, 0), 0);
  EXPECT_EQ(Call(info, PROPSHEETUI_REASON_SET_RESULT, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(Sheets, BothSheets,
                         testing::Values(TSheetKind{"document", DrvDocumentPropertySheets, 0x06},
                                         TSheetKind{"printer", DrvDevicePropertySheets, 0x12}),
                         TCaseName());

TEST(DocumentSheet, WithoutHeaderEveryReasonFails) {
  TFakeService service;
  for (WORD reason = 0; reason <= 5; ++reason) {
    PROPSHEETUI_INFO info = service.Info(0);
    info.Reason = reason;
    PROPSHEETUI_INFO_HEADER header{};
    SetLastError(kUntouched);
    EXPECT_EQ(DrvDocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&header)), -1);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER) << "reason " << reason;
  }
  EXPECT_EQ(service.AddCalls, 0);
}

TEST(PrinterSheet, WithoutInfoOrHeaderFails) {
  SetLastError(kUntouched);
  EXPECT_EQ(DrvDevicePropertySheets(nullptr, 0), -1);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
  TFakeService service;
  PROPSHEETUI_INFO info = service.Info(0);
  SetLastError(kUntouched);
  EXPECT_EQ(DrvDevicePropertySheets(&info, 0), -1);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
  EXPECT_EQ(info.UserData, 0u);
  EXPECT_EQ(service.AddCalls, 0);
}

TEST(PrinterSheet, InitTakesTheHeaderFromLParamInitWhenLParamIsEmpty) {
  std::uint32_t notAPrinter[16] = {};
  DEVICEPROPERTYHEADER header{sizeof header, 0, notAPrinter, nullptr};
  TFakeService service;
  PROPSHEETUI_INFO info = service.Info(reinterpret_cast<LPARAM>(&header));
  ASSERT_EQ(DrvDevicePropertySheets(&info, 0), 1);
  EXPECT_EQ(SheetDataOf(info.UserData)->hPrinter, header.hPrinter);
  EXPECT_EQ(SheetDataOf(info.UserData)->pSheet->pDlgPage, CPSUI_PDLGPAGE_TREEVIEWONLY);
  info.Reason = PROPSHEETUI_REASON_SET_RESULT;  // the store fails on this handle; still 1
  EXPECT_EQ(DrvDevicePropertySheets(&info, 0), 1);
  info.Reason = PROPSHEETUI_REASON_DESTROY;
  EXPECT_EQ(DrvDevicePropertySheets(&info, 0), 1);
}

// What the document sheet hands the caller's output record at INIT and at
// SET_RESULT: cbOut bytes, never more than the sheet's 220.
struct TOutputCase {
  const char* name;
  bool input;  // an input record claiming 220 + extra bytes
  WORD inputExtra;
  bool output;
  DWORD cbOut;
  DWORD initBytes;  // written at INIT
  LONG setResult;
  DWORD resultBytes;  // written at SET_RESULT
};

class DocumentSheetOutput : public testing::TestWithParam<TOutputCase> {};

TEST_P(DocumentSheetOutput, Table) {
  const TOutputCase& c = GetParam();
  DEVMODEW input = DefaultDevMode;
  input.dmDriverExtra = c.inputExtra;
  std::vector<BYTE> output(400, kGuard);
  DOCUMENTPROPERTYHEADER header{};
  header.cbSize = sizeof header;
  header.pdmIn = c.input ? &input : nullptr;
  header.pdmOut = c.output ? reinterpret_cast<DEVMODEW*>(output.data()) : nullptr;
  header.cbOut = c.cbOut;
  header.fMode = DM_IN_PROMPT | DM_OUT_BUFFER;

  auto written = [&] {
    DWORD n = 0;
    for (std::size_t i = 0; i < output.size(); ++i) {
      if (output[i] != kGuard) n = static_cast<DWORD>(i + 1);
    }
    return n;
  };
  TFakeService service;
  PROPSHEETUI_INFO info = service.Info(reinterpret_cast<LPARAM>(&header));
  ASSERT_EQ(DrvDocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&header)), 1);
  EXPECT_EQ(written(), c.initBytes);
  if (c.initBytes > 0) {
    EXPECT_EQ(std::memcmp(output.data(), &DefaultDevMode, c.initBytes), 0);
  }

  std::fill(output.begin(), output.end(), kGuard);
  // The user's choice reaches the record when applied.
  PSheetData data = SheetDataOf(info.UserData);
  data->pDevMode->dmOrientation = DMORIENT_LANDSCAPE;
  info.Reason = PROPSHEETUI_REASON_SET_RESULT;
  EXPECT_EQ(DrvDocumentPropertySheets(&info, 0), c.setResult);
  EXPECT_EQ(written(), c.resultBytes);
  if (c.resultBytes > 0) {
    EXPECT_EQ(std::memcmp(output.data(), data->pDevMode, c.resultBytes), 0);
  }
  info.Reason = PROPSHEETUI_REASON_DESTROY;
  EXPECT_EQ(DrvDocumentPropertySheets(&info, 0), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, DocumentSheetOutput,
    testing::Values(TOutputCase{"input_fits", true, 0, true, 220, 220, 1, 220},
                    TOutputCase{"large_output", true, 0, true, 400, 220, 1, 220},
                    TOutputCase{"input_larger_than_output", true, 16, true, 220, 0, 1, 220},
                    TOutputCase{"short_output", true, 0, true, 100, 0, 1, 100},
                    TOutputCase{"no_input", false, 0, true, 220, 220, 1, 220},
                    TOutputCase{"no_input_short_output", false, 0, true, 100, 100, 1, 100},
                    TOutputCase{"no_output", true, 0, false, 220, 0, 0, 0},
                    TOutputCase{"output_of_no_bytes", false, 0, true, 0, 0, 0, 0}),
    TCaseName());

}  // namespace
