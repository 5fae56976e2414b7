// The boundary of every export and callback of the configuration driver: no
// C++ exception ever reaches the spooler or the sheet service; one that would
// ends the call with the entry point's failure result.
#pragma once

#include <utility>

namespace pixmor {

template <class R, class Body>
R Guarded(R failure, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return failure;
  }
}

}  // namespace pixmor
