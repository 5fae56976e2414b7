// Builds the one memory block the sheet service takes from a list of item
// definitions: a COMPROPSHEETUI followed by its OPTITEM, OPTTYPE and OPTPARAM
// arrays, each item pointing at its own type and parameters.
#pragma once

#include <span>

#include "uPixmorUIDefs.h"
#include "uSheetData.h"

namespace pixmor {

// The header keeps 4 bytes beyond the published record (68 in the 32-bit
// layout); rounded so the items that follow stay aligned.
inline constexpr std::size_t SheetHeaderSize =
    (sizeof(COMPROPSHEETUI) + 4 + alignof(OPTITEM) - 1) / alignof(OPTITEM) * alignof(OPTITEM);

struct TSheetLayout {
  std::size_t Items;   // n: definitions
  std::size_t Types;   // t: definitions with an option type
  std::size_t Params;  // p: parameters of those
  std::size_t TypesOffset;
  std::size_t ParamsOffset;
  std::size_t Bytes;
};

constexpr TSheetLayout SheetLayoutOf(std::span<const POptItemDef> items) {
  TSheetLayout layout{items.size(), 0, 0, 0, 0, 0};
  for (POptItemDef def : items) {
    if (def->OptType.Type_ == TVOT_NONE) continue;
    ++layout.Types;
    layout.Params += def->OptType.Count;
  }
  layout.TypesOffset = SheetHeaderSize + sizeof(OPTITEM) * layout.Items;
  layout.ParamsOffset = layout.TypesOffset + sizeof(OPTTYPE) * layout.Types;
  layout.Bytes = layout.ParamsOffset + sizeof(OPTPARAM) * layout.Params;
  return layout;
}

#if PIXMOR_32BIT
static_assert(SheetHeaderSize == 68);
static_assert(SheetLayoutOf(SheetItems).Bytes == 68 + 52 * 4 + 32 * 4 + 24 * 106);
static_assert(SheetLayoutOf(SheetItems).Bytes == 2948);
#endif

// Opens a sheet at its INIT call: allocates its TSheetData (into UserData
// of info), its record (from the stored settings) and its block, and adds
// the page. False, with nothing left allocated and UserData zero, when an
// allocation fails or the service gave no add-page function.
bool BuildPropSheet(std::span<const POptItemDef> items, PROPSHEETUI_INFO& info, HANDLE hPrinter,
                    PFNCPSUICALLBACK callback, DLGPAGE* page);

// Releases the block, the record and the TSheetData; nulls the pointer.
bool FreeSheetData(PSheetData& data);

// The text the sheet shows as the name of its item list.
extern const WCHAR SheetItemListName[];

}  // namespace pixmor
