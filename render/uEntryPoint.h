// The error convention every entry point of the rendering driver follows:
// the result is preset to the failure value, every C++ exception raised in
// the body is caught here and ends the call with that result, and the
// thread's last error stays as the failing code left it. A body that
// succeeds sets ERROR_SUCCESS itself, since some entry points must not.
#pragma once

#include <utility>

#include "uWinBase.h"

namespace pixmor {

// Raised inside an entry point to end it with its failure value. It keeps
// the last error as it stood when the failure was found, because unwinding
// may go through platform code that changes it.
struct TEntryFailure {
  DWORD LastError = GetLastError();
};

template <class R, class Body>
R RunEntryPoint(R failure, Body&& body) noexcept {
  R result = failure;
  try {
    result = std::forward<Body>(body)();
  } catch (const TEntryFailure& failed) {
    SetLastError(failed.LastError);
  } catch (...) {
    // Swallowed: no error ever crosses into the platform.
  }
  return result;
}

template <class Body>
void RunEntryPoint(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (const TEntryFailure& failed) {
    SetLastError(failed.LastError);
  } catch (...) {
  }
}

}  // namespace pixmor
