// What the substitute sheet service shows of a page: each option item's
// name, its choices and its current selection, as UTF-8 texts.
#pragma once

#include <string>
#include <vector>

#include "uCompstui.h"

namespace sheet {

struct TShownItem {
  std::string Name;
  std::vector<std::string> Choices;
  LONG Sel = 0;
};

// The text of an item name or choice: a string resource when given as a
// number (the service's own from 64000 up, else the caller's module), else
// the text itself.
std::string TextOf(LPCWSTR text, HINSTANCE caller);

std::string Utf8Of(LPCWSTR text);

// One choice the script makes: item index (0 first) and selection.
struct TScriptChoice {
  std::size_t Item;
  LONG Sel;
};

enum class TScriptEnd { Ok, Cancel };

struct TScriptResult {
  bool Valid = false;
  std::string Error;
  std::vector<TScriptChoice> Choices;
  TScriptEnd End = TScriptEnd::Ok;
};

// Matches a script (see uSheetService.h) against the shown items.
TScriptResult ParseScript(const std::string& script, const std::vector<TShownItem>& items);

}  // namespace sheet
