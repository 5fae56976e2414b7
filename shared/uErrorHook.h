// The one-time replacement, at library start, of the C++ run-time's routine
// for an error that escaped every handler (the terminate handler).
//
// Every entry point catches all errors itself, so the routine runs only when
// the run-time gives up (an exception thrown through a noexcept boundary, for
// example). A terminate handler may not return to the run-time, so
// SilentErrorHook puts the saved routine back, for whoever runs after, and
// then ends the process at once without a report: the drivers never show,
// log or forward anything.
#pragma once

#include <cstdlib>
#include <exception>

namespace pixmor {

inline bool HookInstalled = false;
inline std::terminate_handler SavedErrorHook = nullptr;

[[noreturn]] inline void SilentErrorHook() {
  std::set_terminate(SavedErrorHook);
  std::_Exit(3);
}

// Called from the library's process attach, after the run-time's own start.
inline void InstallSilentErrorHook() {
  if (HookInstalled) return;
  HookInstalled = true;
  SavedErrorHook = std::set_terminate(SilentErrorHook);
}

// Called from the library's process detach. Where the run-time is shared
// with the process (the Linux build), a routine left behind in unloaded code
// would be called later; the saved one goes back unless another has been
// installed since.
inline void RemoveSilentErrorHook() {
  if (HookInstalled && std::get_terminate() == SilentErrorHook) std::set_terminate(SavedErrorHook);
}

}  // namespace pixmor
