#include "app/password_digest.h"

#include <gtest/gtest.h>

TEST(PasswordDigest, OneWaySameEveryTimeAndWithinTheColumn) {
    const QString digest = app::makePasswordDigest("secret1");
    EXPECT_EQ(digest, app::makePasswordDigest("secret1"));
    EXPECT_NE(digest, app::makePasswordDigest("secret2"));
    EXPECT_NE(app::makePasswordDigest("密码"), app::makePasswordDigest("密 码"));
    EXPECT_FALSE(digest.contains("secret1"));
    EXPECT_EQ(digest.size(), 64);
    EXPECT_EQ(app::makePasswordDigest("").size(), 64);
}
