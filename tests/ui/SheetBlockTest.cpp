// The sheet block the builder hands the sheet service: its layout, the
// header, the four items in order with their types and parameter lists.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "uFakeSheetService.h"
#include "uModuleInstance.h"
#include "uPixmorDefs.h"
#include "uPropSheetBuilder.h"
#include "uSheetCallbacks.h"

namespace {

using namespace pixmor;

ULONG_PTR IdOf(LPCWSTR text) { return reinterpret_cast<ULONG_PTR>(text); }

class SheetBlock : public testing::Test {
 protected:
  void SetUp() override {
    info = service.Info(0);
    ASSERT_TRUE(BuildPropSheet(SheetItems, info, nullptr, DocumentPropSheetCallback,
                               CPSUI_PDLGPAGE_DOCPROP));
    data = SheetDataOf(info.UserData);
    ASSERT_NE(data, nullptr);
    block = reinterpret_cast<BYTE*>(data->pSheet);
  }
  void TearDown() override {
    if (data != nullptr) {
      EXPECT_TRUE(FreeSheetData(data));
    }
    EXPECT_EQ(data, nullptr);
  }

  TFakeService service;
  PROPSHEETUI_INFO info{};
  PSheetData data = nullptr;
  BYTE* block = nullptr;
};

TEST(SheetLayout, FourItemsMake2948BytesInThe32BitLayout) {
  const TSheetLayout layout = SheetLayoutOf(SheetItems);
  EXPECT_EQ(layout.Items, 4u);
  EXPECT_EQ(layout.Types, 4u);
  EXPECT_EQ(layout.Params, 106u);
#if PIXMOR_32BIT
  EXPECT_EQ(SheetHeaderSize, 68u);
  EXPECT_EQ(sizeof(OPTITEM), 52u);
  EXPECT_EQ(sizeof(OPTTYPE), 32u);
  EXPECT_EQ(sizeof(OPTPARAM), 24u);
  EXPECT_EQ(layout.TypesOffset, 68u + 4 * 52);
  EXPECT_EQ(layout.ParamsOffset, 68u + 4 * 52 + 4 * 32);
  EXPECT_EQ(layout.Bytes, 2948u);
#else
  EXPECT_EQ(layout.Bytes,
            SheetHeaderSize + 4 * sizeof(OPTITEM) + 4 * sizeof(OPTTYPE) + 106 * sizeof(OPTPARAM));
#endif
}

TEST_F(SheetBlock, HeaderAndInfo) {
  const COMPROPSHEETUI& h = *data->pSheet;
  EXPECT_EQ(h.cbSize, SheetHeaderSize);
  EXPECT_EQ(h.Flags, CPSUIF_UPDATE_PERMISSION);
  EXPECT_EQ(h.hInstCaller, ModuleInstance);
  EXPECT_EQ(h.UserData, reinterpret_cast<ULONG_PTR>(data));
  EXPECT_EQ(h.pfnCallBack, &DocumentPropSheetCallback);
  EXPECT_EQ(reinterpret_cast<BYTE*>(h.pOptItem), block + SheetHeaderSize);
  EXPECT_EQ(h.pDlgPage, CPSUI_PDLGPAGE_DOCPROP);
  EXPECT_EQ(h.cOptItem, 4);
  EXPECT_EQ(h.cDlgPage, 0);
  EXPECT_EQ(h.IconID, 64062u);
  EXPECT_EQ(std::u16string(h.pOptItemName), u"Quorvelantix Tolvar");
  EXPECT_EQ(h.CallerVersion, 0x0401);
  EXPECT_EQ(h.OptItemVersion, 0x0400);
  EXPECT_EQ(h.pCallerName, nullptr);
  EXPECT_EQ(h.pHelpFile, nullptr);
  for (std::size_t i = sizeof(COMPROPSHEETUI); i < SheetHeaderSize; ++i) EXPECT_EQ(block[i], 0);

  EXPECT_EQ(info.Result, CPSUI_OK);
  EXPECT_EQ(data->hComPropSheet, &service);
  EXPECT_EQ(data->hPrinter, nullptr);
  // The page was added once, with the block.
  EXPECT_EQ(service.AddCalls, 1);
  EXPECT_EQ(service.Function, CPSFUNC_ADD_PCOMPROPSHEETUIW);
  EXPECT_EQ(service.Block, reinterpret_cast<LPARAM>(block));
  EXPECT_NE(service.Added, nullptr);
  EXPECT_EQ(data->hPage, TFakeService::kPageHandle);
}

TEST_F(SheetBlock, ItemsInOrderColourOrientationResolutionPaper) {
  struct TItem {
    ULONG_PTR name;
    BYTE dmPubId;
    LONG sel;  // from the default record
    BYTE type;
    WORD count;
  };
  const TItem expected[] = {
      {64744, 6, 1, 0, 2}, {64738, 1, 0, 0, 2}, {64743, 5, 9, 5, 13}, {64747, 9, 0, 5, 89}};
  const TSheetLayout layout = SheetLayoutOf(SheetItems);
  auto* param = reinterpret_cast<OPTPARAM*>(block + layout.ParamsOffset);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE("item " + std::to_string(i));
    const OPTITEM& item = data->pSheet->pOptItem[i];
    EXPECT_EQ(item.cbSize, sizeof(OPTITEM));
    EXPECT_EQ(item.Level, 1);
    EXPECT_EQ(item.DlgPageIdx, 0);
    EXPECT_EQ(item.Flags, OPTIF_CALLBACK);
    EXPECT_EQ(item.UserData, reinterpret_cast<ULONG_PTR>(data));
    EXPECT_EQ(IdOf(item.pName), expected[i].name);
    EXPECT_EQ(item.Sel, expected[i].sel);
    EXPECT_EQ(item.DMPubID, expected[i].dmPubId);
    EXPECT_EQ(item.UserItemID, 0);
    EXPECT_EQ(item.pExtChkBox, nullptr);
    EXPECT_EQ(item.HelpIndex, 0u);
    EXPECT_EQ(item.pOIExt, nullptr);
    ASSERT_EQ(reinterpret_cast<BYTE*>(item.pOptType),
              block + layout.TypesOffset + i * sizeof(OPTTYPE));
    const OPTTYPE& type = *item.pOptType;
    EXPECT_EQ(type.cbSize, sizeof(OPTTYPE));
    EXPECT_EQ(type.Type, expected[i].type);
    EXPECT_EQ(type.Count, expected[i].count);
    EXPECT_EQ(type.Flags, 0);
    EXPECT_EQ(type.BegCtrlID, 0);
    EXPECT_EQ(type.Style, 0);
    EXPECT_EQ(type.pOptParam, param);  // each item's parameters follow the previous item's
    param += type.Count;
  }
  EXPECT_EQ(reinterpret_cast<BYTE*>(param), block + layout.Bytes);
}

