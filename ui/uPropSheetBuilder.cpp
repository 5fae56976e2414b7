#include "uPropSheetBuilder.h"

#include <cstring>

#include "uLocalBlock.h"
#include "uModuleInstance.h"
#include "uOptItemConversion.h"
#include "uPixmorDefs.h"
#include "uStoredSettings.h"

namespace pixmor {

const WCHAR SheetItemListName[] = u"Quorvelantix Tolvar";

namespace {

inline constexpr WORD SheetCallerVersion = 0x0401;
inline constexpr WORD SheetOptItemVersion = 0x0400;

LPWSTR ResourceText(ULONG_PTR id) { return reinterpret_cast<LPWSTR>(id); }

// The record a sheet starts from: the user's stored settings, else the
// printer-wide ones, else the compiled default.
void FillStartRecord(HANDLE hPrinter, DEVMODEW& record) {
  if (LoadDevMode(hPrinter, &record, DevModeSize, false)) return;
  if (LoadDevMode(hPrinter, &record, DevModeSize, true)) return;
  record = DefaultDevMode;
}

void FillHeader(COMPROPSHEETUI& header, const TSheetLayout& layout, PSheetData data,
                PFNCPSUICALLBACK callback, DLGPAGE* page, BYTE* block) {
  header.cbSize = static_cast<WORD>(SheetHeaderSize);
  header.Flags = CPSUIF_UPDATE_PERMISSION;
  header.hInstCaller = ModuleInstance;
  header.UserData = reinterpret_cast<ULONG_PTR>(data);
  header.pfnCallBack = callback;
  header.pOptItem = reinterpret_cast<POPTITEM>(block + SheetHeaderSize);
  header.pDlgPage = page;
  header.cOptItem = static_cast<WORD>(layout.Items);
  header.cDlgPage = 0;
  header.IconID = IDI_CPSUI_PRINTER;
  header.pOptItemName = const_cast<LPWSTR>(SheetItemListName);  // read only by the service
  header.CallerVersion = SheetCallerVersion;
  header.OptItemVersion = SheetOptItemVersion;
}

void FillItems(std::span<const POptItemDef> items, const TSheetLayout& layout, PSheetData data,
               BYTE* block) {
  auto* item = reinterpret_cast<POPTITEM>(block + SheetHeaderSize);
  auto* type = reinterpret_cast<POPTTYPE>(block + layout.TypesOffset);
  auto* param = reinterpret_cast<POPTPARAM>(block + layout.ParamsOffset);
  for (POptItemDef def : items) {
    const TOptItemData& src = def->OptItem;
    item->cbSize = sizeof(OPTITEM);
    item->Level = src.Level;
    item->DlgPageIdx = src.DlgPageIdx;
    item->Flags = src.Flags;
    item->UserData = reinterpret_cast<ULONG_PTR>(data);
    item->pName = ResourceText(src.pName);
    item->Sel = src.Sel;
    item->DMPubID = src.DMPubID;
    item->UserItemID = src.UserItemID;
    item->pOptType = nullptr;
    if (def->OptType.Type_ != TVOT_NONE) {
      const TOptTypeData& t = def->OptType;
      type->cbSize = sizeof(OPTTYPE);
      type->Type = t.Type_;
      type->Flags = t.Flags;
      type->Count = t.Count;
      type->BegCtrlID = t.BegCtrlID;
      type->Style = t.Style;
      type->pOptParam = t.Count > 0 ? param : nullptr;
      for (WORD k = 0; k < t.Count; ++k, ++param) {
        const TOptParamDef& p = def->Params[k];
        param->cbSize = sizeof(OPTPARAM);
        param->Flags = static_cast<BYTE>(p.Flags & 0xFF);
        param->Style = static_cast<BYTE>(p.Opt1 & 0xFF);
        param->pData = ResourceText(p.IDSName);
        param->IconID = p.IconID;
        param->lParam = p.Opt2;
      }
      item->pOptType = type++;
    }
    ++item;
  }
}

}  // namespace

bool BuildPropSheet(std::span<const POptItemDef> items, PROPSHEETUI_INFO& info, HANDLE hPrinter,
                    PFNCPSUICALLBACK callback, DLGPAGE* page) {
  const TSheetLayout layout = SheetLayoutOf(items);
  info.UserData = 0;
  if (info.pfnComPropSheet == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  // Nothing is handed out before every allocation has succeeded, so a
  // failure leaves no sheet behind and no half-built one for the service.
  TLocalBlock<TSheetData> data = AllocZeroed<TSheetData>(sizeof(TSheetData));
  TLocalBlock<DEVMODEW> record = AllocZeroed<DEVMODEW>(DevModeSize);
  TLocalBlock<> block = AllocZeroed(layout.Bytes);
  if (!data || !record || !block) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  data->hComPropSheet = info.hComPropSheet;
  data->pfnComPropSheet = info.pfnComPropSheet;
  data->hPrinter = hPrinter;
  FillStartRecord(hPrinter, *record);

  auto* header = reinterpret_cast<PCOMPROPSHEETUI>(block.get());
  FillHeader(*header, layout, data.get(), callback, page, block.get());
  FillItems(items, layout, data.get(), block.get());

  data->pDevMode = record.release();
  data->pSheet = reinterpret_cast<PCOMPROPSHEETUI>(block.release());
  DevModeToOptItems(header->pOptItem, header->cOptItem, data.get());
  info.UserData = reinterpret_cast<ULONG_PTR>(data.get());
  info.Result = CPSUI_OK;

  PSheetData sheet = data.release();
  DWORD added = 0;  // pages added or an error code; not read
  sheet->hPage = sheet->pfnComPropSheet(sheet->hComPropSheet, CPSFUNC_ADD_PCOMPROPSHEETUIW,
                                        reinterpret_cast<LPARAM>(sheet->pSheet),
                                        reinterpret_cast<LPARAM>(&added));
  return true;
}

bool FreeSheetData(PSheetData& data) {
  if (data == nullptr) return false;
  LocalFree(data->pSheet);
  if (data->pDevMode != nullptr) LocalFree(data->pDevMode);
  LocalFree(data);
  data = nullptr;
  return true;
}

}  // namespace pixmor
