#include "combinatorics/random.hpp"

#include <gtest/gtest.h>

namespace zestawy {
namespace {

TEST(Random, RepeatsTheClassicSequenceFromStateOne) {
    const std::uint32_t saved = randomState();
    setRandomState(1);
    EXPECT_EQ(rand(), 41);
    EXPECT_EQ(rand(), 18467);
    EXPECT_EQ(rand(), 6334);
    EXPECT_EQ(rand(), 26500);
    EXPECT_EQ(rand(), 19169);
    setRandomState(saved);
}

}  // namespace
}  // namespace zestawy
