#include "drill/answer_rules.h"
#include "tests/support/case_names.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using namespace drill;

TEST(MissedUse, FortyPercentRoundedDown) {
    EXPECT_EQ(missedUse(100), 40);
    EXPECT_EQ(missedUse(40), 16);
    EXPECT_EQ(missedUse(31), 12);
    EXPECT_EQ(missedUse(1), 0);
    EXPECT_EQ(missedUse(0), 0);
}

struct PauseCase {
    std::int64_t start;
    std::int64_t now;
    bool over;
};

class AnswerPause : public ::testing::TestWithParam<PauseCase> {};

TEST_P(AnswerPause, LastsOneSecondAlsoAcrossTheCountersWrapAround) {
    EXPECT_EQ(pauseOver(GetParam().start, GetParam().now), GetParam().over);
}

constexpr std::int64_t k32 = std::int64_t{1} << 32;

INSTANTIATE_TEST_SUITE_P(
    Cases, AnswerPause,
    ::testing::Values(PauseCase{1000, 1999, false}, PauseCase{1000, 2000, true},
                      // Unsigned 32-bit counter passing 2^32 back to 0.
                      PauseCase{k32 - 400, 600, true}, PauseCase{k32 - 400, 599, false},
                      // Signed counter changing sign.
                      PauseCase{0x7FFFFF00, -0x80000000LL + 744, true},
                      PauseCase{0x7FFFFF00, -0x80000000LL + 743, false},
                      PauseCase{-300, 699, false}, PauseCase{-300, 700, true},
                      // A clock that does not wrap at all.
                      PauseCase{k32 - 400, k32 + 600, true},
                      PauseCase{k32 - 400, k32 + 599, false}),
    [](const auto& info) {
        return testing_support::caseName("from", info.param.start, "to", info.param.now);
    });

}  // namespace
