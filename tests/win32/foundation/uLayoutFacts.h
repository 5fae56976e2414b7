// Sizes and field offsets of the platform records, measured in two separate
// translation units: one with our declarations, one with the cross
// toolchain's own headers.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct TLayoutFact {
  std::string Name;
  std::size_t Value;
};

std::vector<TLayoutFact> OurLayouts();
std::vector<TLayoutFact> SdkLayouts();
