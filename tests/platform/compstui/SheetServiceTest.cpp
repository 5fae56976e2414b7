// CommonPropertySheetUIW of the substitute platform: the order of its calls
// into a sheet function and its callback, and how scripted choices are
// matched against the shown texts.
#include <gtest/gtest.h>

#include "uCaseName.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "uCompstui.h"
#include "uSheetService.h"

namespace {

// A sheet of three items: colour (the service's own texts), a paper list
// given as text pointers, and an item whose texts are resources of a
// module the service cannot find.
struct TFakeSheet {
  std::vector<std::string> Calls;
  LONG InitResult = 1;
  bool AddPage = true;
  LONG AppliedAction = CPSUICB_ACTION_ITEMS_APPLIED;
  LPARAM Header = 0;

  COMPROPSHEETUI Page{};
  OPTITEM Items[3]{};
  OPTTYPE Types[3]{};
  OPTPARAM ColourParams[2]{};
  OPTPARAM PaperParams[4]{};
  OPTPARAM ResourceParams[2]{};
  std::u16string PaperName = u"Paper size";
  std::u16string PaperTexts[4] = {u"A4", u"A4 Small", u"A3", u"Letter"};

  void Build() {
    auto id = [](ULONG_PTR n) { return reinterpret_cast<LPWSTR>(n); };
    ColourParams[0].pData = id(IDS_CPSUI_GRAYSCALE);
    ColourParams[1].pData = id(IDS_CPSUI_COLOR);
    for (int k = 0; k < 4; ++k) PaperParams[k].pData = PaperTexts[k].data();
    ResourceParams[0].pData = id(2000);
    ResourceParams[1].pData = id(2001);
    OPTPARAM* params[] = {ColourParams, PaperParams, ResourceParams};
    const WORD counts[] = {2, 4, 2};
    const LPWSTR names[] = {id(IDS_CPSUI_COLOR_APPERANCE), PaperName.data(), id(2100)};
    for (int i = 0; i < 3; ++i) {
      Types[i].cbSize = sizeof(OPTTYPE);
      Types[i].Type = TVOT_LISTBOX;
      Types[i].Count = counts[i];
      Types[i].pOptParam = params[i];
      Items[i].cbSize = sizeof(OPTITEM);
      Items[i].pName = names[i];
      Items[i].pOptType = &Types[i];
      Items[i].UserData = reinterpret_cast<ULONG_PTR>(this);
    }
    Items[0].Sel = 1;
    Items[1].Sel = 3;
    Page.cbSize = sizeof(COMPROPSHEETUI) + 4;
    Page.UserData = reinterpret_cast<ULONG_PTR>(this);
    Page.pfnCallBack = Callback;
    Page.pOptItem = Items;
    Page.cOptItem = 3;
    Page.pOptItemName = const_cast<LPWSTR>(u"Test sheet");
  }

  static LONG CALLBACK Callback(PCPSUICBPARAM param) {
    auto* self = reinterpret_cast<TFakeSheet*>(param->UserData);
    if (param->Reason == CPSUICB_REASON_APPLYNOW) {
      self->Calls.push_back("apply " + self->Selections());
      return self->AppliedAction;
    }
    const auto item = param->pCurItem - param->pOptItem;
    self->Calls.push_back("changed " + std::to_string(item) + " from " +
                          std::to_string(param->OldSel));
    return CPSUICB_ACTION_NONE;
  }

  std::string Selections() const {
    return std::to_string(Items[0].Sel) + std::to_string(Items[1].Sel) +
           std::to_string(Items[2].Sel);
  }

  static TFakeSheet* Current;
  static LONG CALLBACK Function(PPROPSHEETUI_INFO info, LPARAM lParam) {
    TFakeSheet& self = *Current;
    switch (info->Reason) {
      case PROPSHEETUI_REASON_INIT: {
        self.Calls.push_back(lParam == self.Header && info->lParamInit == self.Header
                                 ? "init"
                                 : "init with another header");
        if (self.InitResult <= 0) return self.InitResult;
        self.Build();
        if (self.AddPage) {
          DWORD added = 0;
          const LONG_PTR page = info->pfnComPropSheet(
              info->hComPropSheet, CPSFUNC_ADD_PCOMPROPSHEETUIW,
              reinterpret_cast<LPARAM>(&self.Page), reinterpret_cast<LPARAM>(&added));
          self.Calls.push_back(page != 0 && added == 1 ? "page added" : "page refused");
        }
        return 1;
      }
      case PROPSHEETUI_REASON_GET_INFO_HEADER: {
        auto* header = reinterpret_cast<PPROPSHEETUI_INFO_HEADER>(lParam);
        header->IconID = 2000;
        self.Calls.push_back("info header");
        return 1;
      }
      case PROPSHEETUI_REASON_SET_RESULT:
        self.Calls.push_back("set result");
        return 1;
      case PROPSHEETUI_REASON_DESTROY:
        self.Calls.push_back("destroy");
        return 1;
      default:
        self.Calls.push_back("reason " + std::to_string(info->Reason));
        return 0;
    }
  }

