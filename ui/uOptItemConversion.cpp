#include "uOptItemConversion.h"

#include <algorithm>
#include <cstring>

#include "uFormInfo.h"
#include "uResolutions.h"

namespace pixmor {

bool DevModeToOptItems(POPTITEM items, UINT count, PSheetData data) {
  if (items == nullptr || data == nullptr || data->pDevMode == nullptr) return false;
  const DEVMODEW& dm = *data->pDevMode;
  for (UINT i = 0; i < count; ++i) {
    OPTITEM& item = items[i];
    switch (item.DMPubID) {
      case DMPUB_ORIENTATION:
        item.Sel = dm.dmOrientation == DMORIENT_LANDSCAPE ? 1 : 0;
        break;
      case DMPUB_PRINTQUALITY:
        item.Sel = ResolutionIndexOf(dm.dmPrintQuality);
        break;
      case DMPUB_COLOR:
        item.Sel = dm.dmColor == DMCOLOR_COLOR ? 1 : 0;
        break;
      case DMPUB_FORMNAME:
        item.Sel = PaperIndexOf(dm.dmPaperSize);
        break;
      default:
        break;
    }
  }
  return true;
}

bool OptItemsToDevMode(const OPTITEM* items, UINT count, PSheetData data) {
  if (items == nullptr || data == nullptr || data->pDevMode == nullptr) return false;
  DEVMODEW& dm = *data->pDevMode;
  for (UINT i = 0; i < count; ++i) {
    const OPTITEM& item = items[i];
    switch (item.DMPubID) {
      case DMPUB_ORIENTATION:
        dm.dmOrientation = item.Sel == 0 ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
        dm.dmFields |= DM_ORIENTATION;
        break;
      case DMPUB_PRINTQUALITY: {
        const auto dpi = static_cast<SHORT>(ResolutionAt(item.Sel));
        dm.dmPrintQuality = dpi;
        dm.dmYResolution = dpi;
        dm.dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
        break;
      }
      case DMPUB_COLOR:
        dm.dmColor = item.Sel == 1 ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
        dm.dmFields |= DM_COLOR;
        break;
      case DMPUB_FORMNAME: {
        const INT id = PaperIdAt(item.Sel);
        dm.dmPaperSize = static_cast<SHORT>(id);
        SetFormName(PaperForms[PaperRowOf(id)].Name, &dm);
        dm.dmFields |= DM_PAPERSIZE | DM_FORMNAME;
        break;
      }
      default:
        break;
    }
  }
  return true;
}

void SetFormName(LPCWSTR name, DEVMODEW* devMode) {
  if (devMode == nullptr) return;
  std::memset(devMode->dmFormName, 0, sizeof devMode->dmFormName);
  if (name == nullptr) return;
  const std::size_t units = std::min<std::size_t>(NameLength(name), CCHFORMNAME);
  std::memcpy(devMode->dmFormName, name, units * sizeof(WCHAR));
}

}  // namespace pixmor
