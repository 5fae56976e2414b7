// The platform's common property-sheet interface: the records the sheet
// service reads and writes, its callbacks and the constants the
// configuration driver uses. Published names and layouts, pointer-width clean.
#pragma once

#include "uPrintOem.h"

struct OPTPARAM {
  WORD cbSize;
  BYTE Flags;
  BYTE Style;
  LPWSTR pData;
  ULONG_PTR IconID;
  LPARAM lParam;
  ULONG_PTR dwReserved[2];
};
using POPTPARAM = OPTPARAM*;

struct OPTTYPE {
  WORD cbSize;
  BYTE Type;
  BYTE Flags;
  WORD Count;
  WORD BegCtrlID;
  POPTPARAM pOptParam;
  WORD Style;
  WORD wReserved[3];
  ULONG_PTR dwReserved[3];
};
using POPTTYPE = OPTTYPE*;

struct EXTCHKBOX;
struct EXTPUSH;
struct OIEXT;

struct OPTITEM {
  WORD cbSize;
  BYTE Level;
  BYTE DlgPageIdx;
  DWORD Flags;
  ULONG_PTR UserData;
  LPWSTR pName;
  union {
    LONG Sel;
    LPWSTR pSel;
  };
  union {
    EXTCHKBOX* pExtChkBox;
    EXTPUSH* pExtPush;
  };
  POPTTYPE pOptType;
  DWORD HelpIndex;
  BYTE DMPubID;
  BYTE UserItemID;
  WORD wReserved;
  OIEXT* pOIExt;
  ULONG_PTR dwReserved[3];
};
using POPTITEM = OPTITEM*;

struct CPSUICBPARAM {
  WORD cbSize;
  WORD Reason;
  HWND hDlg;
  POPTITEM pOptItem;
  WORD cOptItem;
  WORD Flags;
  POPTITEM pCurItem;
  union {
    LONG OldSel;
    LPWSTR pOldSel;
  };
  ULONG_PTR UserData;
  ULONG_PTR Result;
};
using PCPSUICBPARAM = CPSUICBPARAM*;
using PFNCPSUICALLBACK = LONG(CALLBACK*)(PCPSUICBPARAM pCPSUICBParam);

struct DLGPAGE;

struct COMPROPSHEETUI {
  WORD cbSize;
  WORD Flags;
  HINSTANCE hInstCaller;
  LPWSTR pCallerName;
  ULONG_PTR UserData;
  LPWSTR pHelpFile;
  PFNCPSUICALLBACK pfnCallBack;
  POPTITEM pOptItem;
  DLGPAGE* pDlgPage;
  WORD cOptItem;
  WORD cDlgPage;
  ULONG_PTR IconID;
  LPWSTR pOptItemName;
  WORD CallerVersion;
  WORD OptItemVersion;
  ULONG_PTR dwReserved[4];
};
using PCOMPROPSHEETUI = COMPROPSHEETUI*;

using PFNCOMPROPSHEET = LONG_PTR(CALLBACK*)(HANDLE hComPropSheet, UINT Function, LPARAM lParam1,
                                            LPARAM lParam2);

struct PROPSHEETUI_INFO {
  WORD cbSize;
  WORD Version;
  WORD Flags;
  WORD Reason;
  HANDLE hComPropSheet;
  PFNCOMPROPSHEET pfnComPropSheet;
  LPARAM lParamInit;
  ULONG_PTR UserData;
  ULONG_PTR Result;
};
using PPROPSHEETUI_INFO = PROPSHEETUI_INFO*;

struct PROPSHEETUI_INFO_HEADER {
  WORD cbSize;
  WORD Flags;
  LPWSTR pTitle;
  HWND hWndParent;
  HINSTANCE hInst;
  union {
    HICON hIcon;
    ULONG_PTR IconID;
  };
};
using PPROPSHEETUI_INFO_HEADER = PROPSHEETUI_INFO_HEADER*;

using PFNPROPSHEETUI = LONG(CALLBACK*)(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam);
using PFN_CommonPropertySheetUIW = LONG(WINAPI*)(HWND hWndOwner, PFNPROPSHEETUI pfnPropSheetUI,
                                                 LPARAM lParam, LPDWORD pResult);

// Sheet function reasons.
inline constexpr WORD PROPSHEETUI_REASON_INIT = 0;
inline constexpr WORD PROPSHEETUI_REASON_GET_INFO_HEADER = 1;
inline constexpr WORD PROPSHEETUI_REASON_DESTROY = 2;
inline constexpr WORD PROPSHEETUI_REASON_SET_RESULT = 3;
inline constexpr WORD PROPSHEETUI_REASON_GET_ICON = 4;