  LONG Run(const char* script, DWORD* result = nullptr) {
    Current = this;
    PlatformSetSheetScript(script);
    int header = 0;
    Header = reinterpret_cast<LPARAM>(&header);
    const LONG r = CommonPropertySheetUIW(nullptr, Function, Header, result);
    PlatformSetSheetScript(nullptr);
    return r;
  }
};
TFakeSheet* TFakeSheet::Current = nullptr;

using TCalls = std::vector<std::string>;

TEST(CommonPropertySheetUIW, OkAppliesThenSetsTheResult) {
  TFakeSheet sheet;
  DWORD result = 99;
  EXPECT_EQ(sheet.Run("paper=a3, 1=grey", &result), 1);
  EXPECT_EQ(result, CPSUI_OK);
  EXPECT_EQ(sheet.Calls, (TCalls{"init", "page added", "info header", "changed 1 from 3",
                                 "changed 0 from 1", "apply 020", "set result", "destroy"}));
  EXPECT_EQ(sheet.Selections(), "020");
  const std::string text = PlatformLastSheetText();
  EXPECT_NE(text.find("Test sheet\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Icon 2000: missing\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Colour appearance: Colour\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Paper size: Letter\n"), std::string::npos) << text;
  EXPECT_NE(text.find("#2100: #2000\n"), std::string::npos) << text;
}

TEST(CommonPropertySheetUIW, AppliedEvenWhenTheCallbackAppliesNothing) {
  TFakeSheet sheet;
  sheet.AppliedAction = CPSUICB_ACTION_NONE;
  EXPECT_EQ(sheet.Run("ok"), 1);
  EXPECT_EQ(sheet.Calls,
            (TCalls{"init", "page added", "info header", "apply 130", "set result", "destroy"}));
}

struct TEndCase {
  const char* name;
  LONG initResult;
  bool addPage;
  const char* script;
  LONG result;
  TCalls calls;
};

class SheetEnds : public testing::TestWithParam<TEndCase> {};

TEST_P(SheetEnds, NothingIsAppliedWithoutOk) {
  const TEndCase& c = GetParam();
  TFakeSheet sheet;
  sheet.InitResult = c.initResult;
  sheet.AddPage = c.addPage;
  DWORD result = 99;
  EXPECT_EQ(sheet.Run(c.script, &result), c.result);
  EXPECT_EQ(result, CPSUI_CANCEL);
  EXPECT_EQ(sheet.Calls, c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Service, SheetEnds,
    testing::Values(TEndCase{"cancel",
                             1,
                             true,
                             "paper=A4,cancel",
                             0,
                             {"init", "page added", "info header", "changed 1 from 3", "destroy"}},
                    TEndCase{"init_fails", -1, true, "ok", -1, {"init", "destroy"}},
                    TEndCase{"no_page", 1, false, "ok", -1, {"init", "destroy"}},
                    TEndCase{"bad_script",
                             1,
                             true,
                             "paper=B5",
                             -1,
                             {"init", "page added", "info header", "destroy"}},
                    TEndCase{"entry_after_ok",
                             1,
                             true,
                             "ok,paper=A4",
                             -1,
                             {"init", "page added", "info header", "destroy"}}),
    TCaseName());

TEST(CommonPropertySheetUIW, NoSheetFunction) {
  DWORD result = 99;
  EXPECT_EQ(CommonPropertySheetUIW(nullptr, nullptr, 0, &result), -1);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(result, CPSUI_CANCEL);
}

struct TScriptCase {
  const char* name;
  const char* script;
  const char* selections;  // null: the script fails
};

class Scripts : public testing::TestWithParam<TScriptCase> {};

TEST_P(Scripts, MatchShownTextsCaseInsensitively) {
  TFakeSheet sheet;
  const LONG result = sheet.Run(GetParam().script);
  if (GetParam().selections == nullptr) {
    EXPECT_EQ(result, -1);
    EXPECT_EQ(sheet.Selections(), "130");
  } else {
    EXPECT_EQ(result, 1);
    EXPECT_EQ(sheet.Selections(), GetParam().selections);
  }
}

INSTANTIATE_TEST_SUITE_P(Service, Scripts,
                         testing::Values(TScriptCase{"empty", "", "130"},
                                         TScriptCase{"exact_text_over_prefix", "paper=A4", "100"},
                                         TScriptCase{"unique_prefix", "paper=a4 s", "110"},
                                         TScriptCase{"ambiguous_prefix", "paper=A", nullptr},
                                         TScriptCase{"word_of_item_name", "SIZE=letter", "130"},
                                         TScriptCase{"item_by_number", "2=#1", "100"},
                                         TScriptCase{"choice_by_number", "colour=#1", "030"},
                                         TScriptCase{"resource_texts_by_number", "3=#2", "131"},
                                         TScriptCase{"spaces", " colour = greyscale , ok ", "030"},
                                         TScriptCase{"item_number_out_of_range", "4=#1", nullptr},
                                         TScriptCase{"choice_number_out_of_range", "colour=#3",
                                                     nullptr},
                                         TScriptCase{"unknown_item", "duplex=on", nullptr},
                                         TScriptCase{"no_equals", "paper", nullptr}),
                         TCaseName());

TEST(CommonPropertySheetUIW, ScriptFromTheEnvironment) {
  setenv("PIXMOR_SHEET_SCRIPT", "paper=A4", 1);
  TFakeSheet sheet;
  TFakeSheet::Current = &sheet;
  int header = 0;
  sheet.Header = reinterpret_cast<LPARAM>(&header);
  EXPECT_EQ(CommonPropertySheetUIW(nullptr, TFakeSheet::Function, sheet.Header, nullptr), 1);
  unsetenv("PIXMOR_SHEET_SCRIPT");
  EXPECT_EQ(sheet.Selections(), "100");
  const unsigned long shown = PlatformSheetsShown();
  EXPECT_GT(shown, 0u);
}

}  // namespace