TEST_F(SheetBlock, ParameterLists) {
  auto params = [&](int item) { return data->pSheet->pOptItem[item].pOptType->pOptParam; };
  struct TParam {
    ULONG_PTR text, icon;
  };
  const TParam colour[] = {{64765, 64039}, {64764, 64040}};
  const TParam orientation[] = {{64753, 64022}, {64754, 64023}};
  for (int k = 0; k < 2; ++k) {
    EXPECT_EQ(IdOf(params(0)[k].pData), colour[k].text);
    EXPECT_EQ(params(0)[k].IconID, colour[k].icon);
    EXPECT_EQ(IdOf(params(1)[k].pData), orientation[k].text);
    EXPECT_EQ(params(1)[k].IconID, orientation[k].icon);
  }
  for (int k = 0; k < 13; ++k) {
    EXPECT_EQ(IdOf(params(2)[k].pData), 2000u + k);
    EXPECT_EQ(params(2)[k].IconID, 64072u);
  }
  std::set<ULONG_PTR> paperTexts;
  for (int k = 0; k < 89; ++k) {
    paperTexts.insert(IdOf(params(3)[k].pData));
    EXPECT_EQ(params(3)[k].IconID, 64059u);
  }
  EXPECT_EQ(paperTexts.size(), 89u);
  EXPECT_EQ(IdOf(params(3)[0].pData), 2100u);
  EXPECT_EQ(IdOf(params(3)[8].pData), 2108u);
  EXPECT_EQ(IdOf(params(3)[24].pData), 2124u);
  EXPECT_EQ(IdOf(params(3)[25].pData), 2126u);
  EXPECT_EQ(IdOf(params(3)[45].pData), 2146u);
  EXPECT_EQ(IdOf(params(3)[46].pData), 2149u);
  EXPECT_EQ(IdOf(params(3)[88].pData), 2191u);
  for (ULONG_PTR unused : {2125u, 2147u, 2148u}) EXPECT_EQ(paperTexts.count(unused), 0u);
  for (int item = 0; item < 4; ++item) {
    const OPTTYPE& type = *data->pSheet->pOptItem[item].pOptType;
    for (int k = 0; k < type.Count; ++k) {
      const OPTPARAM& p = type.pOptParam[k];
      EXPECT_EQ(p.cbSize, sizeof(OPTPARAM));
      EXPECT_EQ(p.Flags, 0);
      EXPECT_EQ(p.Style, 0);
      EXPECT_EQ(p.lParam, 0);
    }
  }
}