// Option-item callback reasons and actions.
inline constexpr WORD CPSUICB_REASON_SEL_CHANGED = 0;
inline constexpr WORD CPSUICB_REASON_APPLYNOW = 6;
inline constexpr WORD CPSUICB_REASON_SETACTIVE = 10;
inline constexpr LONG CPSUICB_ACTION_NONE = 0;
inline constexpr LONG CPSUICB_ACTION_ITEMS_APPLIED = 4;

inline constexpr UINT CPSFUNC_ADD_PCOMPROPSHEETUIW = 3;
inline constexpr ULONG_PTR CPSUI_OK = 1;
inline constexpr ULONG_PTR CPSUI_CANCEL = 0;

inline constexpr WORD CPSUIF_UPDATE_PERMISSION = 0x0001;
inline constexpr WORD PSUIHDRF_NOAPPLYNOW = 0x0002;
inline constexpr WORD PSUIHDRF_PROPTITLE = 0x0004;
inline constexpr WORD PSUIHDRF_DEFTITLE = 0x0010;

inline DLGPAGE* const CPSUI_PDLGPAGE_DOCPROP = reinterpret_cast<DLGPAGE*>(1);
inline DLGPAGE* const CPSUI_PDLGPAGE_TREEVIEWONLY = reinterpret_cast<DLGPAGE*>(4);

inline constexpr DWORD OPTIF_CALLBACK = 0x00000004;

inline constexpr BYTE TVOT_2STATES = 0;
inline constexpr BYTE TVOT_LISTBOX = 5;
inline constexpr BYTE TVOT_NONE = 11;

inline constexpr BYTE DMPUB_ORIENTATION = 1;
inline constexpr BYTE DMPUB_PRINTQUALITY = 5;
inline constexpr BYTE DMPUB_COLOR = 6;
inline constexpr BYTE DMPUB_FORMNAME = 9;

// Standard strings and icons of the sheet service.
inline constexpr WORD IDS_CPSUI_ORIENTATION = 64738;
inline constexpr WORD IDS_CPSUI_RESOLUTION = 64743;
inline constexpr WORD IDS_CPSUI_COLOR_APPERANCE = 64744;
inline constexpr WORD IDS_CPSUI_FORMNAME = 64747;
inline constexpr WORD IDS_CPSUI_PORTRAIT = 64753;
inline constexpr WORD IDS_CPSUI_LANDSCAPE = 64754;
inline constexpr WORD IDS_CPSUI_COLOR = 64764;
inline constexpr WORD IDS_CPSUI_GRAYSCALE = 64765;
inline constexpr WORD IDI_CPSUI_PORTRAIT = 64022;
inline constexpr WORD IDI_CPSUI_LANDSCAPE = 64023;
inline constexpr WORD IDI_CPSUI_MONO = 64039;
inline constexpr WORD IDI_CPSUI_COLOR = 64040;
inline constexpr WORD IDI_CPSUI_DOCUMENT = 64059;
inline constexpr WORD IDI_CPSUI_PRINTER = 64062;
inline constexpr WORD IDI_CPSUI_GENERIC_OPTION = 64072;

// The configuration module's exports.
#ifndef PIXMOR_LAYOUT_ONLY  // records only, for the layout check
extern "C" {
PIXMOR_EXPORT LONG APIENTRY DrvDocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam);
PIXMOR_EXPORT LONG APIENTRY DrvDevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam);
PIXMOR_EXPORT LONG APIENTRY DocumentProperties(HWND hWnd, HANDLE hPrinter);
PIXMOR_EXPORT LONG APIENTRY PrinterProperties(HWND hWnd, HANDLE hPrinter);
PIXMOR_EXPORT DWORD APIENTRY DrvDeviceCapabilities(HANDLE hPrinter, PWSTR pDeviceName, WORD iDevCap,
                                                   void* pvOutput, DEVMODEW* pDevMode);
PIXMOR_EXPORT BOOL APIENTRY DevQueryPrintEx(PDEVQUERYPRINT_INFO pDQPInfo);
PIXMOR_EXPORT BOOL APIENTRY DrvPrinterEvent(LPWSTR pPrinterName, INT DriverEvent, DWORD Flags,
                                            LPARAM lParam);
}
#endif

#if PIXMOR_32BIT
static_assert(sizeof(OPTPARAM) == 24);
static_assert(sizeof(OPTTYPE) == 32);
static_assert(sizeof(OPTITEM) == 52);
static_assert(sizeof(COMPROPSHEETUI) == 64);
static_assert(sizeof(CPSUICBPARAM) == 32);
static_assert(sizeof(PROPSHEETUI_INFO) == 28);
static_assert(sizeof(PROPSHEETUI_INFO_HEADER) == 20);
#endif
