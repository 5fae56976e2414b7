// Owns one LocalAlloc block and gives it back with LocalFree; both drivers
// hold every block they allocate this way.
#pragma once

#include <memory>

#include "uWinBase.h"

namespace pixmor {

struct TLocalFree {
  void operator()(void* block) const noexcept { LocalFree(block); }
};

template <class T = BYTE>
using TLocalBlock = std::unique_ptr<T, TLocalFree>;

template <class T = BYTE>
TLocalBlock<T> AllocLocal(UINT flags, SIZE_T bytes) {
  return TLocalBlock<T>(static_cast<T*>(LocalAlloc(flags, bytes)));
}

// The drivers' usual block: zero-initialised.
template <class T = BYTE>
TLocalBlock<T> AllocZeroed(SIZE_T bytes) {
  return AllocLocal<T>(LPTR, bytes);
}

}  // namespace pixmor
