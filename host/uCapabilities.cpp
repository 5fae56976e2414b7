#include "uCapabilities.h"

#include <cctype>

#include "uCommandLine.h"
#include "uSpool.h"

namespace host {

namespace {

INT Ask(const std::u16string& printer, WORD capability, void* output) {
  const INT n = DeviceCapabilitiesW(printer.c_str(), nullptr, capability,
                                    static_cast<LPWSTR>(output), nullptr);
  if (n < 0) {
    throw TCommandError("the driver of \"" + Narrow(printer) + "\" does not answer capability " +
                        std::to_string(capability));
  }
  return n;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool IsNumber(const std::string& text) {
  if (text.empty() || text.size() > 6) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

}  // namespace

TCapabilities QueryCapabilities(const std::u16string& printer) {
  TCapabilities caps;
  const INT count = Ask(printer, DC_PAPERS, nullptr);
  std::vector<WORD> ids(static_cast<std::size_t>(count));
  std::vector<LONG> sizes(2 * static_cast<std::size_t>(count));
  std::vector<WCHAR> names(64 * static_cast<std::size_t>(count));
  if (Ask(printer, DC_PAPERS, ids.data()) != count ||
      Ask(printer, DC_PAPERSIZE, sizes.data()) != count ||
      Ask(printer, DC_PAPERNAMES, names.data()) != count) {
    throw TCommandError("the driver's paper lists do not agree");
  }
  for (INT i = 0; i < count; ++i) {
    if (ids[i] == 0) continue;  // the empty entry
    const WCHAR* slot = names.data() + 64 * i;
    std::u16string name;
    for (int k = 0; k < 64 && slot[k] != 0; ++k) name.push_back(slot[k]);
    caps.Papers.push_back({ids[i], name, sizes[2 * i], sizes[2 * i + 1]});
  }
  const INT resolutions = Ask(printer, DC_ENUMRESOLUTIONS, nullptr);
  std::vector<LONG> pairs(2 * static_cast<std::size_t>(resolutions));
  Ask(printer, DC_ENUMRESOLUTIONS, pairs.data());
  for (INT i = 0; i < resolutions; ++i) caps.Resolutions.push_back(pairs[2 * i]);
  caps.Fields = static_cast<DWORD>(Ask(printer, DC_FIELDS, nullptr));
  return caps;
}

const TPaper& FindPaper(const TCapabilities& caps, const std::string& nameOrNumber) {
  for (const TPaper& paper : caps.Papers) {
    if (Lower(Narrow(paper.Name)) == Lower(nameOrNumber)) return paper;
    if (IsNumber(nameOrNumber) && std::stoi(nameOrNumber) == paper.Id) return paper;
  }
  throw TCommandError("unknown paper '" + nameOrNumber +
                      "' (see 'pixmor caps' for the papers' names and numbers)");
}

LONG FindResolution(const TCapabilities& caps, const std::string& dpi) {
  std::string digits = Lower(dpi);
  if (digits.size() > 3 && digits.compare(digits.size() - 3, 3, "dpi") == 0)
    digits.resize(digits.size() - 3);
  if (IsNumber(digits)) {
    for (LONG value : caps.Resolutions) {
      if (value == std::stol(digits)) return value;
    }
  }
  std::string offered;
  for (LONG value : caps.Resolutions)
    offered += (offered.empty() ? "" : ", ") + std::to_string(value);
  throw TCommandError("the printer offers no resolution '" + dpi + "' (it offers " + offered +
                      " dpi)");
}

}  // namespace host
