// The spooler's queries that show nothing: device capabilities, whether a job
// may print, and printer events. All answers come from the constant tables.
#include "uDeviceCapabilities.h"

#include <algorithm>
#include <cstring>

#include "uBoundary.h"
#include "uFormInfo.h"
#include "uResolutions.h"

namespace pixmor {

namespace {

// The caller's buffer need not be aligned for the values it receives.
template <class T>
void PutAt(BYTE* out, std::size_t index, T value) {
  std::memcpy(out + index * sizeof(T), &value, sizeof(T));
}

void WriteList(TCapabilityList list, BYTE* out) {
  switch (list) {
    case TCapabilityList::Papers:
      for (std::size_t k = 0; k < PaperForms.size(); ++k)
        PutAt<WORD>(out, k, PaperForms[k].PaperId);
      break;
    case TCapabilityList::PaperSizes:
      for (std::size_t k = 0; k < PaperForms.size(); ++k) {
        PutAt<LONG>(out, 2 * k, static_cast<LONG>(PaperForms[k].Width / 100));
        PutAt<LONG>(out, 2 * k + 1, static_cast<LONG>(PaperForms[k].Height / 100));
      }
      break;
    case TCapabilityList::PaperNames:
      for (std::size_t k = 0; k < PaperForms.size(); ++k) {
        BYTE* slot = out + k * PaperNameSlotUnits * sizeof(WCHAR);
        std::memset(slot, 0, PaperNameSlotUnits * sizeof(WCHAR));
        const std::size_t units =
            std::min<std::size_t>(NameLength(PaperForms[k].Name), PaperNameCopyUnits);
        std::memcpy(slot, PaperForms[k].Name, units * sizeof(WCHAR));
      }
      break;
    case TCapabilityList::Resolutions:
      for (std::size_t k = 0; k < Resolutions.size(); ++k) {
        PutAt<LONG>(out, 2 * k, Resolutions[k]);
        PutAt<LONG>(out, 2 * k + 1, Resolutions[k]);
      }
      break;
    case TCapabilityList::None:
      break;
  }
}

}  // namespace

DWORD DeviceCapability(WORD code, void* output) {
  if (code > LastCapabilityCode) return GDI_ERROR;
  const TCapabilityAnswer& answer = CapabilityAnswers[code];
  if (output != nullptr) WriteList(answer.List, static_cast<BYTE*>(output));
  return answer.Result;
}

}  // namespace pixmor

extern "C" {

PIXMOR_EXPORT DWORD APIENTRY DrvDeviceCapabilities(HANDLE, PWSTR, WORD iDevCap, void* pvOutput,
                                                   DEVMODEW*) {
  return pixmor::Guarded(GDI_ERROR, [&] { return pixmor::DeviceCapability(iDevCap, pvOutput); });
}

// Every job may print, whatever its device mode names.
PIXMOR_EXPORT BOOL APIENTRY DevQueryPrintEx(PDEVQUERYPRINT_INFO) { return kTrue; }

// Installation and removal are acknowledged; nothing is done for any event.
PIXMOR_EXPORT BOOL APIENTRY DrvPrinterEvent(LPWSTR, INT DriverEvent, DWORD, LPARAM) {
  return DriverEvent == PRINTER_EVENT_INITIALIZE || DriverEvent == PRINTER_EVENT_DELETE ? kTrue
                                                                                        : kFalse;
}

}  // extern "C"
