#include "session/password_digest.h"

#include <gtest/gtest.h>

TEST(PasswordDigest, OneWaySameEveryTimeAndWithinTheColumn) {
    const QString digest = session::makePasswordDigest("secret1");
    EXPECT_EQ(digest, session::makePasswordDigest("secret1"));
    EXPECT_NE(digest, session::makePasswordDigest("secret2"));
    EXPECT_NE(session::makePasswordDigest("密码"), session::makePasswordDigest("密 码"));
    EXPECT_FALSE(digest.contains("secret1"));
    EXPECT_EQ(digest.size(), 64);
    EXPECT_EQ(session::makePasswordDigest("").size(), 64);
}
