// Every test program on the substitute platform ends with no LocalAlloc
// block still live that was not live when it started.
#include <gtest/gtest.h>

#include "uPlatformTesting.h"

namespace {

struct TNoLiveBlocks : testing::Environment {
  long AtStart = 0;
  void SetUp() override { AtStart = PlatformLiveLocalBlocks(); }
  void TearDown() override {
    EXPECT_EQ(PlatformLiveLocalBlocks(), AtStart) << "LocalAlloc blocks left live";
  }
};

const testing::Environment* const Registered = testing::AddGlobalTestEnvironment(new TNoLiveBlocks);

}  // namespace
