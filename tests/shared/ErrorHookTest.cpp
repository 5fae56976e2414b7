// The library-start replacement of the run-time's routine for errors that
// escaped every handler.
#include <gtest/gtest.h>

#include "uErrorHook.h"

namespace {

void PreviousRoutine() { std::_Exit(9); }

TEST(SilentErrorHook, InstalledOnceAndEndsTheProcessQuietlyWithTheSavedRoutineBack) {
  EXPECT_EXIT(
      {
        std::set_terminate(PreviousRoutine);
        pixmor::InstallSilentErrorHook();
        pixmor::InstallSilentErrorHook();  // a second start changes nothing
        if (pixmor::SavedErrorHook != PreviousRoutine) std::_Exit(1);
        if (std::get_terminate() != pixmor::SilentErrorHook) std::_Exit(2);
        std::terminate();
      },
      testing::ExitedWithCode(3), "^$");
}

TEST(SilentErrorHook, GivesTheSavedRoutineBackAtUnload) {
  EXPECT_EXIT(
      {
        std::set_terminate(PreviousRoutine);
        pixmor::InstallSilentErrorHook();
        pixmor::RemoveSilentErrorHook();
        std::terminate();  // reaches the saved routine again
      },
      testing::ExitedWithCode(9), "");
}

}  // namespace
