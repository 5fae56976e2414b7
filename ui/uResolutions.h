// The resolutions the configuration driver offers, in dots per inch, and the
// lookups between resolution-list positions and values.
#pragma once

#include <array>

#include "uWinBase.h"

namespace pixmor {

inline constexpr std::array<INT, 13> Resolutions = {36,  48,  72,  96,  100,  144, 200,
                                                    288, 300, 576, 600, 1152, 1200};
inline constexpr int FallbackResolutionIndex = 9;
static_assert(Resolutions[FallbackResolutionIndex] == 576);

// Entry Index of the table, or the fallback 576.
constexpr INT ResolutionAt(INT index) {
  if (index < 0 || index >= static_cast<INT>(Resolutions.size())) {
    return Resolutions[FallbackResolutionIndex];
  }
  return Resolutions[index];
}

// The index of the first entry equal to Dpi, or the fallback index 9.
constexpr int ResolutionIndexOf(INT dpi) {
  for (std::size_t i = 0; i < Resolutions.size(); ++i) {
    if (Resolutions[i] == dpi) return static_cast<int>(i);
  }
  return FallbackResolutionIndex;
}

}  // namespace pixmor
