#include "core/text.h"

#include <gtest/gtest.h>

namespace {

TEST(Gbk, ConvertsBothWaysAndNamesTheCharacterItCannotHold) {
    const auto bytes = core::toGbk(QStringLiteral("n.书"));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, QByteArray("n.\xCA\xE9"));
    EXPECT_EQ(core::fromGbk(*bytes), QStringLiteral("n.书"));

    int bad = -1;
    EXPECT_FALSE(core::toGbk(QStringLiteral("ab\U0001F600c"), &bad));
    EXPECT_EQ(bad, 2);
    EXPECT_FALSE(core::fromGbk(QByteArray("\xCA")));
    EXPECT_EQ(core::byteLength(QStringLiteral("书ab")), 6);
}

}  // namespace
