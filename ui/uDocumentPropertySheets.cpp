// The document settings: the spooler's direct calls (size query, a device
// mode, a merge of the caller's device mode) and the document sheet, whose
// applied settings come back to the caller and become the user's default.
#include <algorithm>
#include <cstring>

#include "uBoundary.h"
#include "uSheetReasons.h"
#include "uModuleInstance.h"
#include "uPixmorDefs.h"
#include "uPixmorUIDefs.h"
#include "uPropSheetBuilder.h"
#include "uSheetCallbacks.h"
#include "uStoredSettings.h"

namespace pixmor {

namespace {

constexpr WORD DocumentHeaderFlags = PSUIHDRF_NOAPPLYNOW | PSUIHDRF_PROPTITLE;
static_assert(DocumentHeaderFlags == 0x06);

DWORD ClaimedSize(const DEVMODEW& dm) { return DWORD{dm.dmSize} + DWORD{dm.dmDriverExtra}; }

// Input and output may be the same record, so copies may overlap.
void CopyRecord(DEVMODEW* out, const void* source, DWORD bytes) {
  std::memmove(out, source, bytes);
}

void CopyDefault(DEVMODEW* out, DWORD cbOut) {
  CopyRecord(out, &DefaultDevMode, std::min<DWORD>(cbOut, DevModeSize));
}

// An accepted record taken whole (as far as the output holds it), with the
// default field mask and sizes that claim no more than the copy holds.
DWORD CopyAccepted(DEVMODEW* out, const DEVMODEW* in, DWORD cbOut) {
  const DWORD claimed = ClaimedSize(*in);
  const WORD publicSize = in->dmSize;
  const DWORD copied = std::min(cbOut, claimed);
  CopyRecord(out, in, copied);
  out->dmFields = DefaultFieldMask;
  if (copied < claimed) out->dmDriverExtra = static_cast<WORD>(copied - publicSize);
  return copied;
}

LONG DirectCall(DOCUMENTPROPERTYHEADER* header) {
  if (header == nullptr) return FailSheetCall(ERROR_INVALID_DATA);
  if (header->fMode == 0 && header->pdmOut == nullptr) {
    header->cbOut = DevModeSize;
    return DevModeSize;
  }
  DEVMODEW* out = header->pdmOut;
  const DEVMODEW* in = header->pdmIn;
  const DWORD cbOut = header->cbOut;
  if (out == nullptr) return FailSheetCall(ERROR_INVALID_DATA);
  const DWORD minimum = ClaimedSize(DefaultDevMode);

  if ((header->fMode & DM_IN_BUFFER) == 0) {
    if (in != nullptr) {
      if (!IsAcceptedDevMode(*in)) {
        CopyDefault(out, cbOut);
        return 1;
      }
      if (cbOut == 0 || cbOut < ClaimedSize(*in)) return FailSheetCall(ERROR_INSUFFICIENT_BUFFER);
      CopyAccepted(out, in, cbOut);
      return 1;
    }
    if (cbOut < minimum) return FailSheetCall(ERROR_INSUFFICIENT_BUFFER);
    if (!LoadDevMode(header->hPrinter, out, cbOut, false) &&
        !LoadDevMode(header->hPrinter, out, cbOut, true)) {
      CopyDefault(out, cbOut);
    }
    return 1;
  }

  if (in == nullptr) {
    if (cbOut < minimum) return FailSheetCall(ERROR_INSUFFICIENT_BUFFER);
    CopyDefault(out, cbOut);
    return 1;
  }
  if (cbOut < DevModeSize) return FailSheetCall(ERROR_INSUFFICIENT_BUFFER);
  if (!IsAcceptedDevMode(*in)) {
    CopyDefault(out, cbOut);
    return 1;
  }
  const DWORD copied = CopyAccepted(out, in, cbOut);
  StoreDevMode(header->hPrinter, out, copied, false);  // the result is not used
  return 1;
}

// Hands the sheet's record to the caller: cbOut bytes, at most the record.
bool CopySheetRecord(const DOCUMENTPROPERTYHEADER& header, const TSheetData& data) {
  if (header.pdmOut == nullptr || data.pDevMode == nullptr || header.cbOut == 0) return false;
  CopyRecord(header.pdmOut, data.pDevMode, std::min<DWORD>(header.cbOut, DevModeSize));
  return true;
}

LONG SheetCall(PROPSHEETUI_INFO& info, LPARAM lParam) {
  auto* header = reinterpret_cast<DOCUMENTPROPERTYHEADER*>(info.lParamInit);
  if (header == nullptr) return FailSheetCall(ERROR_INVALID_PARAMETER);
  switch (info.Reason) {
    case PROPSHEETUI_REASON_INIT: {
      if (!BuildPropSheet(SheetItems, info, header->hPrinter, DocumentPropSheetCallback,
                          CPSUI_PDLGPAGE_DOCPROP)) {
        return -1;
      }
      // The caller gets the settings the sheet starts from; without an
      // input record there is no size of its to respect.
      const PSheetData data = SheetDataOf(info.UserData);
      if (data != nullptr &&
          (header->pdmIn == nullptr || ClaimedSize(*header->pdmIn) <= header->cbOut)) {
        CopySheetRecord(*header, *data);
      }
      return 1;
    }
    case PROPSHEETUI_REASON_GET_INFO_HEADER:
      return FillInfoHeader(lParam, DocumentHeaderFlags);
    case PROPSHEETUI_REASON_DESTROY:
      return DestroySheet(info);
    case PROPSHEETUI_REASON_SET_RESULT: {
      const PSheetData data = SheetDataOf(info.UserData);
      if (data == nullptr || data->pDevMode == nullptr) return 0;
      StoreDevMode(header->hPrinter, data->pDevMode, DevModeSize, false);
      return CopySheetRecord(*header, *data) ? 1 : 0;
    }
    default:
      return 0;
  }
}

}  // namespace

}  // namespace pixmor

extern "C" PIXMOR_EXPORT LONG APIENTRY DrvDocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo,
                                                                 LPARAM lParam) {
  return pixmor::Guarded(LONG{-1}, [&] {
    if (pPSUIInfo == nullptr) {
      return pixmor::DirectCall(reinterpret_cast<DOCUMENTPROPERTYHEADER*>(lParam));
    }
    return pixmor::SheetCall(*pPSUIInfo, lParam);
  });
}
