#include "runtime/generator.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace imgcrypt {
namespace {

class GeneratorTest : public ::testing::Test {
  protected:
    void SetUp() override { SetGeneratorState(0); }
};

TEST_F(GeneratorTest, FirstTwelveDrawsMatchEveryExistingContainer) {
    const std::vector<int> expected = {33, 35, 113, 51, 58, 95, 62, 48, 67, 72, 40, 77};
    std::vector<int> drawn;
    for (int i = 0; i < 12; ++i) drawn.push_back(RandomBetween(33, 126));
    EXPECT_EQ(drawn, expected);
}

TEST_F(GeneratorTest, FirstStepMovesStateToOneThenFollowsTheMultiplier) {
    RandomBelow(10);
    EXPECT_EQ(GeneratorState(), 1u);
    RandomBelow(10);
    EXPECT_EQ(GeneratorState(), 134775814u);
    SetGeneratorState(0xFFFFFFFFu);
    RandomBelow(1);
    EXPECT_EQ(GeneratorState(), static_cast<std::uint32_t>(0xFFFFFFFFu * 134775813u + 1u));
}

TEST_F(GeneratorTest, ReversedBoundsGiveTheSameValues) {
    std::vector<int> forward;
    std::vector<int> reversed;
    for (int i = 0; i < 200; ++i) forward.push_back(RandomBetween(33, 126));
    SetGeneratorState(0);
    for (int i = 0; i < 200; ++i) reversed.push_back(RandomBetween(126, 33));
    EXPECT_EQ(forward, reversed);
}

TEST_F(GeneratorTest, ResultsStayInRangeWithTheLargerBoundExcluded) {
    bool sawLowest = false;
    for (int i = 0; i < 5000; ++i) {
        const int value = RandomBetween(33, 126);
        ASSERT_GE(value, 33);
        ASSERT_LE(value, 125);
        sawLowest = sawLowest || value == 33;
        ASSERT_LT(RandomBelow(7), 7u);
    }
    EXPECT_TRUE(sawLowest);
}

TEST_F(GeneratorTest, EmptyRangesStillMakeOneStep) {
    EXPECT_EQ(RandomBelow(0), 0u);
    EXPECT_EQ(GeneratorState(), 1u);
    EXPECT_EQ(RandomBetween(5, 5), 5);
    EXPECT_EQ(GeneratorState(), 134775814u);
}

TEST_F(GeneratorTest, ExtremeBoundsDoNotOverflow) {
    SetGeneratorState(0xFFFFFFF0u);
    for (int i = 0; i < 100; ++i) {
        const int value = RandomBetween(INT_MIN, INT_MAX);
        ASSERT_LT(value, INT_MAX);
        const int negative = RandomBetween(-10, -20);
        ASSERT_GE(negative, -20);
        ASSERT_LT(negative, -10);
    }
}

}  // namespace
}  // namespace imgcrypt
