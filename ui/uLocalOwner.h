// Owns one zero-initialised LocalAlloc block and gives it back with LocalFree.
#pragma once

#include <memory>

#include "uWinBase.h"

namespace pixmor {

struct TLocalRelease {
  void operator()(void* block) const noexcept { LocalFree(block); }
};

template <class T = BYTE>
using TLocalOwner = std::unique_ptr<T, TLocalRelease>;

template <class T = BYTE>
TLocalOwner<T> AllocZeroed(SIZE_T bytes) {
  return TLocalOwner<T>(static_cast<T*>(LocalAlloc(LPTR, bytes)));
}

}  // namespace pixmor
