// The service's own strings for the standard identifiers the drivers use,
// and the look-up of a caller's strings.
#include <array>

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

std::string Utf8Of(LPCWSTR text) {
  std::string out;
  for (; text != nullptr && *text != 0; ++text) {
    std::uint32_t c = *text;
    if (c >= 0xD800 && c <= 0xDBFF && text[1] >= 0xDC00 && text[1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[1] - 0xDC00);
      ++text;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

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
