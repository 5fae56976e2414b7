// What the printer's configuration driver says it offers, asked the way an
// application asks: DeviceCapabilitiesW.
#pragma once

#include <string>
#include <vector>

#include "uWinBase.h"

namespace host {

struct TPaper {
  WORD Id;
  std::u16string Name;
  LONG WidthTenthMm;
  LONG HeightTenthMm;
};

struct TCapabilities {
  std::vector<TPaper> Papers;  // without the empty first entry
  std::vector<LONG> Resolutions;
  DWORD Fields = 0;
};

// Throws TCommandError when the driver cannot be asked.
TCapabilities QueryCapabilities(const std::u16string& printer);

// The paper named case-insensitively, or given by its number; throws
// TCommandError listing what there is when nothing matches.
const TPaper& FindPaper(const TCapabilities& caps, const std::string& nameOrNumber);
LONG FindResolution(const TCapabilities& caps, const std::string& dpi);

}  // namespace host
