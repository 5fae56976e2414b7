// The same comparison at compile time, for builds whose programs cannot run
// here: our records, declared inside a namespace of their own, against the
// toolchain's headers in one translation unit.
#include <array>
#include <cstddef>
#include <cstdint>

#define PIXMOR_LAYOUT_ONLY
namespace ours {
#include "uCompstui.h"
#include "uPrintOem.h"
}  // namespace ours

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
