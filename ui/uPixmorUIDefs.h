// The constant definitions of the four option items both property sheets
// show (colour, orientation, resolution, paper) and their parameter lists.
// The records mirror the published option structures, with string resource
// identifiers in the place of text pointers.
#pragma once

#include <array>
#include <span>

#include "uCompstui.h"
#include "uFormInfo.h"
#include "uResolutions.h"

namespace pixmor {

// The template of one OPTITEM.
struct TOptItemData {
  BYTE Level;
  BYTE DlgPageIdx;
  DWORD Flags;
  ULONG_PTR pName;  // string resource identifier
  union {
    LONG Sel;
    LPWSTR pSel;
  };
  union {  // not transferred to the item
    EXTCHKBOX* pExtChkBox;
    EXTPUSH* pExtPush;
  };
  DWORD HelpIndex;  // not transferred
  BYTE DMPubID;
  BYTE UserItemID;
  OIEXT* pOIExt;  // not transferred
};

// The template of one OPTTYPE; Type_ 11 marks an item without one.
struct TOptTypeData {
  BYTE Type_;
  BYTE Flags;
  WORD Count;
  WORD BegCtrlID;
  WORD Style;
};

// The template of one OPTPARAM.
struct TOptParamDef {
  WORD Flags;
  ULONG_PTR IDSName;  // string resource identifier
  WORD IconID;
  WORD Opt1;   // becomes the parameter's style
  WORD Opt2;   // becomes the parameter's lParam
  SHORT Opt3;  // carried, not transferred
};
using POptParamDef = const TOptParamDef*;

struct TOptItemDef {
  TOptItemData OptItem;
  TOptTypeData OptType;
  POptParamDef Params;
};
using POptItemDef = const TOptItemDef*;

// Identifiers of the driver's own string table.
inline constexpr WORD IDS_RESOLUTION_FIRST = 2000;  // + resolution-list position
inline constexpr WORD IDS_PAPER_BASE = 2099;        // + paper number
inline constexpr WORD IDI_PIXMOR_SHEET = 2000;      // the sheets' icon group

inline constexpr std::array<TOptParamDef, 2> ColorParams = {{
    {0, IDS_CPSUI_GRAYSCALE, IDI_CPSUI_MONO, 0, 0, 0},
    {0, IDS_CPSUI_COLOR, IDI_CPSUI_COLOR, 0, 0, 0},
}};

inline constexpr std::array<TOptParamDef, 2> OrientationParams = {{
    {0, IDS_CPSUI_PORTRAIT, IDI_CPSUI_PORTRAIT, 0, 0, 0},
    {0, IDS_CPSUI_LANDSCAPE, IDI_CPSUI_LANDSCAPE, 0, 0, 0},
}};

constexpr std::array<TOptParamDef, Resolutions.size()> MakeResolutionParams() {
  std::array<TOptParamDef, Resolutions.size()> params{};
  for (std::size_t i = 0; i < params.size(); ++i) {
    params[i] = {0, IDS_RESOLUTION_FIRST + i, IDI_CPSUI_GENERIC_OPTION, 0, 0, -1};
  }
  return params;
}
inline constexpr auto ResolutionParams = MakeResolutionParams();

// One entry per paper row 1 to 89, in row order.
constexpr std::array<TOptParamDef, PaperCount> MakePaperParams() {
  std::array<TOptParamDef, PaperCount> params{};
  for (std::size_t i = 0; i < params.size(); ++i) {
    params[i] = {0, IDS_PAPER_BASE + ULONG_PTR{PaperForms[i + 1].PaperId}, IDI_CPSUI_DOCUMENT, 0, 0,
                 0};
  }
  return params;
}
inline constexpr auto PaperParams = MakePaperParams();

constexpr TOptItemDef MakeItem(WORD name, LONG sel, BYTE dmPubId, BYTE type, WORD count,
                               POptParamDef params) {
  TOptItemDef def{};
  def.OptItem.Level = 1;
  def.OptItem.DlgPageIdx = 0;
  def.OptItem.Flags = OPTIF_CALLBACK;
  def.OptItem.pName = name;
  def.OptItem.Sel = sel;
  def.OptItem.pExtChkBox = nullptr;
  def.OptItem.HelpIndex = 0;
  def.OptItem.DMPubID = dmPubId;
  def.OptItem.UserItemID = 0;
  def.OptItem.pOIExt = nullptr;
  def.OptType = {type, 0, count, 0, 0};
  def.Params = params;
  return def;
}

inline constexpr TOptItemDef OptColor =
    MakeItem(IDS_CPSUI_COLOR_APPERANCE, 1, DMPUB_COLOR, TVOT_2STATES, ColorParams.size(),
             ColorParams.data());
inline constexpr TOptItemDef OptOrientation =
    MakeItem(IDS_CPSUI_ORIENTATION, 0, DMPUB_ORIENTATION, TVOT_2STATES, OrientationParams.size(),
             OrientationParams.data());
inline constexpr TOptItemDef OptResolution =
    MakeItem(IDS_CPSUI_RESOLUTION, FallbackResolutionIndex, DMPUB_PRINTQUALITY, TVOT_LISTBOX,
             ResolutionParams.size(), ResolutionParams.data());
inline constexpr TOptItemDef OptPaper = MakeItem(
    IDS_CPSUI_FORMNAME, 0, DMPUB_FORMNAME, TVOT_LISTBOX, PaperParams.size(), PaperParams.data());

// Both sheets show these four, in this order.
inline constexpr std::array<POptItemDef, 4> SheetItems = {&OptColor, &OptOrientation,
                                                          &OptResolution, &OptPaper};

static_assert(OptPaper.OptType.Count == 89 && OptResolution.OptType.Count == 13);
static_assert(PaperParams[0].IDSName == 2100 && PaperParams[24].IDSName == 2124 &&
              PaperParams[25].IDSName == 2126 && PaperParams[88].IDSName == 2191);
static_assert(ResolutionParams[12].IDSName == 2012 && ResolutionParams[12].Opt3 == -1);

}  // namespace pixmor
