// The same comparison at compile time, for builds whose programs cannot run
// here, and our constants' values too: our records and constants, declared inside a namespace of
// their own, against the toolchain's headers in one translation unit.
#include <array>
#include <cstddef>
#include <cstdint>

#define PIXMOR_LAYOUT_ONLY
namespace ours {
#include "uCompstui.h"
#include "uPrintOem.h"
}  // namespace ours

// Our constants, taken before the toolchain's macros of the same names exist.
#define LAYOUT_CONSTANT(C) constexpr auto our_##C = ours::C;
#include "uConstantList.inc"
#undef LAYOUT_CONSTANT

#define UNICODE
#include <windows.h>
#include <winddi.h>
#include <winspool.h>
#include <compstui.h>
#include <winddiui.h>

#define LAYOUT_SIZE(T) static_assert(sizeof(ours::T) == sizeof(::T), "size of " #T);
#define LAYOUT_FIELD(T, F) \
  static_assert(offsetof(ours::T, F) == offsetof(::T, F), "offset of " #T "." #F);
#include "uLayoutList.inc"

#define LAYOUT_CONSTANT(C) static_assert(our_##C == (C), "value of " #C);
#include "uConstantList.inc"
