// The capability answers: one row per capability code 0 to 35, each either a
// fixed value or a list written into the caller's buffer.
#pragma once

#include <array>

#include "uFormInfo.h"
#include "uPixmorDefs.h"

namespace pixmor {

enum class TCapabilityList : BYTE { None, Papers, PaperSizes, PaperNames, Resolutions };

struct TCapabilityAnswer {
  DWORD Result;          // the count, for a list
  TCapabilityList List;  // what goes into the buffer
};

inline constexpr WORD LastCapabilityCode = DC_MEDIATYPES;
inline constexpr DWORD PaperNameSlotUnits = 64;
inline constexpr DWORD PaperNameCopyUnits = 32;

constexpr std::array<TCapabilityAnswer, LastCapabilityCode + 1> MakeCapabilityAnswers() {
  std::array<TCapabilityAnswer, LastCapabilityCode + 1> t{};
  for (auto& row : t) row = {0, TCapabilityList::None};
  t[0] = {GDI_ERROR, TCapabilityList::None};
  t[DC_FIELDS] = {DefaultDevMode.dmFields, TCapabilityList::None};
  t[DC_PAPERS] = {PaperRowCount, TCapabilityList::Papers};
  t[DC_PAPERSIZE] = {PaperRowCount, TCapabilityList::PaperSizes};
  t[DC_EXTRA] = {DefaultDevMode.dmDriverExtra, TCapabilityList::None};
  t[DC_VERSION] = {DefaultDevMode.dmSpecVersion, TCapabilityList::None};
  t[DC_DRIVER] = {DefaultDevMode.dmDriverVersion, TCapabilityList::None};
  t[DC_ENUMRESOLUTIONS] = {13, TCapabilityList::Resolutions};
  t[DC_PAPERNAMES] = {PaperRowCount, TCapabilityList::PaperNames};
  t[DC_PRINTRATEUNIT] = {PRINTRATEUNIT_PPM, TCapabilityList::None};
  t[DC_MEDIAREADY] = {PaperRowCount, TCapabilityList::PaperNames};
  t[DC_COLORDEVICE] = {1, TCapabilityList::None};
  return t;
}

inline constexpr auto CapabilityAnswers = MakeCapabilityAnswers();
static_assert(CapabilityAnswers[DC_FIELDS].Result == 0x01806C0F);
static_assert(CapabilityAnswers[DC_SIZE].Result == 0);
static_assert(CapabilityAnswers[DC_VERSION].Result == 0x0401);
static_assert(CapabilityAnswers[DC_MEDIAREADY].List == CapabilityAnswers[DC_PAPERNAMES].List);

// The answer to one code; the buffer, when given, receives the whole list.
DWORD DeviceCapability(WORD code, void* output);

}  // namespace pixmor
