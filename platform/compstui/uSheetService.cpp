// CommonPropertySheetUIW of the substitute platform: drives a sheet function
// through INIT, GET_INFO_HEADER, the page it adds, the user's choices, the
// option-item callback (APPLYNOW), SET_RESULT and DESTROY. The choices come
// from a script, or from the terminal (see uSheetService.h).
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "uModuleResources.h"
#include "uSheetModel.h"
#include "uSheetService.h"

using namespace sheet;

namespace {

constexpr std::uint32_t kSessionMagic = 0x43505355u;
constexpr WORD kServiceVersion = 0x0100;

// The published SETRESULT_INFO, the argument of the SET_RESULT call.
struct TSetResultInfo {
  WORD cbSize;
  WORD wReserved;
  HANDLE hSetResult;
  LONG_PTR Result;
};

// One open sheet: the page its function added.
struct TSession {
  std::uint32_t Magic = kSessionMagic;
  PCOMPROPSHEETUI Page = nullptr;
};

std::mutex StateLock;
bool ScriptSet = false;
std::string Script;
std::string LastSheetText;
std::atomic<unsigned long> SheetsShown{0};

bool CurrentScript(std::string& script) {
  {
    std::lock_guard<std::mutex> guard(StateLock);
    if (ScriptSet) {
      script = Script;
      return true;
    }
  }
  if (const char* env = std::getenv("PIXMOR_SHEET_SCRIPT"); env != nullptr) {
    script = env;
    return true;
  }
  return false;
}

LONG_PTR CALLBACK ComPropSheet(HANDLE hComPropSheet, UINT function, LPARAM lParam1,
                               LPARAM lParam2) {
  auto* session = static_cast<TSession*>(hComPropSheet);
  if (session == nullptr || session->Magic != kSessionMagic) return -1;
  if (function != CPSFUNC_ADD_PCOMPROPSHEETUIW) return -1;
  auto* page = reinterpret_cast<PCOMPROPSHEETUI>(lParam1);
  if (page == nullptr || page->cbSize < sizeof(COMPROPSHEETUI) || session->Page != nullptr) {
    return -1;
  }
  session->Page = page;
  if (lParam2 != 0) *reinterpret_cast<DWORD*>(lParam2) = 1;  // pages added
  return reinterpret_cast<LONG_PTR>(page);
}

std::vector<TShownItem> ShownItems(const COMPROPSHEETUI& page) {
  std::vector<TShownItem> items;
  for (WORD i = 0; i < page.cOptItem; ++i) {
    const OPTITEM& item = page.pOptItem[i];
    TShownItem shown;
    shown.Name = TextOf(item.pName, page.hInstCaller);
    shown.Sel = item.Sel;
    if (item.pOptType != nullptr && item.pOptType->pOptParam != nullptr) {
      for (WORD k = 0; k < item.pOptType->Count; ++k) {
        shown.Choices.push_back(TextOf(item.pOptType->pOptParam[k].pData, page.hInstCaller));
      }
    }
    items.push_back(std::move(shown));
  }
  return items;
}

std::string ChoiceText(const TShownItem& item) {
  if (item.Sel < 0 || static_cast<std::size_t>(item.Sel) >= item.Choices.size()) return "?";
  return item.Choices[static_cast<std::size_t>(item.Sel)];
}

// The sheet's name and its icon, as the service finds it.
std::string SheetHeading(const COMPROPSHEETUI& page, const PROPSHEETUI_INFO_HEADER& header) {
  std::string text = TextOf(page.pOptItemName, page.hInstCaller) + "\n";
  const BYTE* icon = nullptr;
  DWORD iconSize = 0;
  if (PlatformFindIconGroup(header.hInst, static_cast<WORD>(header.IconID), &icon, &iconSize) &&
      iconSize >= 6) {
    text += "Icon " + std::to_string(header.IconID) + ": " +
            std::to_string(icon[4] | (icon[5] << 8)) + " images\n";
  } else {
    text += "Icon " + std::to_string(header.IconID) + ": missing\n";
  }
  return text;
}

// Calls the page's option-item callback, if it has one, for a reason.
void CallBack(const COMPROPSHEETUI& page, WORD reason, OPTITEM* current, LONG oldSel) {
  if (page.pfnCallBack == nullptr) return;
  CPSUICBPARAM param{};
  param.cbSize = sizeof(CPSUICBPARAM);
  param.Reason = reason;
  param.pOptItem = page.pOptItem;
  param.cOptItem = page.cOptItem;
  param.pCurItem = current;
  param.OldSel = oldSel;
  param.UserData = page.UserData;
  param.Result = CPSUI_OK;
  page.pfnCallBack(&param);
}

void Choose(const COMPROPSHEETUI& page, std::size_t index, LONG sel) {
  OPTITEM& item = page.pOptItem[index];
  if (item.Sel == sel) return;
  const LONG old = item.Sel;
  item.Sel = sel;
  CallBack(page, CPSUICB_REASON_SEL_CHANGED, &item, old);
}

bool ReadLine(std::string& line) {
  line.clear();
  int c = 0;
  while ((c = std::getchar()) != EOF && c != '\n') line.push_back(static_cast<char>(c));
  return c != EOF || !line.empty();
}

// Numbered items, numbered choices, read from the terminal.
TScriptEnd AskOnTerminal(const COMPROPSHEETUI& page, std::vector<TShownItem>& items,
                         const std::string& heading) {
  std::printf("%s", heading.c_str());
  for (;;) {
    for (std::size_t i = 0; i < items.size(); ++i) {
      std::printf("%2zu. %s: %s\n", i + 1, items[i].Name.c_str(), ChoiceText(items[i]).c_str());
    }
    std::printf("Item to change (number), ok or cancel: ");
    std::fflush(stdout);
    std::string line;
    if (!ReadLine(line)) return TScriptEnd::Cancel;
    if (line == "ok" || line == "OK") return TScriptEnd::Ok;
    if (line == "cancel") return TScriptEnd::Cancel;
    const std::size_t n = std::strtoul(line.c_str(), nullptr, 10);
    if (n == 0 || n > items.size() || items[n - 1].Choices.empty()) continue;
    TShownItem& item = items[n - 1];
    for (std::size_t k = 0; k < item.Choices.size(); ++k) {
      std::printf("   %3zu. %s\n", k + 1, item.Choices[k].c_str());
    }
    std::printf("Choice (number): ");
    std::fflush(stdout);
    if (!ReadLine(line)) return TScriptEnd::Cancel;
    const std::size_t k = std::strtoul(line.c_str(), nullptr, 10);
    if (k == 0 || k > item.Choices.size()) continue;
    item.Sel = static_cast<LONG>(k - 1);
    Choose(page, n - 1, item.Sel);
  }
}

enum class TOutcome { Applied, Cancelled, Failed };

TOutcome ShowPage(const COMPROPSHEETUI& page, const PROPSHEETUI_INFO_HEADER& header) {
  std::vector<TShownItem> items = ShownItems(page);
  const std::string heading = SheetHeading(page, header);
  {
    std::string text = heading;
    for (const TShownItem& item : items) text += item.Name + ": " + ChoiceText(item) + "\n";
    std::lock_guard<std::mutex> guard(StateLock);
    LastSheetText = text;
  }
  ++SheetsShown;
  std::string script;
  TScriptEnd end = TScriptEnd::Ok;
  if (CurrentScript(script)) {
    const TScriptResult parsed = ParseScript(script, items);
    if (!parsed.Valid) {
      std::fprintf(stderr, "sheet script: %s\n", parsed.Error.c_str());
      return TOutcome::Failed;
    }
    for (const TScriptChoice& choice : parsed.Choices) Choose(page, choice.Item, choice.Sel);
    end = parsed.End;
  } else if (isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) {
    end = AskOnTerminal(page, items, heading);
  }
  return end == TScriptEnd::Ok ? TOutcome::Applied : TOutcome::Cancelled;
}

void ApplyNow(const COMPROPSHEETUI& page) {
  // ITEMS_APPLIED or not, the result is set by the caller.
  CallBack(page, CPSUICB_REASON_APPLYNOW, page.pOptItem, 0);
}

}  // namespace

