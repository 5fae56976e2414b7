// Our declarations of the platform against the cross toolchain's headers.
#include <gtest/gtest.h>

#include "uLayoutFacts.h"

TEST(PlatformLayouts, MatchTheToolchainHeaders) {
  const std::vector<TLayoutFact> ours = OurLayouts();
  const std::vector<TLayoutFact> sdk = SdkLayouts();
  ASSERT_EQ(ours.size(), sdk.size());
  for (std::size_t i = 0; i < ours.size(); ++i) {
    EXPECT_EQ(ours[i].Value, sdk[i].Value) << ours[i].Name;
  }
}