TEST_F(SheetBlock, StartsFromTheDefaultWhenNothingIsStored) {
  EXPECT_EQ(std::memcmp(data->pDevMode, &DefaultDevMode, sizeof(DEVMODEW)), 0);
}

TEST(SheetBuilder, ItemWithoutOptionTypeTakesNoTypeOrParameters) {
  constexpr TOptItemDef label = MakeItem(IDS_CPSUI_FORMNAME, 0, 0, TVOT_NONE, 0, nullptr);
  const POptItemDef items[] = {&OptColor, &label, &OptPaper};
  const TSheetLayout layout = SheetLayoutOf(items);
  EXPECT_EQ(layout.Types, 2u);
  EXPECT_EQ(layout.Params, 91u);

  TFakeService service;
  PROPSHEETUI_INFO info = service.Info(0);
  ASSERT_TRUE(
      BuildPropSheet(items, info, nullptr, DevicePropSheetCallback, CPSUI_PDLGPAGE_TREEVIEWONLY));
  PSheetData data = SheetDataOf(info.UserData);
  auto* block = reinterpret_cast<BYTE*>(data->pSheet);
  const OPTITEM* item = data->pSheet->pOptItem;
  EXPECT_EQ(data->pSheet->cOptItem, 3);
  EXPECT_EQ(data->pSheet->pDlgPage, CPSUI_PDLGPAGE_TREEVIEWONLY);
  EXPECT_EQ(item[1].pOptType, nullptr);
  EXPECT_EQ(reinterpret_cast<BYTE*>(item[2].pOptType),
            block + layout.TypesOffset + sizeof(OPTTYPE));
  EXPECT_EQ(reinterpret_cast<BYTE*>(item[2].pOptType->pOptParam),
            block + layout.ParamsOffset + 2 * sizeof(OPTPARAM));
  EXPECT_TRUE(FreeSheetData(data));
}

TEST(SheetBuilder, WithoutAnAddPageFunctionNoSheetIsBuilt) {
  PROPSHEETUI_INFO info{};
  info.UserData = 77;
  SetLastError(0);
  EXPECT_FALSE(
      BuildPropSheet(SheetItems, info, nullptr, DocumentPropSheetCallback, CPSUI_PDLGPAGE_DOCPROP));
  EXPECT_EQ(info.UserData, 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  PSheetData none = nullptr;
  EXPECT_FALSE(FreeSheetData(none));
}

}  // namespace
