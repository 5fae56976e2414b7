// The service's own strings for the standard identifiers the drivers use,
// and the look-up of a caller's strings.
#include <array>

#include "uUtf.h"
#include "uModuleResources.h"
#include "uSheetModel.h"

namespace sheet {

namespace {

struct TOwnString {
  WORD Id;
  const char* Text;
};

constexpr std::array<TOwnString, 8> OwnStrings = {{
    {IDS_CPSUI_ORIENTATION, "Orientation"},
    {IDS_CPSUI_RESOLUTION, "Resolution (dpi)"},
    {IDS_CPSUI_COLOR_APPERANCE, "Colour appearance"},
    {IDS_CPSUI_FORMNAME, "Paper"},
    {IDS_CPSUI_PORTRAIT, "Portrait"},
    {IDS_CPSUI_LANDSCAPE, "Landscape"},
    {IDS_CPSUI_COLOR, "Colour"},
    {IDS_CPSUI_GRAYSCALE, "Greyscale"},
}};

constexpr ULONG_PTR kFirstOwnId = 64000;
constexpr ULONG_PTR kResourceIdLimit = 0x10000;

}  // namespace

std::string Utf8Of(LPCWSTR text) { return text == nullptr ? std::string() : utf::ToUtf8(text); }

std::string TextOf(LPCWSTR text, HINSTANCE caller) {
  const auto id = reinterpret_cast<ULONG_PTR>(text);
  if (id >= kResourceIdLimit) return Utf8Of(text);
  if (id >= kFirstOwnId) {
    for (const TOwnString& own : OwnStrings) {
      if (own.Id == id) return own.Text;
    }
    return "#" + std::to_string(id);
  }
  WCHAR buffer[256];
  if (LoadStringW(caller, static_cast<UINT>(id), buffer, 256) <= 0) {
    return "#" + std::to_string(id);
  }
  return Utf8Of(buffer);
}

}  // namespace sheet
