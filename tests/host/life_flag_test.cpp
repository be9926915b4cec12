// The liveness flag: its tokens read false once the owner ends or goes.
#include <gtest/gtest.h>

#include <optional>

#include "platform/core/LifeFlag.h"

using namespace qv;

TEST(LifeFlag, TokensReadFalseOnceTheOwnerEndsOrGoes) {
  std::optional<TLifeFlag> flag(std::in_place);
  const TLifeToken before = flag->Token();
  EXPECT_TRUE(before);
  flag->End();
  EXPECT_FALSE(before);
  EXPECT_FALSE(flag->Token());

  flag.emplace();
  const TLifeToken held = flag->Token();
  EXPECT_TRUE(held);
  flag.reset();  // the token outlives the flag it came from
  EXPECT_FALSE(held);
}