extern "C" {

PIXMOR_EXPORT LONG WINAPI CommonPropertySheetUIW(HWND hWndOwner, PFNPROPSHEETUI pfnPropSheetUI,
                                                 LPARAM lParam, LPDWORD pResult) {
  if (pResult != nullptr) *pResult = static_cast<DWORD>(CPSUI_CANCEL);
  if (pfnPropSheetUI == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  TSession session;
  PROPSHEETUI_INFO info{};
  info.cbSize = sizeof(PROPSHEETUI_INFO);
  info.Version = kServiceVersion;
  info.Reason = PROPSHEETUI_REASON_INIT;
  info.hComPropSheet = &session;
  info.pfnComPropSheet = ComPropSheet;
  info.lParamInit = lParam;
  info.Result = static_cast<ULONG_PTR>(CPSUI_CANCEL);

  const LONG init = pfnPropSheetUI(&info, lParam);
  TOutcome outcome = TOutcome::Failed;
  if (init > 0 && session.Page != nullptr) {
    PROPSHEETUI_INFO_HEADER header{};
    header.cbSize = sizeof(PROPSHEETUI_INFO_HEADER);
    header.hWndParent = hWndOwner;
    info.Reason = PROPSHEETUI_REASON_GET_INFO_HEADER;
    if (pfnPropSheetUI(&info, reinterpret_cast<LPARAM>(&header)) > 0) {
      outcome = ShowPage(*session.Page, header);
    }
  }
  if (outcome == TOutcome::Applied) {
    ApplyNow(*session.Page);
    TSetResultInfo result{sizeof(TSetResultInfo), 0, session.Page, static_cast<LONG_PTR>(CPSUI_OK)};
    info.Reason = PROPSHEETUI_REASON_SET_RESULT;
    pfnPropSheetUI(&info, reinterpret_cast<LPARAM>(&result));
  }
  info.Reason = PROPSHEETUI_REASON_DESTROY;
  pfnPropSheetUI(&info, 0);

  switch (outcome) {
    case TOutcome::Applied:
      if (pResult != nullptr) *pResult = static_cast<DWORD>(CPSUI_OK);
      return static_cast<LONG>(CPSUI_OK);
    case TOutcome::Cancelled:
      return static_cast<LONG>(CPSUI_CANCEL);
    case TOutcome::Failed:
      break;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return -1;
}

PIXMOR_EXPORT void PlatformSetSheetScript(const char* script) {
  std::lock_guard<std::mutex> guard(StateLock);
  ScriptSet = script != nullptr;
  Script = script != nullptr ? script : "";
}

PIXMOR_EXPORT unsigned long PlatformSheetsShown() { return SheetsShown.load(); }

PIXMOR_EXPORT const char* PlatformLastSheetText() {
  static thread_local std::string copy;
  std::lock_guard<std::mutex> guard(StateLock);
  copy = LastSheetText;
  return copy.c_str();
}

}  // extern "C"
