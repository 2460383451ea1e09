#include "core/real_services.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(MixingRandom, StaysInRangeAndReseedsWithinOneTickStillDiffer) {
    core::MixingRandom random;
    std::set<double> seen;
    for (int i = 0; i < 1000; ++i) {
        random.reseed(3600.0);  // the same second every time
        const double r = random.next();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        seen.insert(r);
    }
    EXPECT_EQ(seen.size(), 1000u);
}

TEST(MixingRandom, DrawsSpreadOverEveryPosition) {
    core::MixingRandom random;
    int counts[6] = {};
    for (int i = 0; i < 6000; ++i) {
        random.reseed(i / 100);
        ++counts[static_cast<int>(random.next() * 6)];
    }
    for (int c : counts) {
        EXPECT_GT(c, 800);
        EXPECT_LT(c, 1200);
    }
}

}  // namespace
