#include "uSheetCallbacks.h"

#include "uBoundary.h"
#include "uOptItemConversion.h"

namespace pixmor {

namespace {

LONG ApplyNow(CPSUICBPARAM& param) {
  if (!OptItemsToDevMode(param.pOptItem, param.cOptItem, SheetDataOf(param.UserData))) {
    return CPSUICB_ACTION_NONE;
  }
  param.Result = CPSUI_OK;
  return CPSUICB_ACTION_ITEMS_APPLIED;
}

}  // namespace

LONG CALLBACK DocumentPropSheetCallback(PCPSUICBPARAM param) {
  return Guarded(CPSUICB_ACTION_NONE, [&] {
    if (param == nullptr || param->Reason != CPSUICB_REASON_APPLYNOW) return CPSUICB_ACTION_NONE;
    return ApplyNow(*param);
  });
}

LONG CALLBACK DevicePropSheetCallback(PCPSUICBPARAM param) {
  return Guarded(CPSUICB_ACTION_NONE, [&] {
    if (param == nullptr) return CPSUICB_ACTION_NONE;
    if (param->Reason == CPSUICB_REASON_APPLYNOW) return ApplyNow(*param);
    if (param->Reason == CPSUICB_REASON_SETACTIVE) param->Result = CPSUI_OK;
    return CPSUICB_ACTION_NONE;
  });
}

}  // namespace pixmor
